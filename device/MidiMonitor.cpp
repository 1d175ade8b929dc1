#include "device/MidiMonitor.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace kr7 {
namespace {

constexpr std::string_view kLogTitle = "# KR7Control MIDI monitor";
constexpr std::string_view kDroppedPrefix = "# dropped ";
constexpr std::string_view kIn = "IN";
constexpr std::string_view kOut = "OUT";
constexpr char kSeparator = '\t';
constexpr int kMillisecondDigits = 3;

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

std::string Join(std::initializer_list<std::string> parts) {
  std::string text;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!text.empty()) text += ", ";
    text += part;
  }
  return text;
}

std::string Number(std::string_view label, unsigned value) {
  return std::string(label) + " " + std::to_string(value);
}

std::string Checksum(bool ok) { return ok ? "checksum ok" : "checksum wrong"; }

// Texts from the pedal go into a tab-separated line: anything that could cut
// the line or fool a reader becomes '?'.
std::string Printable(std::string text) {
  std::replace_if(text.begin(), text.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
  return text;
}

std::string_view BlockKind(std::uint8_t type) {
  switch (type) {
    case kGlobalSettings:
      return "settings";
    case kGlobalControllerMap:
      return "controller map";
    case kGlobalProgramMap:
      return "program map";
    case kGlobalPresetChecksums:
      return "preset checksums";
    case kGlobalIdentity:
      return "identity";
    default:
      return "unknown";
  }
}

std::string_view DropText(DropReason reason) {
  switch (reason) {
    case DropReason::TooShort:
      return "dropped: too short";
    case DropReason::ForeignHeader:
      return "dropped: foreign header";
    case DropReason::NotConnected:
      return "dropped: not connected";
    case DropReason::UnknownCommand:
      return "dropped: unknown command";
    case DropReason::WrongLength:
      return "dropped: wrong length";
    case DropReason::FormatByte:
      return "dropped: format byte";
  }
  return "dropped";
}

std::string BlockFields(const GlobalBlock& block) {
  std::string kind = Number("type", block.type) + " " + std::string(BlockKind(block.type));
  std::string detail;
  if (block.type == kGlobalIdentity) {
    char version[32];
    std::snprintf(version, sizeof version, "version %.1f", block.formatByte / 10.0);
    detail = std::string(version) + ", serial " + Printable(block.TextAt(kIdentitySerialByte));
  } else if (block.type == kGlobalSettings) {
    detail = Number("active slot", block.At(kSettingsActiveSlotByte));
  }
  return Join({kind, detail, Checksum(block.checksumOk)});
}

std::string IrPartFields(const IrDumpPart& part) {
  const std::string packed = Number("packed bytes", static_cast<unsigned>(part.packed.size()));
  switch (part.kind) {
    case IrPartKind::Begin:
      return Join({Number("slot", part.slot), Number("length", part.totalLength), packed});
    case IrPartKind::Data:
      return packed;
    case IrPartKind::End:
      return Join({packed, Number("stream checksum", part.streamChecksum)});
  }
  return packed;
}

std::string SlotBlock(const SlotBlockFields& f) {
  return Join({Number("slot", f.slot), Checksum(f.checksumOk)});
}

std::string IncomingFields(const PedalMessage& message) {
  return std::visit(
      Overloaded{
          [](const Dropped& d) { return std::string(DropText(d.reason)); },
          [](const PresetDump& d) {
            return Join({Number("slot", d.slot), Checksum(d.checksumOk)});
          },
          [](const GlobalBlock& b) { return BlockFields(b); },
          [](const IrNames& n) { return Join({Number("page", n.page), Checksum(n.checksumOk)}); },
          [](const NameReport& n) { return "name \"" + Printable(n.Text()) + "\""; },
          [](const ParameterReport& r) {
            return Join({Number("parameter", r.index), Number("value", r.value)});
          },
          [](const IrDumpPart& p) { return IrPartFields(p); },
          [](const ShortReply& r) { return Number("code", r.raw); },
          [](const LoaderReply& r) { return Number("code", r.raw); },
      },
      message);
}

std::string OutgoingFields(const EditorMessage& message) {
  return std::visit(
      Overloaded{
          [](const Dropped& d) { return std::string(DropText(d.reason)); },
          [](const PresetStore& s) { return SlotBlock(s); },
          [](const FactoryPresetWrite& s) { return SlotBlock(s); },
          [](const ImportPresetWrite& s) { return SlotBlock(s); },
          [](const PresetSelect& s) { return Number("slot", s.slot); },
          [](const PresetRequest& r) { return Number("slot", r.slot); },
          [](const ParameterSet& p) {
            return Join({Number("device parameter", p.deviceNumber), Number("value", p.value)});
          },
          [](const GlobalBlock& b) { return BlockFields(b); },
          [](const GlobalRequest& r) {
            return Number("type", r.type) + " " + std::string(BlockKind(r.type));
          },
          [](const FactoryReset& r) { return Number("scope", r.scope); },
          [](const BulkBegin&) { return std::string(); },
          [](const BulkEnd&) { return std::string(); },
          [](const EditorClosed&) { return std::string(); },
          [](const IrDumpPart& p) { return IrPartFields(p); },
          [](const IrRequest& r) { return Number("slot", r.slot); },
          [](const IrNamesRequest& r) { return Number("page", r.page); },
          [](const FirmwareStart&) { return std::string(); },
          [](const FirmwareFirst& f) { return Number("length", f.totalLength); },
          [](const FirmwareData& d) {
            return Number("bytes", static_cast<unsigned>(d.fields.size()));
          },
      },
      message);
}

template <class Int>
bool ParseNumber(std::string_view text, Int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::optional<std::int64_t> ParseMilliseconds(std::string_view text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos || text.size() - dot - 1 != kMillisecondDigits) {
    return std::nullopt;
  }
  // Unsigned readings: a sign is no part of a time the monitor writes.
  std::uint64_t seconds = 0;
  std::uint32_t fraction = 0;
  if (!ParseNumber(text.substr(0, dot), seconds) || !ParseNumber(text.substr(dot + 1), fraction) ||
      seconds > static_cast<std::uint64_t>(INT64_MAX / 1000 - 1)) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(seconds) * 1000 + fraction;
}

std::optional<MonitorEntry> ParseEntry(std::string_view line) {
  std::array<std::string_view, 5> parts;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    const std::size_t tab = line.find(kSeparator);
    if (tab == std::string_view::npos) return std::nullopt;
    parts[i] = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  parts.back() = line;
  if (line.find(kSeparator) != std::string_view::npos) return std::nullopt;
  MonitorEntry entry;
  const std::optional<std::int64_t> milliseconds = ParseMilliseconds(parts[0]);
  if (!milliseconds || (parts[1] != kIn && parts[1] != kOut) ||
      !ParseNumber(parts[2], entry.length) || parts[3].empty()) {
    return std::nullopt;
  }
  entry.milliseconds = *milliseconds;
  entry.direction = parts[1] == kIn ? MonitorDirection::In : MonitorDirection::Out;
  entry.name = std::string(parts[3]);
  entry.fields = std::string(parts[4]);
  return entry;
}

}  // namespace

MonitorEntry DescribeMessage(MonitorDirection direction, ByteSpan message,
                             const RecognitionContext& context) {
  MonitorEntry entry;
  entry.direction = direction;
  entry.length = message.size();
  entry.name = std::string(MessageName(message));
  entry.fields = direction == MonitorDirection::In
                     ? IncomingFields(Recognise(message, context))
                     : OutgoingFields(RecogniseFromEditor(message));
  return entry;
}

std::string FormatMonitorTime(std::int64_t milliseconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(milliseconds / 1000),
                static_cast<long long>(milliseconds % 1000));
  return text;
}

std::string FormatMonitorLog(const MonitorLog& log) {
  std::string text = std::string(kLogTitle) + "\n" + std::string(kDroppedPrefix) +
                     std::to_string(log.dropped) + "\n";
  for (const MonitorEntry& e : log.entries) {
    text += FormatMonitorTime(e.milliseconds) + kSeparator +
            std::string(e.direction == MonitorDirection::In ? kIn : kOut) + kSeparator +
            std::to_string(e.length) + kSeparator + e.name + kSeparator + e.fields + "\n";
  }
  return text;
}

std::optional<MonitorLog> ParseMonitorLog(std::string_view text) {
  MonitorLog log;
  bool titled = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!titled) {
      if (line != kLogTitle) return std::nullopt;
      titled = true;
    } else if (line.starts_with(kDroppedPrefix)) {
      if (!ParseNumber(line.substr(kDroppedPrefix.size()), log.dropped)) return std::nullopt;
    } else if (std::optional<MonitorEntry> entry = ParseEntry(line)) {
      log.entries.push_back(std::move(*entry));
    } else {
      return std::nullopt;
    }
  }
  if (!titled) return std::nullopt;
  return log;
}

MidiMonitor::MidiMonitor() : mRing(std::make_unique<MpscRing<Captured, kMonitorRingCapacity>>()) {}

void MidiMonitor::SetEnabled(bool enabled) {
  if (enabled && !Enabled()) {
    // Whatever waited from an earlier session is timed against the old start.
    while (mRing->Pop([](const Captured&) {})) {
    }
    mStart.store(std::chrono::steady_clock::now().time_since_epoch().count());
    mDropped.store(0);
  }
  mEnabled.store(enabled, std::memory_order_relaxed);
}

void MidiMonitor::Record(MonitorDirection direction, ByteSpan message,
                         const RecognitionContext& context) {
  if (!Enabled()) return;
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto elapsed = std::chrono::steady_clock::duration(now - mStart.load());
  const bool pushed = mRing->Push([&](Captured& captured) {
    captured.milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    captured.direction = direction;
    captured.context = context;
    captured.length = message.size();
    std::copy_n(message.begin(), std::min(message.size(), kMonitorMaxMessage),
                captured.bytes.begin());
  });
  if (!pushed) mDropped.fetch_add(1, std::memory_order_relaxed);
}

std::vector<MonitorEntry> MidiMonitor::Drain() {
  std::vector<MonitorEntry> entries;
  while (mRing->Pop([&entries](const Captured& captured) {
    const ByteSpan kept(captured.bytes.data(), std::min(captured.length, kMonitorMaxMessage));
    MonitorEntry entry = DescribeMessage(captured.direction, kept, captured.context);
    entry.milliseconds = captured.milliseconds;
    entry.length = captured.length;
    entries.push_back(std::move(entry));
  })) {
  }
  return entries;
}

}  // namespace kr7
