#pragma once
// The audio output stream whose only work is to pump the MIDI queues: every
// block it receives goes to MessagePump::ProcessAudio, which handles incoming
// device messages and writes silence. Without a running stream the editor
// never hears the pedal.
//
// Threads: everything here on the UI thread, except the library's callback,
// which runs on the audio thread.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class RtAudio;

namespace kr7 {

class MessagePump;

enum class AudioSide { Input, Output };

inline constexpr int kDefaultSampleRate = 44100;
inline constexpr int kDefaultBufferFrames = 512;
inline constexpr unsigned kAudioDriverJack = 1;

// What the stream is started with; the `audio` section of the settings.
struct AudioSettings {
  unsigned driver = 0;  // 1 = JACK, anything else = the library's own choice
  std::string inputDevice;
  std::string outputDevice;
  int sampleRate = kDefaultSampleRate;
  int bufferFrames = kDefaultBufferFrames;
};

// The devices found by the last probe, by name, in the library's order.
struct AudioDeviceList {
  std::vector<std::string> outputs;  // devices with output channels
  std::vector<std::string> inputs;   // devices with input channels
  std::string defaultOutput;         // empty when there is none
  std::string defaultInput;
};

class AudioStream {
 public:
  // Shows a modal message (text, caption); the shell supplies the box.
  using MessageHook = std::function<void(const std::string& text, const std::string& caption)>;
  // A configured device was missing and the default replaced it; the shell
  // stores the new name in its settings.
  using DeviceNameHook = std::function<void(AudioSide side, const std::string& name)>;

  explicit AudioStream(MessagePump& pump);
  ~AudioStream();
  AudioStream(const AudioStream&) = delete;
  AudioStream& operator=(const AudioStream&) = delete;

  void SetMessageHook(MessageHook hook);
  void SetDeviceNameHook(DeviceNameHook hook);

  // Stops any stream, builds the driver object for `driver` (JACK first for
  // 1, the library's choice otherwise, falling back to it when JACK offers no
  // device) and probes every device, skipping those that fail to probe.
  void CreateDriver(unsigned driver);
  const AudioDeviceList& Devices() const { return mDevices; }

  // Resolves both sides (a missing device becomes the default and the hook
  // is told; a side with neither shows the soundcard message and nothing
  // starts), stops any running stream, then opens and starts a stream of two
  // outputs and no inputs. Builds the driver first when there is none.
  // Returns true when the stream runs; a library error leaves none running.
  bool Start(const AudioSettings& settings);
  // Stops and closes the stream; returns after the last callback finished.
  void Stop();
  bool IsRunning() const;
  // The block size the library settled on, valid while running.
  unsigned BufferFrames() const { return mBufferFrames; }

 private:
  struct Probed {
    std::string name;
    unsigned id;
    unsigned outputChannels;
  };

  static int Callback(void* output, void* input, unsigned nFrames, double streamTime,
                      unsigned status, void* userData);
  void ProbeDevices();
  void ShowSoundcardMessage();
  const Probed* Find(const std::string& name) const;

  MessagePump& mPump;
  std::unique_ptr<RtAudio> mAudio;
  AudioDeviceList mDevices;
  std::vector<Probed> mProbed;
  MessageHook mMessageHook;
  DeviceNameHook mDeviceNameHook;
  unsigned mBufferFrames = 0;
  std::atomic<int> mChannels{0};
  std::atomic<int> mCallbacksRunning{0};
};

}  // namespace kr7
