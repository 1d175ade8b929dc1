#include "pedal/ControlCommands.h"

#include <charconv>
#include <vector>

#include "pedal/VirtualPedal.h"

namespace kr7::pedal {

namespace {

constexpr std::string_view kHelp =
    "knob <index> <value>   turn a knob (0..64 preset, 80..90 settings, 91..106 controller map)\n"
    "preset <slot>          step to preset slot 0..127\n"
    "next | prev            step one slot up / down\n"
    "drop <n>               do not send the next n replies\n"
    "corrupt                send the next checksum wrong\n"
    "failwrites <k>         answer WriteFailAck to the next k stream messages\n"
    "version <v>            report version byte v (version x 10)\n"
    "hostile <name> | all   send hostile messages (hostile list: the names)\n"
    "status                 active slot, version, pending faults\n"
    "trace on | off         the MIDI monitor\n"
    "save                   write the state folder now\n"
    "help                   this list\n"
    "quit                   stop the pedal\n";

constexpr int kMaxDataByte = 127;

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t begin = line.find_first_not_of(" \t\r\n", pos);
    if (begin == std::string_view::npos) {
      break;
    }
    const std::size_t end = std::min(line.find_first_of(" \t\r\n", begin), line.size());
    words.push_back(line.substr(begin, end - begin));
    pos = end;
  }
  return words;
}

std::optional<int> Number(std::string_view word, int lo, int hi) {
  int value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || value < lo || value > hi) {
    return std::nullopt;
  }
  return value;
}

ParsedCommand Ok(Command command) { return {std::move(command), {}}; }
ParsedCommand Error(std::string text) { return {std::nullopt, std::move(text)}; }

using Words_t = std::vector<std::string_view>;

// Commands of the form "<verb> <number>", with the number's bounds.
template <class Made>
ParsedCommand OneNumber(const Words_t& words, int lo, int hi, Made make) {
  if (words.size() != 2) {
    return Error(std::string(words[0]) + " takes one number");
  }
  const std::optional<int> value = Number(words[1], lo, hi);
  if (!value) {
    return Error(std::string(words[0]) + ": " + std::string(words[1]) + " is not a number in " +
                 std::to_string(lo) + ".." + std::to_string(hi));
  }
  return Ok(make(*value));
}

ParsedCommand NoArguments(const Words_t& words, Command command) {
  if (words.size() != 1) {
    return Error(std::string(words[0]) + " takes no arguments");
  }
  return Ok(std::move(command));
}

ParsedCommand ParseKnob(const Words_t& words) {
  if (words.size() != 3) {
    return Error("knob takes an index and a value");
  }
  const std::optional<int> index = Number(words[1], 0, kLastParam);
  const std::optional<int> value = Number(words[2], 0, kMaxDataByte);
  if (!index || !value) {
    return Error("knob: index 0..138 and value 0..127 expected");
  }
  return Ok(command::Knob{*index, *value});
}

ParsedCommand ParseHostile(const Words_t& words) {
  if (words.size() != 2) {
    return Error("hostile takes a name, all or list");
  }
  if (words[1] == "list") {
    return Ok(command::HostileList{});
  }
  if (words[1] == "all") {
    return Ok(command::Hostile{std::nullopt});
  }
  const std::optional<HostileKind> kind = HostileKindByName(words[1]);
  if (!kind) {
    return Error("hostile: unknown kind " + std::string(words[1]) + " (hostile list)");
  }
  return Ok(command::Hostile{kind});
}

ParsedCommand ParseTrace(const Words_t& words) {
  if (words.size() == 2 && (words[1] == "on" || words[1] == "off")) {
    return Ok(command::Trace{words[1] == "on"});
  }
  return Error("trace takes on or off");
}

std::string HostileListText() {
  std::string text;
  for (const HostileInfo& info : HostileKinds()) {
    text += std::string(info.name) + "  " + std::string(info.description) + "\n";
  }
  return text;
}

}  // namespace

ParsedCommand ParseCommand(std::string_view line) {
  const Words_t words = Words(line);
  if (words.empty() || words[0].front() == '#') {
    return Ok(command::Empty{});
  }
  const std::string_view verb = words[0];
  if (verb == "knob") return ParseKnob(words);
  if (verb == "preset") {
    return OneNumber(words, 0, kNumSlots - 1, [](int v) { return command::Preset{v}; });
  }
  if (verb == "next") return NoArguments(words, command::Step{1});
  if (verb == "prev") return NoArguments(words, command::Step{-1});
  if (verb == "drop") {
    return OneNumber(words, 0, 1 << 20, [](int v) { return command::Drop{v}; });
  }
  if (verb == "corrupt") return NoArguments(words, command::Corrupt{});
  if (verb == "failwrites") {
    return OneNumber(words, 0, 1 << 20, [](int v) { return command::FailWrites{v}; });
  }
  if (verb == "version") {
    return OneNumber(words, 0, kMaxDataByte, [](int v) { return command::Version{v}; });
  }
  if (verb == "hostile") return ParseHostile(words);
  if (verb == "status") return NoArguments(words, command::Status{});
  if (verb == "trace") return ParseTrace(words);
  if (verb == "save") return NoArguments(words, command::Save{});
  if (verb == "help") return NoArguments(words, command::Help{});
  if (verb == "quit" || verb == "exit") return NoArguments(words, command::Quit{});
  return Error("unknown command " + std::string(verb) + " (help lists them)");
}

std::string_view ControlHelpText() { return kHelp; }

std::string ControlSession::Run(std::string_view line) {
  const ParsedCommand parsed = ParseCommand(line);
  if (!parsed.command) {
    return "error: " + parsed.error;
  }
  return Execute(*parsed.command);
}

std::string ControlSession::Execute(const Command& command) {
  struct Runner {
    ControlSession& session;
    VirtualPedal& pedal;

    std::string operator()(const command::Knob& c) const {
      return pedal.TurnKnob(c.index, c.value)
                 ? std::string()
                 : "error: parameter " + std::to_string(c.index) + " is not at the pedal";
    }
    std::string operator()(const command::Preset& c) const {
      pedal.StepToPreset(c.slot);
      return {};
    }
    std::string operator()(const command::Step& c) const {
      pedal.StepBy(c.delta);
      return {};
    }
    std::string operator()(const command::Drop& c) const {
      pedal.DropNextReplies(c.count);
      return {};
    }
    std::string operator()(const command::Corrupt&) const {
      pedal.CorruptNextChecksum();
      return {};
    }
    std::string operator()(const command::FailWrites& c) const {
      pedal.FailNextWrites(c.count);
      return {};
    }
    std::string operator()(const command::Version& c) const {
      pedal.SetVersion(static_cast<std::uint8_t>(c.value));
      return {};
    }
    std::string operator()(const command::Hostile& c) const {
      if (c.kind) {
        pedal.SendHostile(*c.kind);
      } else {
        for (const HostileInfo& info : HostileKinds()) {
          pedal.SendHostile(info.kind);
        }
      }
      return {};
    }
    std::string operator()(const command::HostileList&) const { return HostileListText(); }
    std::string operator()(const command::Status&) const {
      const PedalState state = pedal.Snapshot();
      const FaultCounts faults = pedal.PendingFaults();
      return "active slot " + std::to_string(state.activeSlot) + ", version " +
             std::to_string(state.version) + ", serial " + state.serial +
             (pedal.InBulk() ? ", in bulk" : "") + "; pending: drop " +
             std::to_string(faults.drops) + ", corrupt " + (faults.corruptChecksum ? "yes" : "no") +
             ", failwrites " + std::to_string(faults.writeFailures) + "; ignored messages " +
             std::to_string(pedal.IgnoredCount());
    }
    std::string operator()(const command::Trace& c) const {
      if (!session.mTraceHook) {
        return "error: no trace here";
      }
      session.mTraceHook(c.on);
      return {};
    }
    std::string operator()(const command::Save&) const {
      if (!session.mSaveHook) {
        return "error: no state folder (start with --state DIR)";
      }
      return session.mSaveHook() ? "saved" : "error: the state folder could not be written";
    }
    std::string operator()(const command::Help&) const { return std::string(kHelp); }
    std::string operator()(const command::Quit&) const {
      session.mQuit = true;
      return {};
    }
    std::string operator()(const command::Empty&) const { return {}; }
  };
  return std::visit(Runner{*this, mPedal}, command);
}

}  // namespace kr7::pedal
