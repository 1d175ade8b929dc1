// Arbitrary messages into the editor's receive handler, with a data folder of
// its own, as a pedal gone wrong would send them.
//
// Input layout: byte 0 holds flags, the rest is cut into messages after every
// F7 (the last piece may end without one).
//   bit 0  connect first with a valid identity block, so the messages that
//          need the connection are examined too
//   bit 1  put the editor header F0 00 51 21 03 before each piece
//   bit 2  run a device tick and the 20 ms timer after each message

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/core/KR7Control.h"
#include "device/Messages.h"

namespace {

constexpr std::uint8_t kConnectFirst = 1 << 0;
constexpr std::uint8_t kAddHeader = 1 << 1;
constexpr std::uint8_t kTickBetween = 1 << 2;
constexpr std::uint8_t kEditorVersionByte = 12;

// One folder for the whole run, removed at exit. The path lives on the heap
// for the whole process: the exit handler runs after function-local statics
// have been destroyed.
const std::string& DataPath() {
  static const std::string* const path = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kr7-fuzz-session-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    auto* kept = new std::string(pattern);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(DataPath(), ignored);
    });
    return kept;
  }();
  return *path;
}

// Replies go nowhere; the handler still builds and "sends" them.
class NullSender : public kr7::SysExSender {
 public:
  bool SendSysEx(std::span<const std::uint8_t>) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  NullSender sender;
  kr7::KR7Control editor{kr7::DataFolder(DataPath())};
  editor.SetSysExSender(&sender);

  if (flags & kConnectFirst) editor.OnSysEx(kr7::build::IdentityBlock(kEditorVersionByte, "FUZZ"));

  const std::vector<std::uint8_t> header = {kr7::kSysExStart, 0x00, 0x51, 0x21, kr7::kFamilyEditor};
  std::vector<std::uint8_t> message;
  auto deliver = [&] {
    if (message.empty()) return;
    editor.OnSysEx(message);
    if (flags & kTickBetween) {
      editor.OnDeviceTick();
      editor.OnFrameworkTimer();
    }
    message.clear();
  };
  for (std::size_t i = 1; i < size; ++i) {
    if (message.empty() && (flags & kAddHeader)) message = header;
    message.push_back(data[i]);
    if (data[i] == kr7::kSysExEnd) deliver();
  }
  deliver();
  return 0;
}
