#include "device/ports/AudioStream.h"

#include <rtaudio/RtAudio.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "device/MessagePump.h"
#include "device/ports/AudioDeviceChoice.h"
#include "model/UserTexts.h"

namespace kr7 {
namespace {

constexpr unsigned kOutputChannels = 2;
constexpr const char* kStreamName = "KR7Control";
constexpr auto kCallbackPoll = std::chrono::milliseconds(10);
// A callback that has not returned after this long is stuck in the library;
// waiting longer would hang the UI thread for nothing.
constexpr int kMaxCallbackPolls = 200;

// The library's constructor raises an error when no back end is compiled in;
// this is the edge where it stops.
std::unique_ptr<RtAudio> TryCreate(RtAudio::Api api) {
  try {
    auto audio = std::make_unique<RtAudio>(api);
    audio->showWarnings(false);
    return audio;
  } catch (const RtAudioError&) {
    return nullptr;
  }
}

unsigned DeviceCount(RtAudio& audio) {
  try {
    return audio.getDeviceCount();
  } catch (const RtAudioError&) {
    return 0;
  }
}

// Errors that happen once the stream runs have no caller to return to; the
// stream simply stops delivering blocks and the editor runs without it.
void IgnoreStreamError(RtAudioError::Type /*type*/, const std::string& /*text*/) {}

}  // namespace

AudioStream::AudioStream(MessagePump& pump) : mPump(pump) {}

AudioStream::~AudioStream() { Stop(); }

void AudioStream::SetMessageHook(MessageHook hook) { mMessageHook = std::move(hook); }

void AudioStream::SetDeviceNameHook(DeviceNameHook hook) { mDeviceNameHook = std::move(hook); }

void AudioStream::CreateDriver(unsigned driver) {
  Stop();
  mAudio.reset();
  if (driver == kAudioDriverJack) {
    mAudio = TryCreate(RtAudio::UNIX_JACK);
    if (mAudio && DeviceCount(*mAudio) == 0) {
      mAudio.reset();
    }
  }
  if (!mAudio) {
    mAudio = TryCreate(RtAudio::UNSPECIFIED);
  }
  ProbeDevices();
}

void AudioStream::ProbeDevices() {
  mDevices = {};
  mProbed.clear();
  if (!mAudio) {
    return;
  }
  const unsigned count = DeviceCount(*mAudio);
  for (unsigned id = 0; id < count; ++id) {
    RtAudio::DeviceInfo info;
    try {
      info = mAudio->getDeviceInfo(id);
    } catch (const RtAudioError&) {
      continue;
    }
    if (!info.probed || info.name.empty()) {
      continue;
    }
    mProbed.push_back({info.name, id, info.outputChannels});
    if (info.outputChannels > 0) {
      mDevices.outputs.push_back(info.name);
      if (info.isDefaultOutput && mDevices.defaultOutput.empty()) {
        mDevices.defaultOutput = info.name;
      }
    }
    if (info.inputChannels > 0) {
      mDevices.inputs.push_back(info.name);
      if (info.isDefaultInput && mDevices.defaultInput.empty()) {
        mDevices.defaultInput = info.name;
      }
    }
  }
}

const AudioStream::Probed* AudioStream::Find(const std::string& name) const {
  const auto found = std::find_if(mProbed.begin(), mProbed.end(),
                                  [&name](const Probed& device) { return device.name == name; });
  return found == mProbed.end() ? nullptr : &*found;
}

void AudioStream::ShowSoundcardMessage() {
  if (mMessageHook) {
    mMessageHook(std::string(kSoundcardText), std::string(kErrorCaption));
  }
}

bool AudioStream::Start(const AudioSettings& settings) {
  if (!mAudio) {
    CreateDriver(settings.driver);
  }
  const auto output =
      ChooseAudioDevice(mDevices.outputs, mDevices.defaultOutput, settings.outputDevice);
  // No input channel is ever opened, yet the input side must still resolve:
  // the settings name both devices and both are written back.
  const auto input = ChooseAudioDevice(mDevices.inputs, mDevices.defaultInput, settings.inputDevice);
  if (!output || !input) {
    ShowSoundcardMessage();
    return false;
  }
  if (mDeviceNameHook && output->replacedByDefault) {
    mDeviceNameHook(AudioSide::Output, output->name);
  }
  if (mDeviceNameHook && input->replacedByDefault) {
    mDeviceNameHook(AudioSide::Input, input->name);
  }

  Stop();
  const Probed* device = Find(output->name);
  if (device == nullptr || settings.sampleRate <= 0 || settings.bufferFrames <= 0) {
    return false;
  }
  RtAudio::StreamParameters outputParameters;
  outputParameters.deviceId = device->id;
  outputParameters.nChannels = std::min(kOutputChannels, device->outputChannels);
  outputParameters.firstChannel = 0;
  RtAudio::StreamOptions options;
  options.flags = RTAUDIO_NONINTERLEAVED;
  options.streamName = kStreamName;
  mChannels.store(static_cast<int>(outputParameters.nChannels));
  unsigned bufferFrames = static_cast<unsigned>(settings.bufferFrames);
  try {
    mAudio->openStream(&outputParameters, nullptr, RTAUDIO_FLOAT32,
                       static_cast<unsigned>(settings.sampleRate), &bufferFrames, &Callback, this,
                       &options, &IgnoreStreamError);
    mBufferFrames = bufferFrames;
    mAudio->startStream();
  } catch (const RtAudioError&) {
    Stop();
    return false;
  }
  // With an error callback installed the library reports a failed start
  // through it instead of throwing, so the outcome is read back.
  if (!IsRunning()) {
    Stop();
    return false;
  }
  return true;
}

void AudioStream::Stop() {
  if (!mAudio) {
    return;
  }
  try {
    // Aborting rather than stopping: the stream only ever plays silence, so
    // there is nothing to drain, and the JACK back end's draining stop waits
    // on a condition without holding its mutex.
    if (mAudio->isStreamRunning()) {
      mAudio->abortStream();
    }
  } catch (const RtAudioError&) {
    // Closing below still releases the device.
  }
  for (int poll = 0; poll < kMaxCallbackPolls && mCallbacksRunning.load() > 0; ++poll) {
    std::this_thread::sleep_for(kCallbackPoll);
  }
  try {
    if (mAudio->isStreamOpen()) {
      mAudio->closeStream();
    }
  } catch (const RtAudioError&) {
  }
  mBufferFrames = 0;
}

bool AudioStream::IsRunning() const { return mAudio && mAudio->isStreamRunning(); }

int AudioStream::Callback(void* output, void* /*input*/, unsigned nFrames, double /*streamTime*/,
                          unsigned /*status*/, void* userData) {
  auto* self = static_cast<AudioStream*>(userData);
  self->mCallbacksRunning.fetch_add(1);
  // Non-interleaved: each channel's block follows the previous one.
  auto* samples = static_cast<float*>(output);
  float* channels[kOutputChannels] = {};
  const int nChannels = std::min(self->mChannels.load(), static_cast<int>(kOutputChannels));
  for (int channel = 0; channel < nChannels && samples != nullptr; ++channel) {
    channels[channel] = samples + static_cast<std::size_t>(channel) * nFrames;
  }
  self->mPump.ProcessAudio(channels, nChannels, static_cast<int>(nFrames));
  self->mCallbacksRunning.fetch_sub(1);
  return 0;
}

}  // namespace kr7
