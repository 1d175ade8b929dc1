// The state folder and the bank file.

#include <gmock/gmock.h>

#include <filesystem>

#include "model/FileIO.h"
#include "pedal/StateStore.h"
#include "tests/pedal/PedalHarness.h"
#include "tests/support/TempFolder.h"

namespace kr7::pedal::test {
namespace {

constexpr unsigned kEverything =
    kChangePresets | kChangeFactoryBank | kChangeGlobals | kChangeIrs | kChangeFirmware;

TEST(PedalStateStore, EmptyFolderLeavesTheFactoryState) {
  kr7::test::TempFolder folder;
  PedalState state = MakeFactoryState();
  EXPECT_EQ(StateStore(folder.Path()).Load(state), 0);
  EXPECT_EQ(state.presets[0], DeterministicPreset(0));
}

TEST(PedalStateStore, SavedStateComesBackWhole) {
  kr7::test::TempFolder folder;
  PedalState state = MakeFactoryState();
  state.presets[17] = HandPayload();
  state.factoryBank[3] = HandPayload();
  state.activeSlot = 17;
  state.version = 13;
  state.serial = "SAVED-1";
  state.globals[2] = 1;
  state.controllerMap[9] = 44;
  state.programMap[0] = 99;
  state.irs[5] = DeterministicIr("KEPT", 2);
  state.firmware = {1, 2, 3};
  ASSERT_TRUE(StateStore(folder.Path()).Save(state, kEverything));

  PedalState loaded = MakeFactoryState();
  EXPECT_GT(StateStore(folder.Path()).Load(loaded), 0);
  EXPECT_EQ(loaded.presets, state.presets);
  EXPECT_EQ(loaded.factoryBank, state.factoryBank);
  EXPECT_EQ(loaded.activeSlot, 17);
  EXPECT_EQ(loaded.editBuffer, HandPayload());
  EXPECT_EQ(loaded.version, 13);
  EXPECT_EQ(loaded.serial, "SAVED-1");
  EXPECT_EQ(loaded.globals, state.globals);
  EXPECT_EQ(loaded.controllerMap, state.controllerMap);
  EXPECT_EQ(loaded.programMap, state.programMap);
  EXPECT_EQ(loaded.irs, state.irs);
  EXPECT_EQ(loaded.firmware, state.firmware);
}

TEST(PedalStateStore, DamagedFilesAreIgnored) {
  kr7::test::TempFolder folder;
  const std::string bad = "not a bank";
  ASSERT_TRUE(WriteFileAtomically(folder / "presets.bin", bad.data(), bad.size()));
  Bytes globals(kGlobalsFileSize, 0);  // wrong magic
  ASSERT_TRUE(WriteFileAtomically(folder / "globals.bin", globals.data(), globals.size()));
  std::filesystem::create_directories(folder / "irs");
  ASSERT_TRUE(WriteFileAtomically(folder / "irs/005.dat", bad.data(), bad.size()));
  PedalState state = MakeFactoryState();
  EXPECT_EQ(StateStore(folder.Path()).Load(state), 0);
  EXPECT_EQ(state.presets[0], DeterministicPreset(0));
  EXPECT_FALSE(state.irs[5].has_value());
}

TEST(PedalStateStore, PedalChangesReachTheFolderThroughTheHook) {
  kr7::test::TempFolder folder;
  const StateStore store(folder.Path());
  {
    VirtualPedal pedal(MakeFactoryState());
    pedal.SetStateChangedHook(
        [&store](const PedalState& state, unsigned changes) { store.Save(state, changes); });
    pedal.Receive(build::PresetStore(8, HandPayload()));
    pedal.Receive(build::PresetSelect(8));
  }
  PedalState restarted = MakeFactoryState();
  store.Load(restarted);
  EXPECT_EQ(restarted.presets[8], HandPayload());
  EXPECT_EQ(restarted.activeSlot, 8);
}

TEST(PedalFactoryBank, WellFormedBankIsRead) {
  const Bytes bank = BankFile(HandPayload());
  ASSERT_EQ(bank.size(), kFactoryBankFileSize);
  std::string error;
  const auto payloads = ParseFactoryBank(bank, &error);
  ASSERT_TRUE(payloads.has_value()) << error;
  EXPECT_EQ((*payloads)[127], HandPayload());
}

TEST(PedalFactoryBank, DamagedBanksAreRefusedWithAReason) {
  Bytes bank = BankFile(HandPayload());
  std::string error;
  EXPECT_FALSE(ParseFactoryBank(ByteSpan(bank).first(1000), &error).has_value());
  EXPECT_FALSE(error.empty());
  Bytes wrongChecksum = bank;
  wrongChecksum[267 * 5 + 265] ^= 0x01;
  EXPECT_FALSE(ParseFactoryBank(wrongChecksum, &error).has_value());
  Bytes wrongOrder = bank;
  wrongOrder[267 * 2 + 7] = 3;  // slot 3 where 2 belongs
  EXPECT_FALSE(ParseFactoryBank(wrongOrder, &error).has_value());
}

}  // namespace
}  // namespace kr7::pedal::test
