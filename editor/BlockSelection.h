#pragma once
// Which effect block the editing area shows, and the two block presets: ten
// amp models of the drive block and seven ambience types, each a fixed set
// of parameter values, with the buttons that show which one the current
// preset matches.
//
// Every routine here acts on the window; the parameter-change handler calls
// the selection only with a window open and never while device or file data
// is applied, so loading a preset keeps the block the user was looking at.
// Threads: the buttons and apply run on the UI thread; the selection runs on
// the thread of the change that asks for it, and the recognition in the dump
// decoder on the audio thread, so the state they share is atomic and their
// control calls are deferred by the view.

#include <array>
#include <functional>
#include <span>

#include "device/SessionState.h"
#include "editor/LiveEdit.h"

namespace kr7 {

// Amp model fields E0..E10: the target values of Gain, Buzz, Punch, Crunch,
// Buzz Q, Punch Q, Crunch Q, Punch Freq, Drive, compression, Preset Level.
inline constexpr int kAmpModelFields = 11;
using AmpModel = std::array<int, kAmpModelFields>;
inline constexpr std::array<AmpModel, kNumAmpModels> kAmpModels = {{
    {65, 29, 17, 112, 64, 10, 64, 58, 26, 88, 32},    // blond
    {27, 47, 17, 126, 64, 127, 64, 82, 7, 84, 127},   // liverpool
    {97, 53, 49, 105, 64, 64, 64, 54, 15, 64, 32},    // british
    {64, 64, 64, 64, 64, 64, 64, 54, 64, 64, 32},     // caliclassic
    {91, 45, 98, 91, 64, 64, 64, 94, 63, 64, 32},     // boutiquea
    {61, 29, 33, 94, 64, 64, 64, 69, 30, 94, 32},     // tweed
    {98, 47, 88, 96, 64, 64, 64, 41, 111, 64, 32},    // topboost
    {98, 51, 48, 100, 64, 64, 64, 54, 30, 64, 32},    // plexi
    {91, 45, 64, 91, 64, 64, 64, 54, 64, 64, 32},     // calimetal
    {80, 0, 114, 80, 64, 47, 64, 66, 100, 64, 32},    // boutiqueb
}};

// Ambience type fields F0..F9: Reverb Room Size, parameters 18..24 (Reverb
// Diffusion .. Reverb HP Filter), Reverb Modulation Depth and Rate.
inline constexpr int kAmbienceTypeFields = 10;
using AmbienceType = std::array<int, kAmbienceTypeFields>;
inline constexpr std::array<AmbienceType, kNumAmbienceTypes> kAmbienceTypes = {{
    {47, 20, 3, 49, 127, 93, 127, 15, 0, 0},     // room
    {64, 8, 2, 64, 127, 64, 64, 20, 4, 127},     // hall
    {109, 100, 2, 71, 127, 73, 26, 23, 26, 0},   // spring
    {86, 120, 2, 127, 127, 45, 127, 42, 4, 127}, // plate
    {74, 84, 4, 52, 0, 0, 127, 0, 67, 60},       // chorus
    {64, 64, 5, 0, 127, 64, 127, 15, 0, 0},      // echo
    {64, 70, 5, 0, 127, 32, 127, 10, 0, 0},      // echoverb
}};
inline constexpr int kAmbienceEcho = 5;
inline constexpr int kAmbienceEchoverb = 6;

// The first model / type whose compared fields equal the given device values
// (Gain, Crunch, Drive, compression, level and room size are not compared),
// or kNoAmpModel / kNoAmbienceType.
int RecogniseAmpModel(std::span<const std::atomic<int>, kNumParams> deviceValues);
int RecogniseAmbienceType(std::span<const std::atomic<int>, kNumParams> deviceValues);

class BlockSelection {
 public:
  BlockSelection(LiveEditHost& host, LiveEditState& state, SessionState& session,
                 PresetRecord preset)
      : mHost(host), mState(state), mSession(session), mPreset(preset) {}

  // Device or file data is being applied on this thread (by the session, a
  // file or apply here).
  static bool Applying() { return ApplyingScope::Active(); }

  // The handler's "select block k": the routine runs when a window is open,
  // k is not already selected and nothing is being applied.
  void SelectOnChange(Block block);
  // The selection routine itself: hide every block group and the dynamics
  // graph, then show the block's groups, graph and hint.
  void Select(Block block);

  // Lights the button of model k (kNoAmpModel: none).
  void ShowAmpModel(int k);
  // Sets the model's parameters as local data and, connected and not
  // fetching, stores the result into the loaded slot as one PresetStore.
  void ApplyAmpModel(int k);
  void ShowAmbienceType(int k);
  void ApplyAmbienceType(int k);
  // An amp / ambience button's action (press and release alike): nothing
  // while its model is the one lit, otherwise show and apply.
  void OnAmpButton(int k);
  void OnAmbienceButton(int k);

  // After a preset dump was applied (window open): light what the device
  // values match and, with the drive block open, let Compression follow.
  void RecogniseAfterDump();
  // Keeps "Compression" in step with "Dynamics" while the drive block is
  // open. Dynamics below 64 only moves the Compression control to its
  // minimum: writing 64 back would change the preset by looking at it.
  void RunDriveRoutine();

  // Hides or shows a block group, remembering its state.
  void SetGroupHidden(BlockGroup group, bool hidden);

 private:
  void HideEverything();
  // Sets index to value (through its position) and moves its controls.
  void SetAndQueue(int index, int value);
  // Sets a model's values as local data, then stores the preset.
  void Apply(const std::function<void()>& setValues);

  LiveEditHost& mHost;
  LiveEditState& mState;
  SessionState& mSession;
  PresetRecord mPreset;
};

}  // namespace kr7
