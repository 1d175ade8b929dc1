#pragma once
// Command line of kr7-virtual-pedal.
//
//   --state DIR        keep the pedal's state in DIR (created when missing);
//                      without it the state lives in memory only
//   --bank FILE        factory bank to start from: 34176 bytes of 128
//                      FactoryPresetWrite messages (a state folder that
//                      already holds presets wins over it)
//   --serial TEXT      serial number of the identity block (32 characters at most)
//   --version N        version byte of the identity block (version × 10, 0..127)
//   --name NAME        JACK client name (default kr7-virtual-pedal)
//   --server NAME      JACK server to join (default: the default server)
//   --connect-editor   keep connecting to the editor's RtMidi JACK ports
//   --trace            MIDI monitor on standard output from the start
//   --help             usage

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kr7::pedal {

struct ProgramOptions {
  std::string stateFolder;
  std::string bankFile;
  std::optional<std::string> serial;
  std::optional<int> version;
  std::string clientName;
  std::string serverName;
  bool connectEditor = false;
  bool trace = false;
  bool help = false;
};

struct ParsedOptions {
  std::optional<ProgramOptions> options;  // nullopt: error says why
  std::string error;
};

// args excludes the program name.
ParsedOptions ParseProgramOptions(std::span<const std::string_view> args);
std::string_view ProgramUsage();

}  // namespace kr7::pedal
