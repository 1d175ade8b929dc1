#pragma once
// The names by which the logic reaches the window: the numeric tags of single
// controls and the names of the groups that are shown, hidden, enabled and
// disabled together. Every page and overlay of the editor is a group on the
// one design surface; these are all of them. Tags and group names are fixed
// by the page layout and are not to be renumbered: the logic, the pages and
// the tests address controls through these constants only.

#include <array>
#include <string_view>

namespace kr7 {

// ---- control tags -----------------------------------------------------------
// A control without a tag; also what a tag lookup of a missing control means.
inline constexpr int kNoTag = -1;

// The pedal ("bcontrols").
inline constexpr int kTagPresetNumber = 1;  // two-digit preset display
inline constexpr int kTagFootswitchUp = 55;
inline constexpr int kTagFootswitchDown = 56;
inline constexpr int kTagSaveButton = 57;
inline constexpr int kTagFootswitchSelect = 58;
inline constexpr int kTagFootswitchFilter = 59;
// The auto-filter LED ("filterled").
inline constexpr int kTagAutoFilterLed = 60;

// Block editors: titles, captions and value texts (rewritten with the
// formatted value of their parameter).
inline constexpr int kTagDynamicsTitle = 6;  // "DYNAMICS", retitled by the handler
inline constexpr int kTagDynamicsThresholdValue = 8;
inline constexpr int kTagCompressorRatioValue = 9;
inline constexpr int kTagExpanderRatioValue = 13;
inline constexpr int kTagGateRatioValue = 17;
inline constexpr int kTagGateReleaseValue = 19;
inline constexpr int kTagGateThresholdValue = 20;
inline constexpr int kTagAnalogSimValue = 21;
inline constexpr int kTagAnalogSimCaption = 22;  // "SMOOTHING", retitled by the handler
inline constexpr int kTagBuzzGainValue = 29;
inline constexpr int kTagBuzzQualityValue = 30;
inline constexpr int kTagPunchGainValue = 31;
inline constexpr int kTagPunchQualityValue = 32;
inline constexpr int kTagPunchFrequencyValue = 33;
inline constexpr int kTagDrivePresenceValue = 34;
inline constexpr int kTagCrunchQualityValue = 35;
inline constexpr int kTagLowGainValue = 36;
inline constexpr int kTagLowQualityValue = 37;
inline constexpr int kTagMidGainValue = 38;
inline constexpr int kTagMidQualityValue = 39;
inline constexpr int kTagMidFrequencyValue = 40;
inline constexpr int kTagHighGainValue = 41;
inline constexpr int kTagHighQualityValue = 42;
inline constexpr int kTagAmbienceLevelValue = 43;
inline constexpr int kTagAmbienceDecayValue = 44;
inline constexpr int kTagAmbienceTimeValue = 45;
inline constexpr int kTagDrivePreAmpValue = 47;
inline constexpr int kTagMasterLevelValue = 48;
inline constexpr int kTagAutoFilterLevelValue = 49;
inline constexpr int kTagParallelCleanValue = 50;
inline constexpr int kTagDriveCompressionValue = 92;

// Ambience type buttons ("ambiencecontrols"), in this order: room, hall,
// spring, plate, chorus, echo, echoverb.
inline constexpr int kTagAmbienceTypeFirst = 75;
inline constexpr int kNumAmbienceTypes = 7;
// Amplifier model buttons ("drivecontrols"): model k is kTagAmpModelFirst + k.
inline constexpr int kTagAmpModelFirst = 82;
inline constexpr int kNumAmpModels = 10;

// The impulse-response block ("ircontrols").
inline constexpr int kTagIrModeSwitchA = 23;
inline constexpr int kTagIrModeSwitchB = 24;
inline constexpr int kTagUserIrGainA = 25;  // knobs, disabled at start
inline constexpr int kTagUserIrGainB = 26;
inline constexpr int kTagUserIrGainValueA = 27;
inline constexpr int kTagUserIrGainValueB = 28;
inline constexpr int kTagMicrophoneSlider = 61;
inline constexpr int kTagImportIrA = 62;  // IMPORT buttons, disabled at start
inline constexpr int kTagImportIrB = 63;
// BROWSE buttons beside them, disabled at start: the user-IR browser,
// assigning to source A or B.
inline constexpr int kTagBrowseIrA = 146;
inline constexpr int kTagBrowseIrB = 147;
// IR list rows 1..8 (row 0, "Off", has no tag): factory cabinet k (cabinet
// position k + 1) is row kTagIrListFirst + k; the last two rows also show
// the user impulse response source A or B plays.
inline constexpr int kTagIrListFirst = 64;
inline constexpr int kNumIrListTaggedRows = 8;
inline constexpr int kTagIrRowA = 70;
inline constexpr int kTagIrRowB = 71;

// The main page ("maincontrols").
inline constexpr int kTagIrEditHint = 93;  // "CLICK HERE TO EDIT IMPULSE RESPONSE"
inline constexpr int kTagPresetName = 138;
inline constexpr int kTagStandaloneNotice = 144;
// The device status lines ("devicecontrols").
inline constexpr int kTagDeviceLine = 141;
inline constexpr int kTagVersionLine = 142;
inline constexpr int kTagSerialLine = 143;

// Overlays: title, ring and percentage text of each progress display.
inline constexpr int kTagPresetProgressTitle = 52;  // "progresscontrols"
inline constexpr int kTagPresetProgressRing = 53;
inline constexpr int kTagPresetProgressText = 54;
inline constexpr int kTagFactoryProgressTitle = 72;  // "factorypresetcontrols"
inline constexpr int kTagFactoryProgressText = 73;
inline constexpr int kTagFactoryProgressRing = 74;
inline constexpr int kTagFirmwareProgressText = 139;  // "firmwarecontrols"
inline constexpr int kTagFirmwareProgressRing = 140;
inline constexpr int kTagFirmwareBackground = 145;  // "fwbgcontrols"

// The three description lines of each jack function, from its first tag;
// the layout creates none of these controls.
inline constexpr int kTagJack1PedalText = 111;
inline constexpr int kTagJack1SwitchAText = 116;
inline constexpr int kTagJack1SwitchBText = 120;
inline constexpr int kTagJack2PedalText = 124;
inline constexpr int kTagJack2SwitchAText = 129;
inline constexpr int kTagJack2SwitchBText = 133;

// The name a NameReport carries is written here; no control has this tag,
// so the report has no visible effect.
inline constexpr int kTagNameReport = 94;

// ---- groups -----------------------------------------------------------------
// Controls never shown or hidden by group (preset-list rows and selectors).
inline constexpr std::string_view kGroupNone = "";
inline constexpr std::string_view kGroupBackground = "background";
inline constexpr std::string_view kGroupPedal = "bcontrols";
inline constexpr std::string_view kGroupFilterLed = "filterled";
inline constexpr std::string_view kGroupMain = "maincontrols";
inline constexpr std::string_view kGroupDevice = "devicecontrols";
inline constexpr std::string_view kGroupIrDisplay = "irdisplay";

// One editor block each; exactly one block is shown at a time.
inline constexpr std::string_view kGroupAnalogSim = "analogsimcontrols";
inline constexpr std::string_view kGroupGate = "gatecontrols";
inline constexpr std::string_view kGroupDynamics = "dynamicscontrols";
inline constexpr std::string_view kGroupCompressor = "compcontrols";
inline constexpr std::string_view kGroupExpander = "expcontrols";
inline constexpr std::string_view kGroupIr = "ircontrols";
inline constexpr std::string_view kGroupAmbience = "ambiencecontrols";
inline constexpr std::string_view kGroupAmbienceTime = "ambiencecontrols2";
inline constexpr std::string_view kGroupDrive = "drivecontrols";
inline constexpr std::string_view kGroupBuzzFilter = "buzzfiltercontrols";
inline constexpr std::string_view kGroupPunchFilter = "punchfiltercontrols";
inline constexpr std::string_view kGroupCrunchFilter = "crunchfiltercontrols";
inline constexpr std::string_view kGroupLowFilter = "lowfiltercontrols";
inline constexpr std::string_view kGroupMidFilter = "midfiltercontrols";
inline constexpr std::string_view kGroupHighFilter = "highfiltercontrols";
inline constexpr std::string_view kGroupPreAmp = "preampcontrols";
inline constexpr std::string_view kGroupLevel = "levelcontrols";
inline constexpr std::string_view kGroupAutoFilter = "autofiltercontrols";
inline constexpr std::array<std::string_view, 18> kBlockGroups = {
    kGroupAnalogSim,    kGroupGate,        kGroupDynamics,     kGroupCompressor,
    kGroupExpander,     kGroupIr,          kGroupAmbience,     kGroupAmbienceTime,
    kGroupDrive,        kGroupBuzzFilter,  kGroupPunchFilter,  kGroupCrunchFilter,
    kGroupLowFilter,    kGroupMidFilter,   kGroupHighFilter,   kGroupPreAmp,
    kGroupLevel,        kGroupAutoFilter,
};

// Pages and overlays, all hidden at start.
inline constexpr std::string_view kGroupFirmwareBackground = "fwbgcontrols";
inline constexpr std::string_view kGroupFirmwareUpdate = "fwupdatecontrols";
inline constexpr std::string_view kGroupFirmwareProgress = "firmwarecontrols";
inline constexpr std::string_view kGroupUserIrBrowser = "customircontrols";
inline constexpr std::string_view kGroupGlobalSettings = "globalsettingscontrols";
inline constexpr std::string_view kGroupMidiCc = "midicccontrols";
inline constexpr std::string_view kGroupMidiProgram = "midiprogramcontrols";
inline constexpr std::string_view kGroupAbout = "aboutcontrols";
inline constexpr std::string_view kGroupPresetProgress = "progresscontrols";
inline constexpr std::string_view kGroupFactoryProgress = "factorypresetcontrols";
// The Cancel button over the preset progress overlay, shown only while a
// bank export, backup or bank import runs under it.
inline constexpr std::string_view kGroupTransferCancel = "transfercancelcontrols";

// Names the parameter-change handling shows and hides although no control
// belongs to them; doing so has no effect.
inline constexpr std::string_view kGroupFilter = "filtercontrols";
inline constexpr std::string_view kGroupJack1Switch = "jack1switchcontrols";
inline constexpr std::string_view kGroupJack1Pedal = "jack1pedalcontrols";
inline constexpr std::string_view kGroupJack2Switch = "jack2switchcontrols";
inline constexpr std::string_view kGroupJack2Pedal = "jack2pedalcontrols";

// ---- lists without tags -----------------------------------------------------
// The rows of the user impulse-response browser (one bank), which the window
// reaches by direct reference rather than by tag.
inline constexpr int kNumUserIrBrowserRows = 32;

}  // namespace kr7
