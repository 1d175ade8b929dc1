#pragma once
// The conversation of tests/app/StreamConversation.h with the impulse-response block
// and the preset files wired in: the editor's own window is the scripted one
// (file dialogs and questions answer as the test says) and impulse-response
// uploads go through the stream controller to the virtual pedal.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "tests/app/StreamConversation.h"

namespace kr7::test {

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Creates the folder of path first.
inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class IrFlowConversation : public StreamConversation {
 protected:
  IrFlowConversation() {
    editor->OnWindowOpen(&window);
    editor->SetIrUploader(
        [this](int slot, ByteSpan packed) { return streams.StartIrUpload(slot, packed); });
  }

  // Whether the window showed text in a message box or question.
  bool WasShown(std::string_view text) const {
    return std::find(window.messages.begin(), window.messages.end(), text) != window.messages.end();
  }
};

}  // namespace kr7::test
