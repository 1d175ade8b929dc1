#pragma once
// Turning an impulse response into a stored and uploadable IR: the WAV import
// of the impulse-response block and the store-and-upload step shared with the
// preset-file import.
//
// Store and upload: the IR display buffer becomes an IR image (gain, name,
// 1200 samples), the image is written to the IR store and packed into the
// 2785 seven-bit bytes of a transfer with its stream checksum. The transfer
// itself is paced by the device timer (IrDumpBegin, IrDumpData..., IrDumpEnd,
// answered by IrStoredAck); this unit only prepares it and hands it to the
// upload hook when the pedal is connected. Nothing queues an upload for later.
//
// While connected the store takes the image only once the pedal stored it
// (TakeStored, on its IrStoredAck): a refused, lost or abandoned upload
// leaves the old entry, so the pedal's own is still asked for.
//
// Threading: the window thread (import actions); TakeStored on the audio
// thread.

#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/Packing.h"
#include "editor/IrImage.h"
#include "editor/IrStore.h"
#include "editor/WavReader.h"

namespace kr7 {

// A prepared upload: the slot it writes (user IR number, or 384 + k for a
// factory cabinet) and the packed image with its checksum.
struct IrUpload {
  int slot = 0;
  PackedIr packed;
};

// Starts the transfer of a prepared upload (fills the transfer buffer, sets
// "IR upload ready"); false when it did not start. Called only while the
// pedal is connected.
using IrUploadHook = std::function<bool(const IrUpload&)>;

// The complete message list of an upload: IrDumpBegin, nine IrDumpData and
// IrDumpEnd with the stream checksum, for a transport that sends them one per
// device tick.
std::vector<Bytes> IrUploadMessages(const IrUpload& upload);

// The name an imported file gives its IR, as the 32-character field: the file
// name after the last "/" or "\" (the whole text when there is neither), its
// last four characters (the extension) removed, padded with spaces or cut to
// 32. A file name of four characters or fewer gives 32 spaces.
std::string IrNameFromPath(std::string_view path);

// An IR image read back (a block of a preset file): its samples go into
// entries 0..1199 of buffer, the rest of the buffer is kept.
struct IrBlockContents {
  double scale = 1.0;  // the stored gain read as signed 16 bits, / 32768
  std::string name;    // the 32-character name field as it stands
};
IrBlockContents LoadIrBlock(std::span<const std::uint8_t, kIrImageSize> block,
                            IrDisplayBuffer& buffer);

struct StoredIr {
  IrImage image{};
  IrUpload upload;
  std::string name;           // the name with trailing spaces removed
  bool stored = false;        // the cache file was written (disconnected)
  bool uploadStarted = false;  // connected: the upload started
};

enum class WavImportStatus {
  kImported,
  kNoPath,        // dialog cancelled or empty path: nothing read or sent
  kSlotNotWritable,  // only user IRs 0..255 take an imported file
  kUnusableFile,  // not a WAV file the reader accepts: nothing stored or sent
};

struct WavImportResult {
  WavImportStatus status = WavImportStatus::kNoPath;
  WavStatus wavStatus = WavStatus::kOk;
  StoredIr stored;
};

class IrImporter {
 public:
  IrImporter(IrStore& store, IrUploadHook startUpload);

  // The folder and file the next WAV dialog offers; empty at start.
  const std::string& LastWavPath() const { return mLastWavPath; }

  // Step after the file dialog of a WAV import into user IR slot (the browser
  // selection): remembers the path, reads the file into buffer, and stores
  // and uploads it under the name taken from the file name. A file the reader
  // refuses leaves buffer unchanged and stores and uploads nothing (uploading
  // the previous response under the new name would report a failure as
  // success). The caller clears the IR busy flag whatever the result.
  WavImportResult ImportWav(std::string_view path, int slot, bool connected,
                            IrDisplayBuffer& buffer);

  // Builds the image of the first 1200 entries of buffer under name (32
  // characters, padded or cut) and packs it; connected, hands the upload to
  // the hook and keeps the image for TakeStored, otherwise writes it to the
  // store for slot. The caller then shows
  // result.name: with the window open, when the slot-A flag is set the user
  // IR name of the browser selection becomes it and rows tag 70 and
  // (selection mod 32) of the browser show it, with the slot-B flag likewise
  // tag 71; and for a factory slot (above 383) the IR list row of cabinet
  // slot & 0x7F (tags 64..71) shows it.
  StoredIr StoreAndUpload(const IrDisplayBuffer& buffer, std::string_view name, int slot,
                          bool connected);

  // The pedal stored the last upload: its slot and image, for the store.
  struct Uploaded {
    int slot = 0;
    IrImage image{};
  };
  std::optional<Uploaded> TakeStored();

 private:
  IrStore& mStore;
  IrUploadHook mStartUpload;
  std::string mLastWavPath;
  std::mutex mUploadedMutex;
  std::optional<Uploaded> mUploaded;  // guarded by mUploadedMutex
};

}  // namespace kr7
