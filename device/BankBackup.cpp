#include "device/BankBackup.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "device/BankTransferExport.h"
#include "device/BankTransferImportCheck.h"
#include "device/StreamsHost.h"
#include "device/StreamsProgress.h"
#include "model/DataFolder.h"
#include "model/EditorView.h"
#include "model/FileIO.h"
#include "model/SystemFiles.h"

namespace kr7 {
namespace {

constexpr std::string_view kBackupSuffix = ".r3b";
// "-" YYYYMMDD "-" HHMMSS ".r3b" after the stem
constexpr std::size_t kBackupNameLength = 1 + 8 + 1 + 6 + 4;

// Only the backups of the current stem count, so one pedal's backups never
// push out the other's.
bool IsBackupName(std::string_view name, std::string_view stem) {
  return name.size() == stem.size() + kBackupNameLength && name.starts_with(stem) &&
         name[stem.size()] == '-' && name.ends_with(kBackupSuffix);
}

// The program's paths are UTF-8; a plain string means the system's code page
// to std::filesystem on Windows.
std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::u8string(text.begin(), text.end());
}

std::string Utf8Name(const std::filesystem::path& path) {
  const std::u8string name = path.filename().u8string();
  return {name.begin(), name.end()};
}

}  // namespace

std::string BackupFileName(std::time_t time, std::string_view stem) {
  const std::tm local = sys::LocalTime(time);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "-%Y%m%d-%H%M%S.r3b", &local);
  return std::string(stem).append(stamp);
}

BankBackup::BankBackup(StreamHost host, BankExport& exporter, std::string dataFolder)
    : mHost(host),
      mExport(exporter),
      mDataFolder(std::move(dataFolder)),
      mClock([] { return std::time(nullptr); }) {}

std::string BankBackup::Folder() const { return JoinPath(mDataFolder, kBackupsFolderName); }

void BankBackup::BeforeOverwrite(std::function<void()> start) {
  if (!mEnabled) {
    start();
    return;
  }
  // The export that would make the backup is busy (a backup, or the user's
  // own export): the overwrite is refused rather than run unprotected.
  if (Busy() || mExport.Active()) return;
  mWaiting = std::move(start);
  EditorView& view = mHost.View();
  // The overlay is the fetch's; its title says what runs until the backup ends.
  ResetProgress(view, kPresetProgress);
  view.SetControlText(kTagPresetProgressTitle, kBackingUpText);
  SetProgressVisible(view, kPresetProgress, true);
  if (!CreateFolder(Folder())) {
    OnExported(false);
    return;
  }
  mPath = JoinPath(Folder(), BackupFileName(mClock(), mStem));
  mStallTicks = 0;
  mLastAnswers = mExport.Answers();
  mExport.StartTo(mPath, [this](bool written) { OnExported(written); });
}

void BankBackup::Watch() {
  if (!Busy() || !mExport.Active() || mExport.AtStart()) return;
  const int answers = mExport.Answers();
  mStallTicks = answers == mLastAnswers ? mStallTicks + 1 : 0;
  mLastAnswers = answers;
  if (mStallTicks > kBackupStallTicks) mExport.Abort();
}

void BankBackup::OnExported(bool written) {
  SetProgressVisible(mHost.View(), kPresetProgress, false);
  mHost.View().SetControlText(kTagPresetProgressTitle, kPresetProgressTitle);
  const bool verified = written && Verify();
  if (verified) Prune();
  Proceed(verified);
}

bool BankBackup::Verify() const {
  FileReader reader(mPath);
  if (!reader.IsOpen() || reader.Size() > kBankFileLimit) return false;
  return CheckImportFile(reader.ReadAll(kBankFileLimit + 1)).has_value();
}

// By the files' own times, not their names: with the clock set back a new
// name sorts before the old ones. The one just written always stays.
void BankBackup::Prune() const {
  namespace fs = std::filesystem;
  std::error_code error;
  std::vector<std::pair<fs::file_time_type, fs::path>> others;
  const std::string kept = Utf8Name(PathFromUtf8(mPath));
  for (fs::directory_iterator it(PathFromUtf8(Folder()), error), end; !error && it != end;
       it.increment(error)) {
    const fs::path& path = it->path();
    const std::string name = Utf8Name(path);
    if (!IsBackupName(name, mStem) || name == kept) continue;
    others.emplace_back(fs::last_write_time(path, error), path);
  }
  if (others.size() < static_cast<std::size_t>(kBackupsKept)) return;
  std::sort(others.begin(), others.end());
  others.resize(others.size() - (kBackupsKept - 1));
  for (const auto& old : others) fs::remove(old.second, error);
}

void BankBackup::Proceed(bool backedUp) {
  if (!backedUp) {
    mFailed = true;
    return;
  }
  std::function<void()> start = std::move(mWaiting);
  mWaiting = nullptr;
  start();
}

void BankBackup::Cancel() {
  if (!Busy()) return;
  mExport.Abort();  // its completion would leave the question
  mFailed = false;
  mWaiting = nullptr;
}

void BankBackup::AskIfFailed() {
  if (!std::exchange(mFailed, false)) return;
  std::function<void()> start = std::move(mWaiting);
  mWaiting = nullptr;
  if (mHost.View().ShowMessage(kBackupFailedQuestion, true)) start();
}

}  // namespace kr7
