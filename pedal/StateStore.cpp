#include "pedal/StateStore.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "model/DataFolder.h"
#include "model/FileIO.h"
#include "pedal/VirtualPedal.h"

namespace kr7::pedal {

namespace {

constexpr std::string_view kPresetsFile = "presets.bin";
constexpr std::string_view kFactoryFile = "factory.bin";
constexpr std::string_view kGlobalsFile = "globals.bin";
constexpr std::string_view kFirmwareFile = "firmware.bin";
constexpr std::string_view kIrFolder = "irs";
constexpr std::array<std::uint8_t, 4> kGlobalsMagic = {'K', 'R', '7', 'V'};
constexpr std::uint8_t kGlobalsLayout = 1;
constexpr std::size_t kBankFileSize = kNumSlots * kPresetPayloadSize;
constexpr std::size_t kMaxFirmwareFile = 1 << 17;

// globals.bin offsets.
constexpr std::size_t kLayoutOffset = 4;
constexpr std::size_t kActiveSlotOffset = 5;
constexpr std::size_t kVersionOffset = 6;
constexpr std::size_t kSettingsOffset = 7;
constexpr std::size_t kControllerOffset = kSettingsOffset + kNumGlobalSettings;
constexpr std::size_t kProgramOffset = kControllerOffset + kNumControllerValues;
constexpr std::size_t kSerialOffset = kProgramOffset + kNumProgramEntries;
static_assert(kSerialOffset + kTextFieldSize == kGlobalsFileSize);

std::string IrFileName(int slot) {
  char name[16];
  std::snprintf(name, sizeof name, "%03d.dat", slot);
  return name;
}

// The whole file when it has exactly `size` bytes, else empty.
Bytes ReadExactly(const std::string& path, std::size_t size) {
  FileReader reader(path);
  if (!reader.IsOpen() || reader.Size() != size) {
    return {};
  }
  Bytes bytes = reader.ReadAll(size);
  return bytes.size() == size ? bytes : Bytes{};
}

bool LoadBank(const std::string& path, std::array<PresetPayload, kNumSlots>& bank) {
  const Bytes bytes = ReadExactly(path, kBankFileSize);
  if (bytes.empty()) {
    return false;
  }
  for (std::size_t slot = 0; slot < kNumSlots; ++slot) {
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(slot * kPresetPayloadSize), kPresetPayloadSize,
                bank[slot].begin());
  }
  return true;
}

bool SaveBank(const std::string& path, const std::array<PresetPayload, kNumSlots>& bank) {
  Bytes bytes;
  bytes.reserve(kBankFileSize);
  for (const PresetPayload& payload : bank) {
    bytes.insert(bytes.end(), payload.begin(), payload.end());
  }
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}

bool LoadGlobals(const std::string& path, PedalState& state) {
  const Bytes bytes = ReadExactly(path, kGlobalsFileSize);
  if (bytes.empty() || !std::equal(kGlobalsMagic.begin(), kGlobalsMagic.end(), bytes.begin()) ||
      bytes[kLayoutOffset] != kGlobalsLayout || bytes[kActiveSlotOffset] >= kNumSlots) {
    return false;
  }
  state.activeSlot = bytes[kActiveSlotOffset];
  state.version = bytes[kVersionOffset];
  std::copy_n(bytes.begin() + kSettingsOffset, kNumGlobalSettings, state.globals.begin());
  std::copy_n(bytes.begin() + kControllerOffset, kNumControllerValues, state.controllerMap.begin());
  std::copy_n(bytes.begin() + kProgramOffset, kNumProgramEntries, state.programMap.begin());
  state.serial = std::string(
      TrimTrailingSpaces(ReadText(ByteSpan(bytes).subspan(kSerialOffset, kTextFieldSize))));
  return true;
}

bool SaveGlobals(const std::string& path, const PedalState& state) {
  Bytes bytes(kGlobalsFileSize, 0);
  std::copy(kGlobalsMagic.begin(), kGlobalsMagic.end(), bytes.begin());
  bytes[kLayoutOffset] = kGlobalsLayout;
  bytes[kActiveSlotOffset] = static_cast<std::uint8_t>(state.activeSlot);
  bytes[kVersionOffset] = state.version;
  std::copy(state.globals.begin(), state.globals.end(), bytes.begin() + kSettingsOffset);
  std::copy(state.controllerMap.begin(), state.controllerMap.end(),
            bytes.begin() + kControllerOffset);
  std::copy(state.programMap.begin(), state.programMap.end(), bytes.begin() + kProgramOffset);
  WriteText(MutableByteSpan(bytes).subspan(kSerialOffset, kTextFieldSize), state.serial);
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}

// Transfer slot of each entry of PedalState::irs.
int SlotOfEntry(int entry) {
  return entry < kNumUserIrs ? entry : kFirstCabinetSlot + (entry - kNumUserIrs);
}

}  // namespace

int StateStore::Load(PedalState& state) const {
  int used = 0;
  used += LoadBank(JoinPath(mFolder, kPresetsFile), state.presets) ? 1 : 0;
  used += LoadBank(JoinPath(mFolder, kFactoryFile), state.factoryBank) ? 1 : 0;
  used += LoadGlobals(JoinPath(mFolder, kGlobalsFile), state) ? 1 : 0;
  state.editBuffer = state.presets[static_cast<std::size_t>(state.activeSlot)];
  FileReader firmware(JoinPath(mFolder, kFirmwareFile));
  if (firmware.IsOpen()) {
    state.firmware = firmware.ReadAll(kMaxFirmwareFile);
    ++used;
  }
  const std::string irFolder = JoinPath(mFolder, kIrFolder);
  for (int entry = 0; entry < kNumIrEntries; ++entry) {
    const Bytes bytes = ReadExactly(JoinPath(irFolder, IrFileName(SlotOfEntry(entry))), kIrImageSize);
    if (!bytes.empty()) {
      IrImage image{};
      std::copy(bytes.begin(), bytes.end(), image.begin());
      state.irs[static_cast<std::size_t>(entry)] = image;
      ++used;
    }
  }
  return used;
}

bool StateStore::Save(const PedalState& state, unsigned changes) const {
  CreateFolder(JoinPath(mFolder, kIrFolder));
  bool ok = true;
  if ((changes & kChangePresets) != 0) {
    ok = SaveBank(JoinPath(mFolder, kPresetsFile), state.presets) && ok;
  }
  if ((changes & kChangeFactoryBank) != 0) {
    ok = SaveBank(JoinPath(mFolder, kFactoryFile), state.factoryBank) && ok;
  }
  if ((changes & kChangeGlobals) != 0) {
    ok = SaveGlobals(JoinPath(mFolder, kGlobalsFile), state) && ok;
  }
  if ((changes & kChangeFirmware) != 0 && !state.firmware.empty()) {
    ok = WriteFileAtomically(JoinPath(mFolder, kFirmwareFile), state.firmware.data(),
                             state.firmware.size()) &&
         ok;
  }
  if ((changes & kChangeIrs) != 0) {
    const std::string irFolder = JoinPath(mFolder, kIrFolder);
    for (int entry = 0; entry < kNumIrEntries; ++entry) {
      const std::optional<IrImage>& image = state.irs[static_cast<std::size_t>(entry)];
      if (image) {
        ok = WriteFileAtomically(JoinPath(irFolder, IrFileName(SlotOfEntry(entry))), image->data(),
                                 image->size()) &&
             ok;
      }
    }
  }
  return ok;
}

}  // namespace kr7::pedal
