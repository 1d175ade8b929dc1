#pragma once
// Every text the editor shows to the user that the logic writes: message-box
// texts, questions, status lines, overlay titles and the formats of the
// texts it builds. They are the product's own words and stay as they stand,
// odd spacing and line breaks included. Formats are printf-style.

#include <string_view>

namespace kr7 {

// ---- message boxes ----------------------------------------------------------
inline constexpr std::string_view kFinishedText = "Finished successfully!";
inline constexpr std::string_view kErrorText = "ERROR!";
inline constexpr std::string_view kCommunicationErrorText = "Communication error!";
inline constexpr std::string_view kUnknownFileFormatText = "Unknown file format.";
inline constexpr std::string_view kUnsupportedVersionText =
    "Unsupported file version. \nPlease update the KR7 Editor \nto the latest version.";
inline constexpr std::string_view kFirmwareFinishedText = "Firmware update finished.";
inline constexpr std::string_view kFirmwareErrorText = "Error in update!";
inline constexpr std::string_view kSoundcardText =
    "Please check your soundcard settings in Preferences";
// Format with the editor's own version number.
inline constexpr std::string_view kUpgradePedalFormat = "Please upgrade KR7 to actual version %d.";
inline constexpr std::string_view kEditorOutOfDateText =
    "Editor version out of date. Please download the most recent version.";
// The shell's answer when the manual cannot be opened.
inline constexpr std::string_view kSeeManualText = "See the manual";
// Not one of the pedal's texts: a settings change or a map was to replace
// the pedal's copy with no pedal connected, or before that copy had arrived.
inline constexpr std::string_view kPedalNotConnectedText = "The pedal is not connected.";
inline constexpr std::string_view kSettingsNotArrivedText =
    "The pedal's settings have not arrived yet. Please try again.";
inline constexpr std::string_view kControllerMapNotArrivedText =
    "The pedal's MIDI CC map has not arrived yet. Please try again.";
inline constexpr std::string_view kProgramMapNotArrivedText =
    "The pedal's program change map has not arrived yet. Please try again.";
// Not one of the pedal's texts: a chosen path longer than the editor keeps.
inline constexpr std::string_view kPathTooLongText =
    "The path of the chosen file is too long. \nPlease choose a shorter path.";

// Not one of the pedal's texts: an impulse-response upload (WAV or preset
// file) asked for while another one is still on its way.
inline constexpr std::string_view kIrUploadBusyText =
    "An impulse response is being sent to the KR7. \nPlease wait until it is stored.";

// Not one of the pedal's texts: an export that stopped because one of its
// parts kept arriving broken (preset slot, user IR number), or because the
// finished file would not import again. No file is written then.
inline constexpr std::string_view kExportPresetUnreadFormat =
    "The export was stopped: preset slot %d could not be read from the KR7 intact. \nNo file was written.";
inline constexpr std::string_view kExportIrUnreadFormat =
    "The export was stopped: user IR %d could not be read from the KR7 intact. \nNo file was written.";
inline constexpr std::string_view kExportCheckFailedText =
    "The export was stopped: the file would not import again. \nNo file was written.";
// Not one of the pedal's texts: a bank transfer asked for with no pedal.
inline constexpr std::string_view kNotConnectedText =
    "The KR7 is not connected. \nPlease connect it and try again.";

// ---- questions (OK and Cancel) ------------------------------------------------
inline constexpr std::string_view kResetQuestion = "Are you sure?";
inline constexpr std::string_view kFactoryUpdateQuestion =
    "This operation will update the factory presets\n and reset the device to its factory "
    "default settings. \nAre you sure you want to do this?";
// Format with the bank file's version (byte / 10.0).
inline constexpr std::string_view kBankVersionQuestion =
    "File version is %.1f. This can cause incompatibility problems. \nAre you sure you want to "
    "use it?";
inline constexpr std::string_view kImportQuestion =
    "This operation will overwrite the current Presets!\nAre you sure to continue?";
inline constexpr std::string_view kPresetNotSavedQuestion =
    "Current Preset not saved. \nContinue without saving?";
inline constexpr std::string_view kOverwriteUserIrQuestion =
    "This operation will overwrite the currently selected User IR. \nContinue without saving?";
// Not one of the pedal's texts: the automatic backup could not be made.
inline constexpr std::string_view kBackupFailedQuestion =
    "The pedal could not be backed up before it is overwritten.\nGo on without a backup?";

// ---- captions of message boxes ------------------------------------------------
inline constexpr std::string_view kWarningCaption = "Warning";
inline constexpr std::string_view kErrorCaption = "Error";

// ---- texts of controls ----------------------------------------------------------
inline constexpr std::string_view kDeviceLineText = "DEVICE: Norvane Valvora KR7";
inline constexpr std::string_view kConnectingText = "Connecting to the device...";
// Not one of the pedal's texts: the fetch gave up on some presets (count).
inline constexpr std::string_view kUnreadPresetsFormat = "%d presets could not be read.";
inline constexpr std::string_view kVersionLineFormat = "VERSION: %.1f";  // version / 10.0
inline constexpr std::string_view kSerialLinePrefix = "SERIAL: ";
inline constexpr std::string_view kPresetProgressTitle = "Loading Presets...";
inline constexpr std::string_view kFactoryProgressTitle = "Upgrading Factory Presets...";
inline constexpr std::string_view kIrEditHintText = "CLICK HERE TO EDIT IMPULSE RESPONSE";
inline constexpr std::string_view kStandaloneNoticeText =
    "Editing is not possible in Standalone Mode.";
// Titles and words of the block editors' value texts.
inline constexpr std::string_view kBypassText = "Bypass";
inline constexpr std::string_view kMinusInfinityText = "-inf.";
inline constexpr std::string_view kExpanderTitle = "EXPANDER";
inline constexpr std::string_view kDynamicsTitle = "DYNAMICS";
inline constexpr std::string_view kCompressorTitle = "COMPRESSOR";
inline constexpr std::string_view kSmoothingCaption = "SMOOTHING";
inline constexpr std::string_view kDigitalSmoothCaption = "DIGITAL SMOOTH";
inline constexpr std::string_view kAnalogSmoothCaption = "ANALOG SMOOTH";
// A user impulse-response slot without a name; format with the row (1..32).
inline constexpr std::string_view kEmptySlotFormat = "Empty Slot %d";
// The progress percentage: whole percent cut, or rounded while an impulse
// response arrives.
inline constexpr std::string_view kPercentFormat = "%d %%";
inline constexpr std::string_view kIrDumpPercentFormat = "%.0f %%";

// ---- additions of the editor beyond the pedal's own texts ----------------------
// The progress text while the automatic backup runs.
inline constexpr std::string_view kBackingUpText = "Backing up the pedal...";
// The pedal search, on the device line and in the preferences dialog.
inline constexpr std::string_view kSearchingText = "Looking for the pedal on every MIDI port...";
inline constexpr std::string_view kFoundTextPrefix = "Pedal found: ";
inline constexpr std::string_view kFoundText = "Pedal found.";
inline constexpr std::string_view kNotFoundText = "No pedal answered on any MIDI port.";
// The in-process virtual pedal: its entry in both MIDI port lists, the
// serial its device line shows and the window title while it is chosen.
inline constexpr std::string_view kBuiltInPedalPortName = "KR7 Virtual Pedal (built in)";
inline constexpr std::string_view kBuiltInPedalSerial = "VIRTUAL";
inline constexpr std::string_view kBuiltInPedalTitle = "KR7Control - KR7 Virtual Pedal (built in)";

}  // namespace kr7
