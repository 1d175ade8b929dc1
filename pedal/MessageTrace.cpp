#include "pedal/MessageTrace.h"

#include "device/Messages.h"

namespace kr7::pedal {

namespace {

std::string_view DirectionTag(TraceDirection direction) {
  switch (direction) {
    case TraceDirection::FromEditor:
      return "IN  ";
    case TraceDirection::ToEditor:
      return "OUT ";
    case TraceDirection::DroppedByFault:
      return "DROP";
  }
  return "?   ";
}

void AppendHex(std::string& line, std::uint8_t byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  line += ' ';
  line += kDigits[byte >> 4];
  line += kDigits[byte & 0x0F];
}

}  // namespace

std::string FormatTraceLine(TraceDirection direction, ByteSpan message) {
  char head[64];
  const std::string name(MessageName(message));
  std::snprintf(head, sizeof head, "%s %-20s %4zu ", DirectionTag(direction).data(), name.c_str(),
                message.size());
  std::string line = head;
  const bool shorten = message.size() > kTraceHeadBytes + kTraceTailBytes;
  const std::size_t headCount = shorten ? kTraceHeadBytes : message.size();
  for (std::size_t i = 0; i < headCount; ++i) {
    AppendHex(line, message[i]);
  }
  if (shorten) {
    line += " ...";
    for (std::size_t i = message.size() - kTraceTailBytes; i < message.size(); ++i) {
      AppendHex(line, message[i]);
    }
  }
  return line;
}

void MessageTrace::Write(TraceDirection direction, ByteSpan message) {
  const std::string line = FormatTraceLine(direction, message);
  std::lock_guard lock(mMutex);
  std::fprintf(mOut, "%s\n", line.c_str());
  std::fflush(mOut);
}

}  // namespace kr7::pedal
