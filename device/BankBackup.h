#pragma once
// The automatic bank backup: before anything overwrites the whole pedal (the
// factory presets update, a bank import, a factory reset of everything or of
// the presets) the pedal's bank is exported to
//   <data folder>/Backups/KR7-YYYYMMDD-HHMMSS.r3b   (local time; the stem
//   "KR7" unless the shell names another, see SetNameStem)
// and the file is read back through the import check. Only then does the
// overwrite start. When the backup cannot be made (no pedal, no answer, a
// file that cannot be written or does not read back), the user is asked
// whether to go on without it; Cancel sends nothing. The ten newest backups
// are kept; older ones are deleted only after a new one verified.
//
// Threads: UI thread only (the start, the tick's watch, the export's end).

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "device/StreamsHost.h"
#include "model/UserTexts.h"

namespace kr7 {

class BankExport;

inline constexpr std::string_view kBackupsFolderName = "Backups";
inline constexpr int kBackupsKept = 10;
// Ticks without an answer after which a backup is given up.
inline constexpr int kBackupStallTicks = 30;

inline constexpr std::string_view kBackupStem = "KR7";

// stem + "-YYYYMMDD-HHMMSS.r3b" of time in local time.
std::string BackupFileName(std::time_t time, std::string_view stem = kBackupStem);

// The one door every overwrite of the whole pedal goes through.
class OverwriteGuard {
 public:
  virtual ~OverwriteGuard() = default;
  // Runs start once it is safe to overwrite, now or some ticks later, or
  // never (the user declined). A second call while one waits is refused.
  virtual void BeforeOverwrite(std::function<void()> start) = 0;
};

class BankBackup final : public OverwriteGuard {
 public:
  using Clock = std::function<std::time_t()>;

  // dataFolder: the per-user folder the Backups folder lives in.
  BankBackup(StreamHost host, BankExport& exporter, std::string dataFolder);

  // The `[backup] enabled` setting; off runs every overwrite at once.
  void SetEnabled(bool enabled) { mEnabled = enabled; }
  bool Enabled() const { return mEnabled; }
  // What the file names start with: kBackupStem, or another stem for a pedal
  // whose backups must stay apart. The ten kept are counted per stem.
  void SetNameStem(std::string_view stem) { mStem = stem; }
  // Where the file names take their time from (tests set a clock).
  void SetClock(Clock clock) { mClock = std::move(clock); }

  void BeforeOverwrite(std::function<void()> start) override;
  bool Busy() const { return static_cast<bool>(mWaiting); }
  // Every device tick while a backup runs: gives up a stalled export.
  void Watch();
  // The idle step: asks whether to go on without the backup that failed.
  // The failure may come from inside a state change (RECONNECT ends the
  // export); a modal question there would let the session run on behind it.
  void AskIfFailed();
  // The overlay's Cancel: gives up the backup and the overwrite after it.
  void Cancel();

  std::string Folder() const;

 private:
  void OnExported(bool written);
  bool Verify() const;
  void Prune() const;
  void Proceed(bool backedUp);

  StreamHost mHost;
  BankExport& mExport;
  std::string mDataFolder;
  std::string mStem{kBackupStem};
  bool mEnabled = false;
  Clock mClock;
  std::function<void()> mWaiting;
  bool mFailed = false;  // mWaiting waits for the idle step's question
  std::string mPath;
  int mStallTicks = 0;
  int mLastAnswers = 0;
};

}  // namespace kr7
