#pragma once
// Keeps a virtual pedal's state in a folder so that it survives restarts.
//
// Files (each written whole through a temporary and a rename):
//   presets.bin   128 × 256 bytes: the preset slots 0..127 in order
//   factory.bin   128 × 256 bytes: the factory bank that FactoryReset restores
//   globals.bin   194 bytes:
//                   0..3    "KR7V"
//                   4       layout version, 1
//                   5       active slot
//                   6       version byte (pedal version × 10)
//                   7..17   settings, parameters 80..90
//                   18..33  controller map, parameters 91..106
//                   34..161 program map, entries 0..127
//                   162..193 serial number, 32 bytes padded with spaces
//   firmware.bin  the last firmware image the loader accepted (absent before)
//   irs/NNN.dat   2436-byte impulse-response image of transfer slot NNN
//                 (000..287 user IRs, 384..391 factory cabinets)
//
// A file that is missing or has the wrong size leaves that part of the state
// as it was, so an empty folder starts a factory-fresh pedal.
// Changelog: layout version 1 — first layout.

#include <string>

#include "pedal/PedalState.h"

namespace kr7::pedal {

inline constexpr std::size_t kGlobalsFileSize = 194;

class StateStore {
 public:
  explicit StateStore(std::string folder) : mFolder(std::move(folder)) {}

  const std::string& Folder() const { return mFolder; }

  // Reads every part present into state. Returns how many files were used.
  int Load(PedalState& state) const;
  // Writes the parts named by changes (StateChange bits of VirtualPedal.h);
  // creates the folder when needed. False when any write failed.
  bool Save(const PedalState& state, unsigned changes) const;

 private:
  std::string mFolder;
};

}  // namespace kr7::pedal
