#include "editor/BlockSelection.h"

#include "model/ControlTags.h"
#include "editor/ValueTexts.h"

namespace kr7 {

namespace {

struct BlockRoutine {
  Block block;
  bool dynamicsGraph;
  bool hint;
  std::array<BlockGroup, 2> groups;
  int groupCount;
};

constexpr BlockRoutine kRoutines[] = {
    {Block::kGate, true, true, {BlockGroup::kGate}, 1},
    {Block::kAmbience, false, true, {BlockGroup::kIrDisplay, BlockGroup::kAmbience}, 2},
    {Block::kImpulseResponse, false, false, {BlockGroup::kIr, BlockGroup::kIrDisplay}, 2},
    {Block::kAnalogSim, false, true, {BlockGroup::kAnalogSim, BlockGroup::kIrDisplay}, 2},
    {Block::kLowFilter, false, true, {BlockGroup::kLowFilter, BlockGroup::kIrDisplay}, 2},
    {Block::kMidFilter, false, true, {BlockGroup::kMidFilter, BlockGroup::kIrDisplay}, 2},
    {Block::kHighFilter, false, true, {BlockGroup::kHighFilter, BlockGroup::kIrDisplay}, 2},
    {Block::kDrive, true, true, {BlockGroup::kDrive}, 1},
    {Block::kPreAmp, false, true, {BlockGroup::kIrDisplay, BlockGroup::kPreAmp}, 2},
    {Block::kLevel, false, true, {BlockGroup::kIrDisplay, BlockGroup::kLevel}, 2},
    {Block::kAutoFilter, false, true, {BlockGroup::kIrDisplay, BlockGroup::kAutoFilter}, 2},
};

// Amp model fields compared by the recognition, with their parameters.
constexpr std::array<std::pair<int, int>, 6> kAmpRecognised = {{
    {1, kParamBuzz}, {2, kParamPunch}, {4, kParamBuzzQ},
    {5, kParamPunchQ}, {6, kParamCrunchQ}, {7, kParamPunchFreq},
}};
constexpr int kAmpFieldGain = 0;
constexpr int kAmpFieldPunchFreq = 7;
constexpr int kAmpFieldDrive = 8;
constexpr int kAmpFieldCompression = 9;
constexpr int kAmpFieldPresetLevel = 10;
constexpr int kAmpFieldFirstFilter = 1;  // Buzz, Punch, Crunch (E1..E3)
constexpr int kAmpFieldFirstQ = 4;       // Buzz Q, Punch Q, Crunch Q (E4..E6)

// Ambience fields F1..F7 go to parameters 18..24, F8 and F9 to 58 and 59.
constexpr int kAmbienceFieldRoomSize = 0;
constexpr int kAmbienceFieldFirstReverb = 1;
constexpr int kAmbienceReverbFields = 7;
constexpr int kAmbienceFieldModulationDepth = 8;
constexpr int kAmbienceFieldModulationRate = 9;

constexpr int kCompressionMinimum = 64;

int Device(std::span<const std::atomic<int>, kNumParams> values, int index) {
  return values[static_cast<std::size_t>(index)].load();
}

// Position of "Compression" (64..127) for a target: its minimum up to 63.
double CompressionPosition(int target) {
  return target > 63 ? (target - kCompressionMinimum) / 63.0 : 0.0;
}

}  // namespace

int RecogniseAmpModel(std::span<const std::atomic<int>, kNumParams> deviceValues) {
  for (int k = 0; k < kNumAmpModels; ++k) {
    const AmpModel& model = kAmpModels[static_cast<std::size_t>(k)];
    bool match = true;
    for (const auto& [field, param] : kAmpRecognised) {
      match = match && model[static_cast<std::size_t>(field)] == Device(deviceValues, param);
    }
    if (match) return k;
  }
  return kNoAmpModel;
}

int RecogniseAmbienceType(std::span<const std::atomic<int>, kNumParams> deviceValues) {
  for (int k = 0; k < kNumAmbienceTypes; ++k) {
    const AmbienceType& type = kAmbienceTypes[static_cast<std::size_t>(k)];
    bool match = type[kAmbienceFieldModulationDepth] ==
                     Device(deviceValues, kParamReverbModulationDepth) &&
                 type[kAmbienceFieldModulationRate] ==
                     Device(deviceValues, kParamReverbModulationRate);
    for (int j = 0; j < kAmbienceReverbFields; ++j) {
      match = match && type[static_cast<std::size_t>(kAmbienceFieldFirstReverb + j)] ==
                           Device(deviceValues, kParamReverbDiffusion + j);
    }
    if (match) return k;
  }
  return kNoAmbienceType;
}

// ---- selection ---------------------------------------------------------------

void BlockSelection::SetGroupHidden(BlockGroup group, bool hidden) {
  mState.groupHidden[static_cast<std::size_t>(group)].store(hidden);
  mHost.View().SetGroupHidden(kBlockGroupNames[static_cast<std::size_t>(group)], hidden);
}

void BlockSelection::HideEverything() {
  mHost.View().SetDynamicsGraphHidden(true);
  for (int g = 0; g < kNumBlockGroups; ++g) SetGroupHidden(static_cast<BlockGroup>(g), true);
}

void BlockSelection::SelectOnChange(Block block) {
  if (!mHost.HasWindow() || mState.SelectedBlock() == block || Applying()) return;
  Select(block);
}

void BlockSelection::Select(Block block) {
  for (const BlockRoutine& routine : kRoutines) {
    if (routine.block != block) continue;
    HideEverything();
    mState.selectedBlock.store(static_cast<int>(block));
    EditorView& view = mHost.View();
    view.SetDynamicsGraphHidden(!routine.dynamicsGraph);
    view.SetControlHidden(kTagIrEditHint, !routine.hint);
    for (int g = 0; g < routine.groupCount; ++g) {
      SetGroupHidden(routine.groups[static_cast<std::size_t>(g)], false);
    }
    if (block == Block::kDrive) RunDriveRoutine();
    return;
  }
}

void BlockSelection::RunDriveRoutine() {
  const int dynamics = mHost.ParamInt(kParamDynamics);
  if (dynamics > 63) {
    // Through "Compression", "Dynamics" is set back to its own value.
    mHost.SetParamToPosition(kParamCompression, CompressionPosition(dynamics));
    mHost.QueueForControls(kParamCompression);
    return;
  }
  // Writing 64 into "Dynamics" would change the preset (and the pedal) just
  // by opening the block: only the Compression control goes to its minimum.
  EditorView& view = mHost.View();
  view.SendParameterValueFromDelegate(kParamCompression, kCompressionMinimum);
  view.SetControlText(kTagDriveCompressionValue, CompressionText(kCompressionMinimum));
}

// ---- amp models and ambience types -------------------------------------------------

void BlockSelection::ShowAmpModel(int k) {
  mState.shownAmpModel.store(k);
  EditorView& view = mHost.View();
  for (int j = 0; j < kNumAmpModels; ++j) view.SetControlValue(kTagAmpModelFirst + j, j == k);
  if (mState.SelectedBlock() == Block::kDrive) {
    SetGroupHidden(BlockGroup::kDrive, true);
    SetGroupHidden(BlockGroup::kDrive, false);
  }
}

void BlockSelection::ShowAmbienceType(int k) {
  mState.shownAmbienceType.store(k);
  EditorView& view = mHost.View();
  for (int j = 0; j < kNumAmbienceTypes; ++j) {
    view.SetControlValue(kTagAmbienceTypeFirst + j, j == k);
  }
  const bool ambienceOpen = mState.SelectedBlock() == Block::kAmbience;
  if (k == kAmbienceEcho || k == kAmbienceEchoverb) {
    if (!ambienceOpen) return;
    SetGroupHidden(BlockGroup::kAmbience2, false);
  } else {
    SetGroupHidden(BlockGroup::kAmbience2, true);
  }
  if (!ambienceOpen) return;
  for (int j = 0; j < kNumAmbienceTypes; ++j) {
    view.SetControlHidden(kTagAmbienceTypeFirst + j, true);
    view.SetControlHidden(kTagAmbienceTypeFirst + j, false);
  }
}

void BlockSelection::SetAndQueue(int index, int value) {
  mHost.SetParamToValue(index, value);
  mHost.QueueForControls(index);
}

void BlockSelection::Apply(const std::function<void()>& setValues) {
  {
    const ApplyingScope applying;
    mState.localEdit.store(false);
    setValues();
  }
  mState.localEdit.store(true);
  if (mSession.MayStorePreset()) mHost.StorePresetInto(mSession.loadedPreset.load());
}

void BlockSelection::ApplyAmpModel(int k) {
  if (k < 0 || k >= kNumAmpModels) return;
  const AmpModel& model = kAmpModels[static_cast<std::size_t>(k)];
  Apply([this, &model] {
    SetAndQueue(kParamGain, model[kAmpFieldGain]);
    SetAndQueue(kParamPunchFreq, model[kAmpFieldPunchFreq]);
    SetAndQueue(kParamDrive, model[kAmpFieldDrive]);
    SetAndQueue(kParamPresetLevel, model[kAmpFieldPresetLevel]);
    mHost.SetParamToPosition(kParamCompression, CompressionPosition(model[kAmpFieldCompression]));
    mHost.QueueForControls(kParamCompression);
    for (int j = 0; j < 3; ++j) {
      SetAndQueue(kParamBuzz + j, model[static_cast<std::size_t>(kAmpFieldFirstFilter + j)]);
      SetAndQueue(kParamBuzzQ + j, model[static_cast<std::size_t>(kAmpFieldFirstQ + j)]);
    }
  });
}

void BlockSelection::ApplyAmbienceType(int k) {
  if (k < 0 || k >= kNumAmbienceTypes) return;
  const AmbienceType& type = kAmbienceTypes[static_cast<std::size_t>(k)];
  Apply([this, &type] {
    SetAndQueue(kParamReverbRoomSize, type[kAmbienceFieldRoomSize]);
    SetAndQueue(kParamReverbModulationDepth, type[kAmbienceFieldModulationDepth]);
    SetAndQueue(kParamReverbModulationRate, type[kAmbienceFieldModulationRate]);
    for (int j = 0; j < kAmbienceReverbFields; ++j) {
      SetAndQueue(kParamReverbDiffusion + j,
                  type[static_cast<std::size_t>(kAmbienceFieldFirstReverb + j)]);
    }
  });
}

void BlockSelection::OnAmpButton(int k) {
  if (k < 0 || k >= kNumAmpModels || mState.shownAmpModel.load() == k) return;
  ShowAmpModel(k);
  ApplyAmpModel(k);
}

void BlockSelection::OnAmbienceButton(int k) {
  if (k < 0 || k >= kNumAmbienceTypes || mState.shownAmbienceType.load() == k) return;
  ShowAmbienceType(k);
  ApplyAmbienceType(k);
}

void BlockSelection::RecogniseAfterDump() {
  if (!mHost.HasWindow()) return;
  ShowAmpModel(RecogniseAmpModel(mPreset.deviceValues));
  ShowAmbienceType(RecogniseAmbienceType(mPreset.deviceValues));
  if (mState.SelectedBlock() == Block::kDrive) RunDriveRoutine();
}

}  // namespace kr7
