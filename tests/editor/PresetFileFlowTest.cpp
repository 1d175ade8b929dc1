// The EXPORT and IMPORT buttons end to end: files on disk, the questions and
// messages of the window, what the editor shows, and - connected - what
// reaches the virtual pedal.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "editor/PresetFileFlows.h"
#include "editor/IrImage.h"
#include "model/PresetFile.h"
#include "model/PresetPayload.h"
#include "tests/editor/IrFlowConversation.h"
#include "tests/app/ThreadedReplies.h"

namespace kr7::test {
namespace {

namespace fs = std::filesystem;

constexpr int kImportSlot = 17;
constexpr int kMsbOwnA = 0;  // an MSB below 2 is replaced by the own slot's
constexpr int kMsbOther = 5;  // kept as it stands
constexpr int kLsbInFile = 3;
constexpr std::size_t kTooLongPath = 300;
constexpr auto kThreadedTimeout = std::chrono::seconds(30);

std::string TextAt(const Bytes& file, std::size_t offset) {
  return std::string(file.begin() + static_cast<std::ptrdiff_t>(offset),
                     file.begin() + static_cast<std::ptrdiff_t>(offset + kPresetFileTextSize));
}

void PutText(Bytes& file, std::size_t offset, std::string_view text) {
  std::fill_n(file.begin() + static_cast<std::ptrdiff_t>(offset), kPresetFileTextSize, ' ');
  std::copy(text.begin(), text.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

// A preset file as another editor wrote it: header only.
Bytes PresetFileBytes(std::string_view name, const PresetValues& values, std::string_view irNameA,
                      std::string_view irNameB, std::uint8_t major = kPresetFileMajor,
                      std::uint8_t minor = kPresetFileMinor) {
  Bytes file(kPresetFileHeaderSize, 0x00);
  std::copy(kPresetFileMagic.begin(), kPresetFileMagic.end(), file.begin());  // "RXAP"
  file[kPresetFileMajorOffset] = major;
  file[kPresetFileMinorOffset] = minor;
  PutText(file, kPresetFileNameOffset, name);
  for (int i = 0; i < kNumPresetParams; ++i) {
    file[kPresetFileValuesOffset + static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(values[static_cast<std::size_t>(i)]);
  }
  PutText(file, kPresetFileIrNameAOffset, irNameA);
  PutText(file, kPresetFileIrNameBOffset, irNameB);
  return file;
}

// An impulse response as the editor stores it; samples are whole steps of
// 1/32768, so reading the image back and building it again gives it exactly.
IrImage ImageWithPattern(int seed, std::string_view name) {
  IrDisplayBuffer buffer{};
  for (int i = 0; i < kIrSampleCount; ++i) {
    buffer[static_cast<std::size_t>(i)] = (((i * 7919 + seed * 104729) % 4001) - 2000) / 32768.0;
  }
  return BuildIrImage(buffer, name);
}

// A file for preset slot p whose sources A and B play their own slot's user
// IRs (p and 128 + p), carrying both images.
struct TwoIrFile {
  Bytes bytes;
  IrImage cabA;
  IrImage cabB;
  PresetValues stored;  // the values the pedal's slot p must end with
};

TwoIrFile MakeTwoIrFile(PresetValues values, int slot) {
  values[kParamIrModeA] = 1;
  values[kParamIrModeB] = 1;
  values[kParamUserIrAMsb] = 0;  // own slot: user IR p
  values[kParamUserIrA] = 99;    // replaced by the slot
  values[kParamUserIrBMsb] = 0;  // own slot: user IR 128 + p
  values[kParamUserIrB] = 0;
  TwoIrFile file{PresetFileBytes("Two Cabs", values, "Cab A", "Cab B"),
                 ImageWithPattern(1, "Cab A"), ImageWithPattern(2, "Cab B"), values};
  file.bytes.insert(file.bytes.end(), file.cabA.begin(), file.cabA.end());
  file.bytes.insert(file.bytes.end(), file.cabB.begin(), file.cabB.end());
  file.stored[kParamUserIrA] = slot;
  file.stored[kParamUserIrBMsb] = 1;
  file.stored[kParamUserIrB] = slot;
  return file;
}

class PresetFileFlowTest : public IrFlowConversation {
 protected:
  PresetFileFlows& Files() { return editor->PresetFiles(); }

  // The editor's current values of parameters 0..64: all within range.
  PresetValues CurrentValues() const {
    PresetValues values{};
    for (int i = 0; i < kNumPresetParams; ++i) values[static_cast<std::size_t>(i)] = editor->Parameters().ParamInt(i);
    return values;
  }

  int EditValue(int index) const {
    return editor->Editor().editValues[static_cast<std::size_t>(index)].load();
  }

  // Index in the sent log of the last message with command, or -1.
  int LastSent(std::uint8_t command) const {
    for (int i = static_cast<int>(link.sent.size()) - 1; i >= 0; --i) {
      const Bytes& m = link.sent[static_cast<std::size_t>(i)];
      if (m.size() > kOffsetCommand && m[kOffsetCommand] == command) return i;
    }
    return -1;
  }

  std::string FilePath(const std::string& name) const { return data / name; }

  // Imports, as the current preset 17, a file whose source A plays user IR
  // msb * 128 + kLsbInFile.
  void ImportIntoSlot17WithUserIrA(int msb) {
    editor->Session().currentPreset.store(kImportSlot);
    PresetValues values = CurrentValues();
    values[kParamUserIrAMsb] = msb;
    values[kParamUserIrA] = kLsbInFile;
    WriteBytes(FilePath("slot17.r3p"), PresetFileBytes("Slot 17", values, "", ""));
    window.chosenFile = FilePath("slot17.r3p");
    ASSERT_EQ(Files().Import(), PresetImportResult::kApplied);
  }
};

// ---- export ---------------------------------------------------------------------------

TEST_F(PresetFileFlowTest, ExportWithSevenCharacterNameWritesItPaddedAndShowsIt) {
  editor->Editor().SetPresetName("Old Name");
  editor->Editor().presetModified.store(true);
  editor->Parameters().SetParameterFromPosition(kParamLevel, 1.0);
  window.chosenFile = FilePath("Clean01.r3p");

  ASSERT_TRUE(Files().Export());

  ASSERT_EQ(window.fileRequests.size(), 1u);
  EXPECT_TRUE(window.fileRequests[0].save);
  EXPECT_EQ(window.fileRequests[0].extension, "r3p");
  EXPECT_EQ(window.fileRequests[0].initialName, "Old Name");  // nothing remembered yet
  const Bytes file = ReadBytes(*window.chosenFile);
  ASSERT_EQ(file.size(), kPresetFileHeaderSize);  // no user IR selected: no blocks
  EXPECT_EQ(TextAt(file, kPresetFileMagicOffset).substr(0, kPresetFileMagic.size()), "RXAP");
  EXPECT_EQ(file[kPresetFileMajorOffset], 1);
  EXPECT_EQ(file[kPresetFileMinorOffset], 0);
  EXPECT_EQ(TextAt(file, kPresetFileNameOffset), "Clean01" + std::string(25, ' '));
  EXPECT_EQ(file[kPresetFileValuesOffset + kParamLevel], editor->Parameters().ParamInt(kParamLevel));
  EXPECT_EQ(editor->Editor().PresetName(), "Clean01");
  EXPECT_EQ(window.texts[kTagPresetName], "Clean01");
  EXPECT_FALSE(editor->Editor().presetModified.load());
  EXPECT_EQ(Files().RememberedPath(), *window.chosenFile);
}

TEST_F(PresetFileFlowTest, ExportWithFortyCharacterNameCutsTheFileFieldButShowsItWhole) {
  const std::string stem = "Long Name Long Name Long Name Lo" "ng Name ";  // 40 characters
  ASSERT_EQ(stem.size(), 40u);
  window.chosenFile = FilePath(stem + ".r3p");

  ASSERT_TRUE(Files().Export());

  const Bytes file = ReadBytes(*window.chosenFile);
  EXPECT_EQ(TextAt(file, kPresetFileNameOffset), stem.substr(0, kPresetFileTextSize));
  EXPECT_EQ(editor->Editor().PresetName(), stem);
  EXPECT_EQ(window.texts[kTagPresetName], stem);

  // The next dialog offers the remembered folder with the preset's name.
  ASSERT_TRUE(Files().Export());
  ASSERT_EQ(window.fileRequests.size(), 2u);
  EXPECT_EQ(window.fileRequests[1].initialName, data.Path() + "/" + stem);
}

TEST_F(PresetFileFlowTest, CancelledExportDialogWritesNothing) {
  window.chosenFile = std::nullopt;
  EXPECT_FALSE(Files().Export());
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(data.Path())) {
    EXPECT_NE(entry.path().extension(), ".r3p") << entry.path();
  }
  EXPECT_TRUE(Files().RememberedPath().empty());
}

// ---- import checks ----------------------------------------------------------------------

TEST_F(PresetFileFlowTest, VersionOnePointOneIsRefused) {
  editor->Editor().SetPresetName("Before");
  WriteBytes(FilePath("new.r3p"), PresetFileBytes("Newer", CurrentValues(), "", "", 1, 1));
  window.chosenFile = FilePath("new.r3p");

  EXPECT_EQ(Files().Import(), PresetImportResult::kUnsupportedVersion);

  EXPECT_TRUE(WasShown(kUnsupportedVersionText));
  EXPECT_EQ(editor->Editor().PresetName(), "Before");
  EXPECT_FALSE(editor->Editor().presetModified.load());
}

TEST_F(PresetFileFlowTest, VersionZeroPointNineIsAccepted) {
  WriteBytes(FilePath("old.r3p"), PresetFileBytes("Older", CurrentValues(), "", "", 0, 9));
  window.chosenFile = FilePath("old.r3p");

  EXPECT_EQ(Files().Import(), PresetImportResult::kApplied);

  EXPECT_EQ(editor->Editor().PresetName(), "Older");
  EXPECT_FALSE(WasShown(kUnsupportedVersionText));
}

TEST_F(PresetFileFlowTest, FileOfWrongSizeIsUnknownFormatAndUploadsNothing) {
  Handshake();
  TickUntilQuiet();
  const std::size_t sentBefore = link.sent.size();
  Bytes file = PresetFileBytes("Odd", CurrentValues(), "Cab", "");
  file[kPresetFileValuesOffset + kParamIrModeA] = 1;
  file.resize(kPresetFileHeaderSize + 100, 0x55);  // neither 262, 2698 nor 5134 bytes
  WriteBytes(FilePath("odd.r3p"), file);
  window.chosenFile = FilePath("odd.r3p");

  EXPECT_EQ(Files().Import(), PresetImportResult::kUnknownFormat);
  TickUntilQuiet();
  editor->OnFrameworkTimer();

  EXPECT_TRUE(WasShown(kUnknownFileFormatText));
  EXPECT_EQ(link.sent.size(), sentBefore);
  EXPECT_NE(editor->Editor().PresetName(), "Odd");
}

TEST_F(PresetFileFlowTest, PathThatDoesNotFitIsRefusedWithAMessage) {
  const std::string longPath = data.Path() + "/" + std::string(kTooLongPath, 'x') + ".r3p";
  window.chosenFile = longPath;

  EXPECT_EQ(Files().Import(), PresetImportResult::kPathTooLong);
  EXPECT_TRUE(WasShown(kPathTooLongText));
  EXPECT_TRUE(Files().RememberedPath().empty());

  EXPECT_FALSE(Files().Export());
  std::error_code tooLong;
  EXPECT_FALSE(fs::exists(longPath, tooLong));
}

TEST_F(PresetFileFlowTest, CancelToTheUnsavedQuestionChangesNothing) {
  editor->Editor().presetModified.store(true);
  editor->Editor().SetPresetName("Unsaved");
  WriteBytes(FilePath("p.r3p"), PresetFileBytes("Loaded", CurrentValues(), "", ""));
  window.chosenFile = FilePath("p.r3p");
  window.answers = {false};

  EXPECT_EQ(Files().Import(), PresetImportResult::kCancelled);
  EXPECT_TRUE(WasShown(kPresetNotSavedQuestion));
  EXPECT_EQ(editor->Editor().PresetName(), "Unsaved");
}

// ---- own user-IR slots ----------------------------------------------------------------------

TEST_F(PresetFileFlowTest, ImportIntoSlot17WithMsbZeroPlaysTheSlotsOwnUserIr) {
  ImportIntoSlot17WithUserIrA(kMsbOwnA);

  EXPECT_EQ(editor->Parameters().ParamInt(kParamUserIrAMsb), 0);
  EXPECT_EQ(editor->Parameters().ParamInt(kParamUserIrA), kImportSlot);
  EXPECT_EQ(EditValue(kParamUserIrAMsb), 0);
  EXPECT_EQ(EditValue(kParamUserIrA), kImportSlot);
}

TEST_F(PresetFileFlowTest, ImportIntoSlot17WithMsbFiveKeepsTheFilesNumber) {
  ImportIntoSlot17WithUserIrA(kMsbOther);

  EXPECT_EQ(editor->Parameters().ParamInt(kParamUserIrAMsb), kMsbOther);
  EXPECT_EQ(editor->Parameters().ParamInt(kParamUserIrA), kLsbInFile);
  EXPECT_EQ(EditValue(kParamUserIrAMsb), kMsbOther);
  EXPECT_EQ(EditValue(kParamUserIrA), kLsbInFile);
}

// ---- disconnected -------------------------------------------------------------------------

TEST_F(PresetFileFlowTest, HeaderOnlyImportWhileDisconnectedChangesTheEditorOnly) {
  const pedal::PedalState pedalBefore = pedal.Snapshot();
  PresetValues values = CurrentValues();
  values[kParamLevel] = 99;
  WriteBytes(FilePath("plain.r3p"), PresetFileBytes("Plain", values, "", ""));
  window.chosenFile = FilePath("plain.r3p");

  ASSERT_EQ(Files().Import(), PresetImportResult::kApplied);
  Tick(3, PedalUnplugged);

  EXPECT_EQ(SentNames(), std::vector<std::string>{"GlobalRequest 15"});
  EXPECT_EQ(pedal.Snapshot().presets, pedalBefore.presets);
  EXPECT_EQ(editor->Parameters().ParamInt(kParamLevel), 99);
  EXPECT_EQ(EditValue(kParamLevel), 99);
  EXPECT_EQ(editor->Editor().PresetName(), "Plain");
  EXPECT_EQ(window.texts[kTagPresetName], "Plain");
  EXPECT_TRUE(editor->Editor().presetModified.load());
  ASSERT_TRUE(window.colours.count(kTagPresetNumber));
  EXPECT_EQ(window.colours[kTagPresetNumber], kModifiedColour);
}

// ---- connected, with impulse responses ----------------------------------------------------

TEST_F(PresetFileFlowTest, ImportWithTwoIrsUploadsBothThenStoresThePreset) {
  Handshake();
  pedal.StepToPreset(kImportSlot);
  Deliver();
  TickUntilQuiet();
  ASSERT_EQ(editor->Session().currentPreset.load(), kImportSlot);

  const TwoIrFile two = MakeTwoIrFile(CurrentValues(), kImportSlot);
  const IrImage& cabA = two.cabA;
  const IrImage& cabB = two.cabB;
  ASSERT_EQ(two.bytes.size(), kPresetFileTwoIrSize);
  WriteBytes(FilePath("two.r3p"), two.bytes);
  window.chosenFile = FilePath("two.r3p");
  const std::size_t sentBefore = link.sent.size();

  ASSERT_EQ(Files().Import(), PresetImportResult::kApplied);
  TickUntilQuiet();

  constexpr int kTargetA = kImportSlot;
  constexpr int kTargetB = kSourceBIrOffset + kImportSlot;
  const pedal::PedalState state = pedal.Snapshot();
  ASSERT_TRUE(state.irs[kTargetA].has_value());
  ASSERT_TRUE(state.irs[kTargetB].has_value());
  EXPECT_TRUE(std::equal(cabA.begin(), cabA.end(), state.irs[kTargetA]->begin()));
  EXPECT_TRUE(std::equal(cabB.begin(), cabB.end(), state.irs[kTargetB]->begin()));

  const PresetPayload expected = EncodePresetPayload(two.stored, "Two Cabs", "Cab A", "Cab B");
  EXPECT_EQ(state.presets[kImportSlot], expected);

  // Both uploads went out before the one PresetStore, A's first; the file's
  // values themselves were not sent one by one.
  std::vector<int> beginSlots;
  int stores = 0;
  int parameterSets = 0;
  for (std::size_t i = sentBefore; i < link.sent.size(); ++i) {
    const Bytes& m = link.sent[i];
    if (m[kOffsetCommand] == kCmdIrDumpBegin) beginSlots.push_back(m[kOffsetSlot] * 128 + m[kOffsetSlot + 1]);
    stores += m[kOffsetCommand] == kCmdPresetStore;
    parameterSets += m[kOffsetCommand] == kCmdParameterSet;
  }
  EXPECT_EQ(beginSlots, (std::vector<int>{kTargetA, kTargetB}));
  EXPECT_EQ(stores, 1);
  EXPECT_EQ(parameterSets, 0);
  EXPECT_GT(LastSent(kCmdPresetStore), LastSent(kCmdIrDumpEnd));

  // The local store holds both images too.
  EXPECT_EQ(ReadBytes(editor->IrStore().PathOf(kTargetA)), Bytes(cabA.begin(), cabA.end()));
  EXPECT_EQ(ReadBytes(editor->IrStore().PathOf(kTargetB)), Bytes(cabB.begin(), cabB.end()));
  EXPECT_FALSE(editor->Session().presetFileFirstWaiting.load());
  EXPECT_FALSE(editor->Session().presetFileSecondWaiting.load());
}

// The pedal steps on between the two uploads: the shield stays up and the
// import lands in the slot it started on.
TEST_F(PresetFileFlowTest, ImportWithIrsStoresIntoTheSlotItStartedOn) {
  Handshake();
  pedal.StepToPreset(kImportSlot);
  Deliver();
  const TwoIrFile two = MakeTwoIrFile(CurrentValues(), kImportSlot);
  WriteBytes(FilePath("two.r3p"), two.bytes);
  window.chosenFile = FilePath("two.r3p");
  ASSERT_EQ(Files().Import(), PresetImportResult::kApplied);
  for (int i = 0; i < 20 && CountSent(kCmdIrDumpEnd) == 0; ++i) Tick();
  EXPECT_TRUE(streams.LongTransferRunning());
  pedal.StepBy(1);
  TickUntilQuiet();
  EXPECT_EQ(pedal.Snapshot().presets[kImportSlot],
            EncodePresetPayload(two.stored, "Two Cabs", "Cab A", "Cab B"));
}

TEST_F(PresetFileFlowTest, ImportWithOneIrWhileDisconnectedStoresItLocallyOnly) {
  editor->Session().currentPreset.store(kImportSlot);
  PresetValues values = CurrentValues();
  values[kParamIrModeA] = 1;
  values[kParamUserIrAMsb] = 0;
  const IrImage cabA = ImageWithPattern(3, "Solo Cab");
  Bytes file = PresetFileBytes("Solo", values, "Solo Cab", "");
  file.insert(file.end(), cabA.begin(), cabA.end());
  WriteBytes(FilePath("solo.r3p"), file);
  window.chosenFile = FilePath("solo.r3p");

  ASSERT_EQ(Files().Import(), PresetImportResult::kApplied);
  Tick(3, PedalUnplugged);

  EXPECT_EQ(SentNames(), std::vector<std::string>{"GlobalRequest 15"});
  EXPECT_EQ(ReadBytes(editor->IrStore().PathOf(kImportSlot)), Bytes(cabA.begin(), cabA.end()));
  EXPECT_EQ(editor->Editor().UserIrNameA(), "Solo Cab");
  EXPECT_EQ(window.texts[kTagIrRowA], "Solo Cab");
}

// ---- the receive handler on its own thread -------------------------------------------------

// The acknowledgements that drive the second upload and the final store
// arrive on another thread than the ticks that send; run under
// ThreadSanitizer this checks the hand-over between them.
TEST(PresetFileFlowThreads, TwoIrImportWithTheHandlerOnItsOwnThread) {
  TempFolder data;
  pedal::VirtualPedal pedal(pedal::MakeFactoryState());
  PedalLink link(pedal);
  ReplyQueue replies;
  pedal.SetReplySink([&](ByteSpan reply) { replies.Push(reply); });
  ScriptedView window;
  KR7Control editor{DataFolder(data.Path())};
  ViewDispatcher dispatcher;
  dispatcher.Attach(&window);
  EditorStreamHost host(editor, dispatcher);
  StreamController streams(editor.Session(), host, data.Path());
  editor.SetStreamHooks(&streams);
  editor.SetIrUploader([&](int slot, ByteSpan packed) { return streams.StartIrUpload(slot, packed); });
  editor.SetSysExSender(&link);
  editor.OnWindowOpen(&window);

  const auto deadline = std::chrono::steady_clock::now() + kThreadedTimeout;
  auto audio = std::make_unique<AudioThread>(editor, replies);

  const bool loaded = RunUiUntil(editor, deadline, [&] {
    return editor.Session().connected.load() && !editor.Session().fetching.load() &&
           !editor.Session().activePresetPending.load() && window.texts.count(kTagPresetName) > 0;
  });
  bool stored = false;
  const int slot = editor.Session().currentPreset.load();
  PresetPayload expected{};
  if (loaded) {
    PresetValues values{};
    for (int i = 0; i < kNumPresetParams; ++i) values[static_cast<std::size_t>(i)] = editor.Parameters().ParamInt(i);
    const TwoIrFile two = MakeTwoIrFile(values, slot);
    expected = EncodePresetPayload(two.stored, "Two Cabs", "Cab A", "Cab B");
    WriteBytes(data / "two.r3p", two.bytes);
    window.chosenFile = data / "two.r3p";
    stored = editor.PresetFiles().Import() == PresetImportResult::kApplied &&
             RunUiUntil(editor, deadline, [&] {
               return pedal.Snapshot().presets[static_cast<std::size_t>(slot)] == expected;
             });
  }
  audio.reset();
  editor.SetStreamHooks(nullptr);

  ASSERT_TRUE(loaded) << "the handshake did not finish in time";
  ASSERT_TRUE(stored) << "the preset was not stored in time";
  const pedal::PedalState state = pedal.Snapshot();
  EXPECT_TRUE(state.irs[static_cast<std::size_t>(slot)].has_value());
  EXPECT_TRUE(state.irs[static_cast<std::size_t>(kSourceBIrOffset + slot)].has_value());
}

}  // namespace
}  // namespace kr7::test
