// The preset payload: reading its fields, building it from the editor's
// state, and applying a received dump to the editor.

#include <algorithm>
#include <string>

#include "device/SettingsBlock.h"
#include "model/PresetPayload.h"
#include "tests/app/Conversation.h"

namespace kr7::test {
namespace {

constexpr std::size_t kNameEnd = kPayloadNameOffset + kPayloadTextSize;        // 34
constexpr std::size_t kIrNameAEnd = kPayloadIrNameAOffset + kPayloadTextSize;  // 224
constexpr std::size_t kIrNameBEnd = kPayloadIrNameBOffset + kPayloadTextSize;  // 256
constexpr std::size_t kMessagePayload = kOffsetBlockContents;                  // 8

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

std::string FieldText(const Bytes& message, std::size_t payloadOffset) {
  const auto begin = message.begin() + static_cast<std::ptrdiff_t>(kMessagePayload + payloadOffset);
  return std::string(begin, begin + static_cast<std::ptrdiff_t>(kPayloadTextSize));
}

// ---- reading ----------------------------------------------------------------------

TEST(PresetPayloadDecode, AllZeroPayloadGivesEmptyNamesAndZeroValues) {
  const PresetPayload zero{};
  const DecodedPreset decoded = DecodePresetPayload(zero);
  EXPECT_EQ(decoded.name, "");
  EXPECT_EQ(decoded.irNameA, "");
  EXPECT_EQ(decoded.irNameB, "");
  EXPECT_TRUE(
      std::all_of(decoded.values.begin(), decoded.values.end(), [](int v) { return v == 0; }));
}

TEST(PresetPayloadDecode, NameStopsAtZeroByteAndKeepsItsPadding) {
  PresetPayload payload{};
  const std::string name = "CLEAN";
  std::copy(name.begin(), name.end(), payload.begin() + kPayloadNameOffset);
  EXPECT_EQ(DecodePresetPayload(payload).name, "CLEAN");

  std::fill(payload.begin() + kPayloadNameOffset + name.size(), payload.begin() + kNameEnd, ' ');
  EXPECT_EQ(DecodePresetPayload(payload).name, "CLEAN" + Repeat(' ', kPayloadTextSize - 5));
}

TEST(PresetPayloadDecode, FullNameFieldIsTakenWholeAndNothingBeyond) {
  PresetPayload payload{};
  std::fill(payload.begin() + kPayloadNameOffset, payload.begin() + kNameEnd, 'N');
  payload[kPayloadValuesOffset] = 'X';  // parameter 0, right after the field
  EXPECT_EQ(DecodePresetPayload(payload).name, Repeat('N', kPayloadTextSize));
}

TEST(PresetPayloadDecode, IrNamesLoseTrailingSpacesAndEndAtZero) {
  PresetPayload payload{};
  std::fill(payload.begin() + kPayloadIrNameAOffset, payload.begin() + kIrNameAEnd, ' ');
  const std::string a = "MY CAB";
  std::copy(a.begin(), a.end(), payload.begin() + kPayloadIrNameAOffset);
  const std::string b = "OTHER";  // zero-padded, as the pedal may send it
  std::copy(b.begin(), b.end(), payload.begin() + kPayloadIrNameBOffset);
  const DecodedPreset decoded = DecodePresetPayload(payload);
  EXPECT_EQ(decoded.irNameA, "MY CAB");
  EXPECT_EQ(decoded.irNameB, "OTHER");
}

TEST(PresetPayloadDecode, ValuesAreReadInIndexOrder) {
  PresetPayload payload{};
  for (int i = 0; i < kNumPresetParams; ++i) {
    payload[kPayloadValuesOffset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 1);
  }
  const DecodedPreset decoded = DecodePresetPayload(payload);
  EXPECT_EQ(decoded.values[kParamLevel], 1);
  EXPECT_EQ(decoded.values[kParamPresetLevel], kNumPresetParams);
}

TEST(PresetPayloadDecode, ShortBufferReadsAsZeroPadded) {
  const Bytes shortPayload = {0x01, 0x00, 'A', 'B'};
  const DecodedPreset decoded = DecodePresetPayload(shortPayload);
  EXPECT_EQ(decoded.name, "AB");
  EXPECT_EQ(decoded.values[kParamLevel], 0);
}

// ---- building ----------------------------------------------------------------------

TEST(PresetPayloadEncode, MarkerValuesAndZeroGap) {
  PresetValues values{};
  values[kParamLevel] = 100;
  values[kParamPresetLevel] = 32;
  const PresetPayload payload = EncodePresetPayload(values, "", "", "");
  EXPECT_EQ(payload[kPayloadMarkerOffset], 0x01);
  EXPECT_EQ(payload[1], 0x00);
  EXPECT_EQ(payload[kPayloadValuesOffset + kParamLevel], 100);
  EXPECT_EQ(payload[kPayloadValuesOffset + kParamPresetLevel], 32);
  const auto gapBegin = payload.begin() + kPayloadValuesOffset + kNumPresetParams;  // 99
  EXPECT_TRUE(std::all_of(gapBegin, payload.begin() + kPayloadIrNameAOffset,
                          [](std::uint8_t b) { return b == 0; }));
}

TEST(PresetPayloadEncode, CharacterOutsideMidiDataBecomesQuestionMark) {
  const PresetPayload payload = EncodePresetPayload(PresetValues{}, "Gr\xC3\xBCn", "", "");
  EXPECT_EQ(
      std::string(payload.begin() + kPayloadNameOffset, payload.begin() + kPayloadNameOffset + 5),
      "Gr??n");
}

TEST(PresetPayloadEncode, RoundTripThroughDecode) {
  PresetValues values{};
  values[kParamIrModeA] = 1;
  values[kParamIrModeB] = 1;
  values[kParamGain] = 77;
  const PresetPayload payload = EncodePresetPayload(values, "LEAD", "ROOM MIC", "FAR MIC");
  const DecodedPreset decoded = DecodePresetPayload(payload);
  EXPECT_EQ(decoded.name, "LEAD" + Repeat(' ', kPayloadTextSize - 4));
  EXPECT_EQ(decoded.irNameA, "ROOM MIC");
  EXPECT_EQ(decoded.irNameB, "FAR MIC");
  EXPECT_EQ(decoded.values, values);
  EXPECT_EQ(EncodePresetPayload(decoded.values, decoded.name, decoded.irNameA, decoded.irNameB),
            payload);
}

// ---- the editor's encoder and decoder ------------------------------------------------

class PresetCodecConversation : public Conversation {
 protected:
  void SetUp() override {
    Handshake();
    link.sent.clear();
  }

  // A dump of slot carrying payload, with a right checksum.
  void ReceiveDump(int slot, const PresetPayload& payload) {
    inbox.push_back(build::PresetDump(static_cast<std::uint8_t>(slot), payload));
    Deliver();
  }
  int Param(int index) { return editor->Params().GetParam(index)->Int(); }
};

TEST_F(PresetCodecConversation, DumpForSlot120ScrollsToTheTop) {
  ReceiveDump(120, pedal::DeterministicPreset(120));
  EXPECT_EQ(Param(kParamScroll), 0);
  EXPECT_EQ(editor->Session().currentPreset.load(), 120);
  EXPECT_EQ(editor->Session().highlightedSlot.load(), 120);
  EXPECT_EQ(editor->Editor().PresetRowColour(120), kPresetRowHighlightColour);
  EXPECT_EQ(editor->Editor().PresetRowColour(0), kPresetRowColour);
}

TEST_F(PresetCodecConversation, DumpForSlot5Scrolls104) {
  ReceiveDump(120, pedal::DeterministicPreset(120));
  ReceiveDump(5, pedal::DeterministicPreset(5));
  EXPECT_EQ(Param(kParamScroll), 104);
}

TEST_F(PresetCodecConversation, DumpAppliesValuesNameNumberAndListEntry) {
  PresetPayload payload = pedal::DeterministicPreset(9);
  payload[kPayloadValuesOffset + kParamLevel] = 99;
  ReceiveDump(9, payload);
  editor->OnFrameworkTimer();

  EXPECT_EQ(Param(kParamLevel), 99);
  EXPECT_EQ(editor->Editor().deviceValues[kParamLevel].load(), 99);
  EXPECT_EQ(editor->Editor().editValues[kParamLevel].load(), 99);
  EXPECT_EQ(view.texts[kTagPresetNumber], "09");
  EXPECT_EQ(view.colours[kTagPresetNumber], kUnmodifiedColour);
  EXPECT_EQ(editor->Cache().ListText(9), " 09 " + DecodePresetPayload(payload).name);
  EXPECT_FALSE(editor->Editor().presetModified.load());
  EXPECT_EQ(CountSent(kCmdParameterSet), 0);  // applying: no value goes back
  EXPECT_DOUBLE_EQ(view.parameterValues[kParamLevel], 99.0);
}

TEST_F(PresetCodecConversation, ReverbExtensionFactorFromZeroIsTwoButDeviceValueStaysZero) {
  PresetPayload payload = pedal::DeterministicPreset(1);
  payload[kPayloadValuesOffset + kParamReverbExtensionFactor] = 0;  // byte 53
  ReceiveDump(1, payload);
  EXPECT_EQ(Param(kParamReverbExtensionFactor), 2);
  EXPECT_EQ(editor->Editor().deviceValues[kParamReverbExtensionFactor].load(), 0);
  EXPECT_EQ(editor->Editor().editValues[kParamReverbExtensionFactor].load(), 2);
  EXPECT_FALSE(editor->Editor().presetModified.load());
}

TEST_F(PresetCodecConversation, FactoryNamesShowForSourcesWithoutUserIr) {
  PresetPayload payload = pedal::DeterministicPreset(2);
  payload[kPayloadValuesOffset + kParamIrModeA] = 0;
  payload[kPayloadValuesOffset + kParamIrModeB] = 1;
  std::fill(payload.begin() + kPayloadIrNameBOffset, payload.begin() + kIrNameBEnd, ' ');
  const std::string b = "USER B";
  std::copy(b.begin(), b.end(), payload.begin() + kPayloadIrNameBOffset);
  ReceiveDump(2, payload);
  EXPECT_EQ(view.texts[kTagIrRowA], "BRIT 2x12");
  EXPECT_EQ(view.texts[kTagIrRowB], "USER B");
  EXPECT_EQ(editor->Editor().UserIrNameB(), "USER B");
}

TEST_F(PresetCodecConversation, DumpWithWrongChecksumChangesOnlySlotHighlightAndScroll) {
  const int levelBefore = Param(kParamLevel);
  const std::string nameBefore = view.texts[kTagPresetName];
  Bytes dump = build::PresetDump(120, pedal::DeterministicPreset(120));
  dump[kPayloadValuesOffset + kMessagePayload] ^= 0x01;  // payload changed, checksum not
  inbox.push_back(dump);
  Deliver();
  EXPECT_EQ(editor->Session().currentPreset.load(), 120);
  EXPECT_EQ(Param(kParamScroll), 0);
  EXPECT_EQ(Param(kParamLevel), levelBefore);
  EXPECT_EQ(view.texts[kTagPresetName], nameBefore);
  EXPECT_EQ(view.texts[kTagPresetNumber], "00");
}

TEST_F(PresetCodecConversation, StoreCutsA40CharacterNameTo32) {
  editor->Editor().SetPresetName(Repeat('L', 32) + "OVERFLOW");
  const Bytes store = BuildPresetStore(editor->Editor(), editor->Session().currentPreset.load());
  ASSERT_EQ(store.size(), kBlockMessageSize);
  EXPECT_EQ(FieldText(store, kPayloadNameOffset), Repeat('L', 32));
  EXPECT_TRUE(BlockChecksumOk(store));
}

TEST_F(PresetCodecConversation, StorePadsAFiveCharacterNameWith27Spaces) {
  editor->Editor().SetPresetName("CRUNC");
  const Bytes store = BuildPresetStore(editor->Editor(), editor->Session().currentPreset.load());
  EXPECT_EQ(FieldText(store, kPayloadNameOffset), "CRUNC" + Repeat(' ', 27));
}

TEST_F(PresetCodecConversation, StoreWritesSpacesForIrNameWhenIrModeIsZero) {
  editor->Editor().SetUserIrNameA("SHOWN BUT NOT STORED");
  editor->Editor().editValues[kParamIrModeA].store(0);
  const Bytes store = BuildPresetStore(editor->Editor(), editor->Session().currentPreset.load());
  EXPECT_EQ(FieldText(store, kPayloadIrNameAOffset), Repeat(' ', kPayloadTextSize));

  editor->Editor().editValues[kParamIrModeA].store(1);
  EXPECT_EQ(FieldText(BuildPresetStore(editor->Editor(), editor->Session().currentPreset.load()), kPayloadIrNameAOffset),
            "SHOWN BUT NOT STORED" + Repeat(' ', 12));
}

TEST_F(PresetCodecConversation, StoreFramesTheCurrentSlotAndEditValues) {
  ReceiveDump(7, pedal::DeterministicPreset(7));
  editor->Editor().editValues[kParamLevel].store(42);
  const Bytes store = BuildPresetStore(editor->Editor(), editor->Session().currentPreset.load());
  // F0 00 51 21 03 | 20 PresetStore | 0C format | 07 slot | 01 00 marker
  const Bytes header = {0xF0, 0x00, 0x51, 0x21, 0x03, 0x20, 0x0C, 0x07, 0x01, 0x00};
  EXPECT_TRUE(std::equal(header.begin(), header.end(), store.begin()));
  EXPECT_EQ(store[kMessagePayload + kPayloadValuesOffset + kParamLevel], 42);
  EXPECT_EQ(store.back(), kSysExEnd);
}

// ---- the settings block ----------------------------------------------------------------

Bytes SettingsBlockWith(std::size_t messageByte, std::uint8_t value) {
  std::array<std::uint8_t, kBlockContentsSize> contents{};
  contents[ContentsIndex(messageByte)] = value;
  return build::GlobalBlock(kGlobalSettings, contents);
}

TEST_F(PresetCodecConversation, SettingsByte14OfTwoIsOnAndIsSentBackAsTwo) {
  inbox.push_back(SettingsBlockWith(kSettingsSwitchByte, 2));
  Deliver();
  EXPECT_EQ(Param(kParamEditPotDisplayMode), 1);

  const Bytes sent = BuildSettingsBlock(editor->Params(), editor->Session().currentPreset.load());
  ASSERT_EQ(sent.size(), kBlockMessageSize);
  // F0 00 51 21 03 | 52 GlobalBlock | 0C | 00 type 0
  const Bytes header = {0xF0, 0x00, 0x51, 0x21, 0x03, 0x52, 0x0C, 0x00};
  EXPECT_TRUE(std::equal(header.begin(), header.end(), sent.begin()));
  EXPECT_EQ(sent[kSettingsSwitchByte], 2);
  EXPECT_TRUE(BlockChecksumOk(sent));
}

TEST_F(PresetCodecConversation, SettingsBlockCarriesEveryParameterAtItsByte) {
  editor->Parameters().SetParameterFromRaw(kParamPatchOffset, 1);          // byte 11
  editor->Parameters().SetParameterFromRaw(kParamTunerFrequency, 20);      // byte 16
  editor->Parameters().SetParameterFromRaw(kParamAntiAliasingFilter, 99);  // byte 21
  editor->Parameters().SetParameterFromRaw(kParamCabinetBypass, 1);        // byte 24
  editor->Parameters().SetParameterFromRaw(kParamEditPotDisplayMode, 0);   // byte 14
  const Bytes sent = BuildSettingsBlock(editor->Params(), editor->Session().currentPreset.load());
  EXPECT_EQ(sent[kSettingsActiveSlotByte], editor->Session().currentPreset.load());
  EXPECT_EQ(sent[11], 1);
  EXPECT_EQ(sent[16], 20);
  EXPECT_EQ(sent[21], 99);
  EXPECT_EQ(sent[kSettingsLastParameterByte], 1);
  EXPECT_EQ(sent[kSettingsSwitchByte], 0);
  EXPECT_EQ(sent[22], 0);  // bytes 22 and 23 belong to no parameter
}

TEST_F(PresetCodecConversation, SettingsBlockWithWrongChecksumChangesNothing) {
  Bytes block = SettingsBlockWith(kSettingsSwitchByte, 2);
  block[kOffsetBlockChecksumLow] ^= 0x01;
  inbox.push_back(block);
  Deliver();
  EXPECT_EQ(Param(kParamEditPotDisplayMode), 0);
  EXPECT_TRUE(link.sent.empty());  // neither BulkEnd nor a PresetRequest
}

}  // namespace
}  // namespace kr7::test
