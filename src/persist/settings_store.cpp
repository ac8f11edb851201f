#include "persist/settings_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "persist/codec.h"

namespace pondaro {

namespace {

// A copy stopped while it holds the lock (SIGSTOP, a debugger) must not freeze
// the others: after this long they write without it.
constexpr auto kLockPatience = std::chrono::seconds(2);

// flock on a file of its own beside Config.cfg: the settings file itself is
// replaced by every write, and its folder may be the game's data folder.
class FileLock {
 public:
  explicit FileLock(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;  // the write that follows will say what is wrong with the folder
    const auto until = std::chrono::steady_clock::now() + kLockPatience;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= until) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing lets the lock go
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_ = -1;
};

// Hidden, beside the file: ".Config.cfg.lock". It stays there, empty: removing
// it would let two copies lock two different files.
std::string LockPath(const std::string& file) {
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? "." + file + ".lock" : file.substr(0, slash + 1) + "." + file.substr(slash + 1) + ".lock";
}

int Count(const THighScoreTable& t, const TLocal_HighScores& e) {
  return static_cast<int>(std::count(t.begin(), t.end(), e));
}

}  // namespace

SettingsValues DecodeSettings(const std::vector<std::string>& l, std::vector<std::string>* problems) {
  SettingsValues v;
  v.FullScreen = l[0] != "false";
  v.Music = l[1] != "false";
  v.Sound = l[2] != "false";
  v.Country = StripPadding(l[3]);
  v.Name = StripPadding(l[4]);
  for (int place = 0; place < 10; ++place) {
    const std::string& name = l[5 + 2 * place];
    const std::string& score = l[6 + 2 * place];
    if (!name.empty()) v.Table[place].Name = StripPadding(name);
    if (score.empty()) continue;
    // A damaged score keeps that place's default; the rest of the file still counts.
    if (auto n = ParseScore(StripPadding(score)))
      v.Table[place].Score = *n;
    else if (problems)
      problems->push_back("Config.cfg line " + std::to_string(7 + 2 * place) + ": '" + StripPadding(score) +
                          "' is not a whole number; keeping " + std::to_string(v.Table[place].Score));
  }
  return v;
}

THighScoreTable MergeTables(const THighScoreTable& mine, const THighScoreTable& synced,
                            const THighScoreTable& onDisk) {
  // The other copy's entries: those the file holds more often than this copy
  // holds them now or held them at the last sync.
  std::vector<TLocal_HighScores> all;
  for (const TLocal_HighScores& e : onDisk) {
    const int theirs = Count(onDisk, e) - std::max(Count(mine, e), Count(synced, e));
    const int taken = static_cast<int>(std::count(all.begin(), all.end(), e));
    if (taken < theirs) all.push_back(e);
  }
  all.insert(all.end(), mine.begin(), mine.end());
  std::stable_sort(all.begin(), all.end(),
                   [](const TLocal_HighScores& a, const TLocal_HighScores& b) { return a.Score > b.Score; });
  THighScoreTable out;
  std::copy_n(all.begin(), out.size(), out.begin());
  return out;
}

SettingsValues MergeSettings(const SettingsValues& mine, const SettingsValues& synced, const SettingsValues& onDisk) {
  SettingsValues v;
  v.FullScreen = mine.FullScreen != synced.FullScreen ? mine.FullScreen : onDisk.FullScreen;
  v.Music = mine.Music != synced.Music ? mine.Music : onDisk.Music;
  v.Sound = mine.Sound != synced.Sound ? mine.Sound : onDisk.Sound;
  v.Country = mine.Country != synced.Country ? mine.Country : onDisk.Country;
  v.Name = mine.Name != synced.Name ? mine.Name : onDisk.Name;
  v.Table = MergeTables(mine.Table, synced.Table, onDisk.Table);
  return v;
}

SaveOutcome SaveSettingsFile(const std::string& path, const SettingsValues& mine, const SettingsValues& synced) {
  SaveOutcome out;
  FileLock lock(LockPath(ResolveLinks(path)));
  const SettingsRead disk = ReadSettingsFile(path);
  if (disk.kind == SettingsRead::Unreadable) {
    out.kind = SaveOutcome::Refused;
    out.message = UnreadableSettingsMessage(path, disk.problem, false);
    return out;
  }
  if (disk.kind == SettingsRead::Read && IsReadOnlyFile(path)) {
    out.kind = SaveOutcome::Refused;
    out.message = ReadOnlySettingsMessage(path);
    return out;
  }
  out.values = disk.kind == SettingsRead::Read ? MergeSettings(mine, synced, DecodeSettings(disk.lines)) : mine;
  if (!WriteFileAtomically(path, FormatSettings(out.values), out.message)) return out;
  out.kind = SaveOutcome::Written;
  return out;
}

std::string UnreadableSettingsMessage(const std::string& path, const std::string& problem, bool atStart) {
  return "The settings file " + path + " cannot be read (" + problem + "). " +
         (atStart ? "The game starts with its default settings and will not save them."
                  : "The game's settings and scores will not be saved.");
}

std::string ReadOnlySettingsMessage(const std::string& path) {
  return "The settings file " + path + " is read-only: the game's settings and scores will not be saved.";
}

}  // namespace pondaro
