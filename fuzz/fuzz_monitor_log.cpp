// Any bytes as a saved MIDI monitor list: whatever parses must write back to
// the same text's meaning (parse, format, parse gives the same list), and any
// bytes as a message must be described in both directions without a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "device/MidiMonitor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  for (bool connected : {false, true}) {
    (void)kr7::DescribeMessage(kr7::MonitorDirection::In, bytes, {connected, !connected});
  }
  (void)kr7::DescribeMessage(kr7::MonitorDirection::Out, bytes, {});
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto log = kr7::ParseMonitorLog(text)) {
    if (kr7::ParseMonitorLog(kr7::FormatMonitorLog(*log)) != log) std::abort();
  }
  return 0;
}
