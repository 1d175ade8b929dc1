#pragma once
// What live editing shares: the state of the editor that the parameter-change
// handler, the block selection, the main page's operations and the idle step
// keep between calls, and what they need from the application around them.
//
// Threading: the handler runs on whichever thread set the parameter (the
// audio thread while a preset dump is applied, the UI thread otherwise); the
// idle step and the main page's operations run on the UI thread. Fields that
// both threads touch are atomics; the fields marked "UI thread" are touched by
// the UI thread alone.

#include <array>
#include <atomic>
#include <cstdint>
#include <span>
#include <string>

#include "model/ControlTags.h"
#include "model/EditorView.h"
#include "model/Parameters.h"

namespace kr7 {

// Preset-list geometry: 19 rows of 50 units from height 228; the first
// visible row runs 0..109.
inline constexpr int kPresetListTop = 228;
inline constexpr int kPresetRowHeight = 50;
inline constexpr int kLastFirstVisibleRow = 109;
// Each column of the user-IR browser shows 16 of the bank's 32 rows.
inline constexpr int kBrowserColumnRows = 16;

// The preset display while the preset differs from the pedal's copy, and
// while it does not.
inline constexpr igraphics::Colour kModifiedColour{100, 255, 255, 255};
inline constexpr igraphics::Colour kUnmodifiedColour{255, 255, 255, 255};
// Preset-list rows: the current one opaque, the others dimmed.
inline constexpr igraphics::Colour kPresetRowColour{150, 100, 255, 255};
inline constexpr igraphics::Colour kPresetRowHighlightColour{255, 100, 255, 255};
// A row whose preset the last fetch could not read.
inline constexpr igraphics::Colour kUnreadPresetRowColour{255, 255, 110, 110};
// User-IR browser rows, and the selected one.
inline constexpr igraphics::Colour kBrowserRowColour{255, 120, 120, 120};
inline constexpr igraphics::Colour kBrowserRowSelectedColour{255, 200, 200, 200};

// Blocks of the editing area; 0 until the user first opens one.
enum class Block : int {
  kNone = 0,
  kGate = 1,
  kAmbience = 3,
  kImpulseResponse = 4,
  kAnalogSim = 5,
  kLowFilter = 10,
  kMidFilter = 11,
  kHighFilter = 12,
  kDrive = 13,
  kPreAmp = 14,
  kLevel = 15,
  kAutoFilter = 16,
};

inline constexpr int kNoAmpModel = kNumAmpModels;  // no model matches
inline constexpr int kNoAmbienceType = kNumAmbienceTypes;

// The groups that selecting a block switches, in the order they are hidden.
enum class BlockGroup : int {
  kAnalogSim,
  kGate,
  kDynamics,
  kExpander,
  kCompressor,
  kIr,
  kIrDisplay,
  kAmbience,
  kAmbience2,
  kBuzzFilter,
  kPunchFilter,
  kCrunchFilter,
  kLowFilter,
  kMidFilter,
  kHighFilter,
  kDrive,
  kPreAmp,
  kLevel,
  kAutoFilter,
  kCount
};
inline constexpr int kNumBlockGroups = static_cast<int>(BlockGroup::kCount);
// Their names, in that order.
inline constexpr std::array<std::string_view, kNumBlockGroups> kBlockGroupNames = {
    kGroupAnalogSim,   kGroupGate,         kGroupDynamics,    kGroupExpander,
    kGroupCompressor,  kGroupIr,           kGroupIrDisplay,   kGroupAmbience,
    kGroupAmbienceTime, kGroupBuzzFilter,  kGroupPunchFilter, kGroupCrunchFilter,
    kGroupLowFilter,   kGroupMidFilter,    kGroupHighFilter,  kGroupDrive,
    kGroupPreAmp,      kGroupLevel,        kGroupAutoFilter};

// The last event of an invisible selector, handed in with the change it
// caused (the logic never reads a control back).
enum class SelectorEventKind : int { kPress = 0, kRelease = 1, kDrag = 2, kDoubleClick = 3, kWheel = 4 };
enum class SelectorModifier : int { kNone = 0, kShift = 1, kCtrl = 2 };
struct SelectorEvent {
  SelectorEventKind kind = SelectorEventKind::kPress;
  bool positive = false;  // wheel or drag direction
  SelectorModifier modifier = SelectorModifier::kNone;
};

// The preset the editor shows, as the application records it: the edit
// values (what PresetStore writes), the device values of the last dump, and
// whether they differ.
struct PresetRecord {
  std::span<std::atomic<int>, kNumParams> editValues;
  std::span<const std::atomic<int>, kNumParams> deviceValues;
  std::atomic<bool>& modified;
};

struct LiveEditState {
  LiveEditState();

  // The two-digit display shows a parameter value, for so many idle ticks.
  std::atomic<bool> valueDisplayActive{false};
  std::atomic<int> valueDisplayTicks{0};
  // Set by a preset-file import or a model applied here; while set, changes
  // of parameters below 38 mark the preset modified.
  std::atomic<bool> localEdit{false};
  std::atomic<int> selectedBlock{static_cast<int>(Block::kNone)};
  // Top row of the visible part of the preset list (109 - "Scroll").
  std::atomic<int> firstVisibleRow{0};
  std::atomic<bool> autoFilterOn{false};
  std::atomic<int> browserBank{0};

  // Models whose buttons are lit (the buttons' values, kept here).
  std::atomic<int> shownAmpModel{kNoAmpModel};
  std::atomic<int> shownAmbienceType{kNoAmbienceType};
  // Visibility of the block groups as last set; the layout starts with only
  // the impulse-response controls and graph shown.
  std::array<std::atomic<bool>, kNumBlockGroups> groupHidden{};

  // Blinking of the display while a save (A) or a selection (B) is armed.
  std::atomic<bool> blinkModeA{false};
  std::atomic<bool> blinkModeB{false};
  std::atomic<bool> blinkStopArmed{false};
  std::atomic<int> blinkCycles{0};
  int blinkPhase = 0;  // UI thread

  // Footswitches of the main page (UI thread).
  bool upHeld = false;
  bool downHeld = false;
  int repeatCounter = 0;
  bool filterSwitchDown = false;

  bool GroupHidden(BlockGroup group) const {
    return groupHidden[static_cast<std::size_t>(group)].load();
  }
  Block SelectedBlock() const { return static_cast<Block>(selectedBlock.load()); }
};

// What the live-editing units need from the application object.
class LiveEditHost {
 public:
  virtual ~LiveEditHost() = default;

  // The window seam (calls from the audio thread are deferred by it) and
  // whether a window is open: control steps run only then.
  virtual EditorView& View() = 0;
  virtual bool HasWindow() const = 0;

  virtual int ParamInt(int index) const = 0;
  // Store the value converted from position (or from a value in the
  // parameter's range, through its position) and run the handler for index.
  virtual void SetParamToPosition(int index, double position) = 0;
  virtual void SetParamToValue(int index, int value) = 0;
  // Moves the controls bound to index to its current value, without action.
  virtual void QueueForControls(int index) = 0;

  virtual void Send(std::span<const std::uint8_t> message) = 0;
  // PresetStore of the edit values, preset name and user IR names to slot.
  virtual void StorePresetInto(int slot) = 0;
  virtual void SetPresetName(std::string name) = 0;

  // Preset-list row colour (the row is redrawn by the 20 ms timer).
  virtual void SetPresetRowColour(int slot, igraphics::Colour colour) = 0;

  // Impulse responses: the display for the current "IR" value, the names
  // of user IRs (loaded from the store, or as last loaded), the browser.
  virtual void RefreshIrDisplay() = 0;
  virtual std::string LoadUserIrName(int n) = 0;
  virtual std::string BrowserRowText(int row) const = 0;
  virtual void ShowUserIrBank(int bank) = 0;
  virtual bool IrImportBusy() const = 0;
  virtual int BrowserSelection() const = 0;
  virtual void SetBrowserSelection(int n) = 0;
  // A double-click on a browser row: file dialog and WAV import into n.
  virtual void ImportIrIntoRow(int n) = 0;
  // Name of the user IR that cabinet position 7 (A) or 8 (B) plays.
  virtual std::string SourceName(bool sourceB) const = 0;
  // The source now plays user IR n: its stored name becomes the source's
  // name and shows in the source's IR list row.
  virtual void ShowSourceIr(bool sourceB, int n) = 0;
};

}  // namespace kr7
