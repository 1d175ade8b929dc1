#pragma once
// Tags and group names of the main page that live editing writes.

#include <array>
#include <string_view>

#include "editor/LiveEdit.h"

namespace kr7 {

inline constexpr int kTagPresetNumber = 1;
inline constexpr int kTagDynamicsTitle = 6;
inline constexpr int kTagDynamicsThreshold = 8;
inline constexpr int kTagCompressorRatio = 9;
inline constexpr int kTagExpanderRatio = 13;
inline constexpr int kTagGateRatio = 17;
inline constexpr int kTagGateRelease = 19;
inline constexpr int kTagGateThreshold = 20;
inline constexpr int kTagSmoothingValue = 21;
inline constexpr int kTagSmoothingTitle = 22;
inline constexpr int kTagUserIrGainKnobA = 25;
inline constexpr int kTagUserIrGainKnobB = 26;
inline constexpr int kTagUserIrGainA = 27;
inline constexpr int kTagUserIrGainB = 28;
inline constexpr int kTagCrunch = 34;
inline constexpr int kTagLow = 36;
inline constexpr int kTagLowQ = 37;
inline constexpr int kTagMid = 38;
inline constexpr int kTagMidQ = 39;
inline constexpr int kTagMidShift = 40;
inline constexpr int kTagHigh = 41;
inline constexpr int kTagHighQ = 42;
inline constexpr int kTagReverb = 43;
inline constexpr int kTagReverbDecayTime = 44;
inline constexpr int kTagReverbRoomSize = 45;
inline constexpr int kTagGain = 47;
inline constexpr int kTagLevel = 48;
inline constexpr int kTagAutoFilterLevel = 49;
inline constexpr int kTagCleanInputLevel = 50;
inline constexpr int kTagUpSwitch = 55;
inline constexpr int kTagDownSwitch = 56;
inline constexpr int kTagSaveButton = 57;
inline constexpr int kTagSelectSwitch = 58;
inline constexpr int kTagFilterSwitch = 59;
inline constexpr int kTagAutoFilterLed = 60;
inline constexpr int kTagIrSlider = 61;
inline constexpr int kTagImportIrA = 62;
inline constexpr int kTagImportIrB = 63;
inline constexpr int kTagIrRowA = 70;
inline constexpr int kTagIrRowB = 71;
inline constexpr int kTagFirstAmbienceButton = 75;
inline constexpr int kTagFirstAmpButton = 82;
inline constexpr int kTagCompression = 92;
inline constexpr int kTagIrHint = 93;

inline constexpr std::array<std::string_view, kNumBlockGroups> kBlockGroupNames = {
    "analogsimcontrols",    "gatecontrols",      "dynamicscontrols",   "expcontrols",
    "compcontrols",         "ircontrols",        "irdisplay",          "ambiencecontrols",
    "ambiencecontrols2",    "buzzfiltercontrols", "punchfiltercontrols", "crunchfiltercontrols",
    "lowfiltercontrols",    "midfiltercontrols", "highfiltercontrols", "drivecontrols",
    "preampcontrols",       "levelcontrols",     "autofiltercontrols"};

}  // namespace kr7
