#pragma once
// The pedal's control interface: one command per line, read from the
// program's standard input (or fed by a test), to act as a person at the
// pedal would or to inject faults.
//
//   knob <index> <value>   turn a knob: parameter index 0..64 (edit buffer),
//                          80..90 (settings) or 91..106 (controller map);
//                          the editor hears a ParameterReport
//   preset <slot>          step to preset slot 0..127 (the editor hears its dump)
//   next | prev            step one slot up / down, wrapping around
//   drop <n>               do not send the next n replies
//   corrupt                send the next checksum wrong
//   failwrites <k>         answer WriteFailAck to the next k stream messages
//   version <v>            report version byte v (version × 10, 0..127)
//   hostile <name> | all   send hostile messages; "hostile list" names them
//   status                 show the active slot, version and pending faults
//   trace on | off         the MIDI monitor
//   save                   write the state folder now
//   help                   this list
//   quit                   stop the program
//
// Words are separated by blanks; numbers are decimal. Parsing is apart from
// running, so both are tested without a pedal or a terminal.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "pedal/HostileMessages.h"

namespace kr7::pedal {

class VirtualPedal;

namespace command {
struct Knob {
  int index;
  int value;
};
struct Preset {
  int slot;
};
struct Step {
  int delta;
};
struct Drop {
  int count;
};
struct Corrupt {};
struct FailWrites {
  int count;
};
struct Version {
  int value;
};
struct Hostile {
  std::optional<HostileKind> kind;
};  // nullopt: all kinds
struct HostileList {};
struct Status {};
struct Trace {
  bool on;
};
struct Save {};
struct Help {};
struct Quit {};
struct Empty {};  // a blank line
}  // namespace command

using Command =
    std::variant<command::Knob, command::Preset, command::Step, command::Drop, command::Corrupt,
                 command::FailWrites, command::Version, command::Hostile, command::HostileList,
                 command::Status, command::Trace, command::Save, command::Help, command::Quit,
                 command::Empty>;

struct ParsedCommand {
  std::optional<Command> command;  // nullopt: error holds why
  std::string error;
};

ParsedCommand ParseCommand(std::string_view line);

std::string_view ControlHelpText();

// Runs commands against one pedal. Trace and save are the program's; either
// hook may be left empty (the command then says it is not available).
class ControlSession {
 public:
  explicit ControlSession(VirtualPedal& pedal) : mPedal(pedal) {}

  void SetTraceHook(std::function<void(bool)> hook) { mTraceHook = std::move(hook); }
  void SetSaveHook(std::function<bool()> hook) { mSaveHook = std::move(hook); }

  // Parses and runs one line; returns the text to show (possibly empty).
  std::string Run(std::string_view line);
  bool QuitRequested() const { return mQuit; }

 private:
  std::string Execute(const Command& command);

  VirtualPedal& mPedal;
  std::function<void(bool)> mTraceHook;
  std::function<bool()> mSaveHook;
  bool mQuit = false;
};

}  // namespace kr7::pedal
