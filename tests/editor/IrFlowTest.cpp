// The impulse-response block end to end: a WAV file chosen for a source is
// stored and uploaded through the virtual pedal, refused files change
// nothing, and the "IR" value draws from the local store.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/IrFlows.h"
#include "editor/IrImage.h"
#include "model/PresetFile.h"
#include "tests/editor/IrFlowConversation.h"
#include "tests/editor/WavBytes.h"

namespace kr7::test {
namespace {

namespace fs = std::filesystem;

constexpr int kFrames = 2000;
constexpr int kSlotB = kSourceBIrOffset;  // source B of preset 0

// A mono 16-bit 44100 Hz RIFF/WAVE file holding samples.
Bytes Wav16(const std::vector<std::int16_t>& samples) {
  return WavBytes().Format({}).Data(Samples({samples.begin(), samples.end()}, 2)).Build();
}

std::vector<std::int16_t> DecayingPattern() {
  std::vector<std::int16_t> samples(kFrames);
  for (int i = 0; i < kFrames; ++i) {
    samples[static_cast<std::size_t>(i)] =
        static_cast<std::int16_t>(((i % 2 == 0) ? 1 : -1) * (20000 - i * 9));
  }
  return samples;
}

std::int16_t SampleOf(const Bytes& image, int i) {
  const std::size_t at = kIrSamplesOffset + 2 * static_cast<std::size_t>(i);
  return static_cast<std::int16_t>(image[at] | (image[at + 1] << 8));
}

class IrFlowTest : public IrFlowConversation {
 protected:
  IrFlows& Irs() { return editor->Irs(); }
};

TEST_F(IrFlowTest, WavImportWhileConnectedUploadsAndThePedalHoldsTheImage) {
  Handshake();
  // The import button of source A is enabled when it plays a user IR.
  editor->Parameters().SetParameterFromPosition(kParamIrModeA, 1.0);
  TickUntilQuiet();
  const int slot = editor->Session().currentPreset.load();
  const std::vector<std::int16_t> samples = DecayingPattern();
  WriteBytes(data / "wavs/My Cab.wav", Wav16(samples));
  window.chosenFile = data / "wavs/My Cab.wav";
  const std::size_t sentBefore = link.sent.size();

  Irs().ImportFromButton(false);
  EXPECT_FALSE(Irs().Busy());
  TickUntilQuiet();

  ASSERT_EQ(window.fileRequests.size(), 1u);
  EXPECT_EQ(window.fileRequests[0].extension, "wav");
  const Bytes local = ReadBytes(editor->IrStore().PathOf(slot));
  ASSERT_EQ(local.size(), kIrImageSize);
  EXPECT_EQ(local[kIrKindOffset], kIrKindEditor);
  EXPECT_EQ(std::string(local.begin() + kIrNameOffset, local.begin() + kIrNameOffset + kIrNameSize),
            "My Cab" + std::string(26, ' '));
  for (int i = 0; i < kIrSampleCount; ++i) {
    ASSERT_EQ(SampleOf(local, i), samples[static_cast<std::size_t>(i)]) << "sample " << i;
  }
  const pedal::PedalState state = pedal.Snapshot();
  ASSERT_TRUE(state.irs[static_cast<std::size_t>(slot)].has_value());
  EXPECT_TRUE(std::equal(local.begin(), local.end(), state.irs[static_cast<std::size_t>(slot)]->begin()));

  // The source's "MSB" went out first, then one whole upload.
  ASSERT_GT(link.sent.size(), sentBefore);
  EXPECT_EQ(link.sent[sentBefore][kOffsetCommand], kCmdParameterSet);
  int begins = 0;
  for (std::size_t i = sentBefore; i < link.sent.size(); ++i) {
    begins += link.sent[i][kOffsetCommand] == kCmdIrDumpBegin;
  }
  EXPECT_EQ(begins, 1);
  EXPECT_EQ(editor->Editor().UserIrNameA(), "My Cab");
  EXPECT_EQ(window.texts[kTagIrRowA], "My Cab");
  EXPECT_EQ(Irs().LastWavPath(), *window.chosenFile);
}

// An upload left unacknowledged leaves the local store as it was.
TEST_F(IrFlowTest, TheStoreTakesAnUploadOnlyOnceThePedalStoredIt) {
  constexpr int kRow = 20;
  Handshake();
  WriteBytes(data / "a.wav", Wav16(DecayingPattern()));
  window.chosenFile = data / "a.wav";
  Irs().ImportIntoRow(kRow);
  Tick(kStreamReplyTicks + 15, [](Bytes& m) { return m[kOffsetCommand] != kReplyIrStored; });
  EXPECT_EQ(host.Pending(), std::vector<std::string>{std::string(kCommunicationErrorText)});
  EXPECT_FALSE(editor->IrStore().HasUserIr(kRow));
  Irs().ImportIntoRow(kRow);
  TickUntilQuiet();
  EXPECT_TRUE(editor->IrStore().HasUserIr(kRow));
}

TEST_F(IrFlowTest, WavImportForSourceBWhileDisconnectedStoresLocallyOnly) {
  WriteBytes(data / "Cab B.wav", Wav16(DecayingPattern()));
  window.chosenFile = data / "Cab B.wav";

  Irs().ImportFromButton(true);
  Tick(3, PedalUnplugged);

  EXPECT_EQ(SentNames(), std::vector<std::string>{"GlobalRequest 15"});
  EXPECT_EQ(Irs().BrowserSelection(), kSlotB);
  EXPECT_EQ(editor->Session().irSlotB.load(), kSlotB);
  EXPECT_EQ(ReadBytes(editor->IrStore().PathOf(kSlotB)).size(), kIrImageSize);
  EXPECT_EQ(editor->Editor().UserIrNameB(), "Cab B");
  EXPECT_EQ(window.texts[kTagIrRowB], "Cab B");
}

TEST_F(IrFlowTest, FileThatIsNotAWavIsRefusedAndNothingIsStoredOrUploaded) {
  Handshake();
  TickUntilQuiet();
  const int slot = editor->Session().currentPreset.load();
  Bytes notWav = Wav16(DecayingPattern());
  std::copy_n("RIFX", 4, notWav.begin());
  WriteBytes(data / "broken.wav", notWav);
  window.chosenFile = data / "broken.wav";

  Irs().ImportFromButton(false);
  TickUntilQuiet();

  EXPECT_TRUE(WasShown(kUnknownFileFormatText));
  EXPECT_FALSE(fs::exists(editor->IrStore().PathOf(slot)));
  EXPECT_EQ(CountSent(kCmdIrDumpBegin), 0);
  EXPECT_FALSE(Irs().Busy());
}

TEST_F(IrFlowTest, CancelledDialogReadsNothingAndClearsBusy) {
  window.chosenFile = std::nullopt;
  Irs().ImportFromButton(false);
  EXPECT_FALSE(Irs().Busy());
  EXPECT_FALSE(fs::exists(editor->IrStore().PathOf(0)));
  EXPECT_TRUE(Irs().LastWavPath().empty());
}

TEST_F(IrFlowTest, RowsOfThePedalsFactoryBankTakeNoFile) {
  window.chosenFile = data / "any.wav";
  Irs().ImportIntoRow(kWritableUserIrCount);
  EXPECT_TRUE(window.fileRequests.empty());
}

TEST_F(IrFlowTest, IrValueShowsTheCachedCabinetOrTheFlatResponse) {
  // Cabinet 8 cached with a half-scale first sample.
  IrDisplayBuffer response{};
  response[0] = 0.5;
  const IrImage cab8 = BuildIrImage(response, "Cab 8");
  WriteBytes(editor->Irs().Store().FactoryIrPath(kFactoryIrCount - 1), Bytes(cab8.begin(), cab8.end()));

  editor->Parameters().SetParameterFromPosition(kParamIr, 1.0);  // v = 127: cabinet 8 alone
  std::optional<IrDisplayBuffer> shown = Irs().TakeDisplay();
  ASSERT_TRUE(shown.has_value());
  EXPECT_DOUBLE_EQ((*shown)[0], 0.5);
  EXPECT_FALSE(Irs().TakeDisplay().has_value());  // taken once per change

  editor->Parameters().SetParameterFromPosition(kParamIr, 0.0);  // v = 0: unit impulse
  shown = Irs().TakeDisplay();
  ASSERT_TRUE(shown.has_value());
  EXPECT_DOUBLE_EQ((*shown)[0], 1.0);
  EXPECT_TRUE(std::all_of(shown->begin() + 1, shown->end(), [](double x) { return x == 0.0; }));
}

TEST_F(IrFlowTest, PreparingTheStoreExtractsTheFactoryFilesAndFillsTheBrowser) {
  constexpr std::int16_t kHalf = 16384;
  const Bytes cabinetWav = Wav16({kHalf});
  IrDisplayBuffer stored{};
  const IrImage userIr = BuildIrImage(stored, "Stored Cab");
  WriteBytes(editor->IrStore().PathOf(1), Bytes(userIr.begin(), userIr.end()));
  std::vector<int> asked;

  Irs().PrepareStore([&](int id) -> std::optional<std::span<const std::uint8_t>> {
    asked.push_back(id);
    return std::span<const std::uint8_t>(cabinetWav);
  });

  EXPECT_EQ(asked, (std::vector<int>{201, 202, 203, 204, 205, 206, 207, 208}));
  for (int k = 0; k < kFactoryIrCount; ++k) {
    EXPECT_EQ(ReadBytes(Irs().Store().FactoryWavPath(k)), cabinetWav) << "cabinet " << k;
  }
  EXPECT_EQ(editor->Editor().UserIrRow(0), "Empty Slot 1");
  EXPECT_EQ(editor->Editor().UserIrRow(1), "Stored Cab");
  EXPECT_EQ(editor->Editor().UserIrRow(kUserIrBankSize - 1), "Empty Slot 32");

  // An uncached cabinet is drawn from its extracted WAV file.
  editor->Parameters().SetParameterFromPosition(kParamIr, 1.0);
  const std::optional<IrDisplayBuffer> shown = Irs().TakeDisplay();
  ASSERT_TRUE(shown.has_value());
  EXPECT_DOUBLE_EQ((*shown)[0], 0.5);
}

}  // namespace
}  // namespace kr7::test
