#include "pedal/jack/ProgramOptions.h"

#include <charconv>

#include "device/Packing.h"
#include "pedal/jack/JackMidiEndpoint.h"

namespace kr7::pedal {

namespace {

constexpr std::string_view kUsage =
    "usage: kr7-virtual-pedal [options]\n"
    "  --state DIR        keep the pedal's state in DIR\n"
    "  --bank FILE        factory bank (34176 bytes of FactoryPresetWrite messages)\n"
    "  --serial TEXT      serial number reported in the identity block\n"
    "  --version N        version byte reported (version x 10, 0..127; default 12)\n"
    "  --name NAME        JACK client name (default kr7-virtual-pedal)\n"
    "  --server NAME      JACK server name (default: the default server)\n"
    "  --connect-editor   connect to the editor's RtMidi JACK ports as they appear\n"
    "  --trace            print every message in both directions\n"
    "  --help             this text\n"
    "Commands are read from standard input; type help.\n";

constexpr int kMaxVersion = 127;

}  // namespace

std::string_view ProgramUsage() { return kUsage; }

ParsedOptions ParseProgramOptions(std::span<const std::string_view> args) {
  ProgramOptions options;
  options.clientName = std::string(kDefaultClientName);
  auto error = [](std::string text) { return ParsedOptions{std::nullopt, std::move(text)}; };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--trace") {
      options.trace = true;
    } else if (arg == "--connect-editor") {
      options.connectEditor = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--state" || arg == "--bank" || arg == "--serial" || arg == "--version" ||
               arg == "--name" || arg == "--server") {
      if (!hasValue || args[i + 1].empty()) {
        return error(std::string(arg) + " needs a value");
      }
      const std::string_view value = args[++i];
      if (arg == "--state") {
        options.stateFolder = value;
      } else if (arg == "--bank") {
        options.bankFile = value;
      } else if (arg == "--serial") {
        if (value.size() > kTextFieldSize) {
          return error("--serial takes at most 32 characters");
        }
        options.serial = std::string(value);
      } else if (arg == "--version") {
        int number = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (ec != std::errc() || end != value.data() + value.size() || number < 0 ||
            number > kMaxVersion) {
          return error("--version takes a number 0..127");
        }
        options.version = number;
      } else if (arg == "--name") {
        options.clientName = value;
      } else {
        options.serverName = value;
      }
    } else {
      return error("unknown option " + std::string(arg));
    }
  }
  return {options, {}};
}

}  // namespace kr7::pedal
