#include "replay/shelf.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/main_form.h"
#include "persist/settings_file.h"

namespace pondaro {

namespace {

namespace fs = std::filesystem;

constexpr char kSuffix[] = ".pdr";

struct Shelved {
  std::string path, name;
  int32_t score = 0;
  int64_t date = 0;
  bool taken = false;
};

// Every readable replay on the shelf; an unreadable file is left alone.
std::vector<Shelved> ReadShelf(const std::string& folder) {
  std::vector<Shelved> out;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
    if (e.path().extension() != kSuffix || !e.is_regular_file(ec)) continue;
    TReplay r;
    std::string error;
    if (LoadReplay(e.path().string(), r, error)) out.push_back({e.path().string(), r.Name, r.Score, r.StartDate});
  }
  return out;
}

// Each row's replay: the newest unclaimed one of its name and score, claimed from
// the top, so that two equal rows get two replays (the upper one is the newer).
std::array<int, 10> Match(const THighScoreTable& table, std::vector<Shelved>& shelf) {
  std::array<int, 10> rows;
  for (int place = 0; place < 10; ++place) {
    int best = -1;
    for (size_t i = 0; i < shelf.size(); ++i) {
      const Shelved& s = shelf[i];
      if (!s.taken && s.name == table[place].Name && s.score == table[place].Score &&
          (best < 0 || s.date > shelf[best].date))
        best = static_cast<int>(i);
    }
    if (best >= 0) shelf[best].taken = true;
    rows[place] = best;
  }
  return rows;
}

// Lets go of the replays no row matches. After a game, only those scoring below
// the tenth place: another copy of the game running beside this one may have
// just kept a replay its row of which this copy's table does not hold yet, and
// the tables, when they merge, keep the ten best of both.
void Prune(const std::string& folder, const THighScoreTable& table, bool everyUnmatched) {
  std::vector<Shelved> shelf = ReadShelf(folder);
  Match(table, shelf);
  for (const Shelved& s : shelf) {
    if (s.taken || (!everyUnmatched && s.score >= table[9].Score)) continue;
    std::error_code ec;
    if (!fs::remove(s.path, ec) && ec) std::fprintf(stderr, "PONDARO: %s: %s\n", s.path.c_str(), ec.message().c_str());
  }
}

}  // namespace

std::string ShelfFolder(const TMainForm& form) {
  const fs::path settings(form.SettingsPath());
  return (settings.has_parent_path() ? settings.parent_path() / "replays" : fs::path("replays")).string();
}

void KeepIfInTable(const TMainForm& form, const TReplay& replay) {
  bool inTable = false;
  for (const TLocal_HighScores& row : form.HighScores)
    inTable = inTable || (row.Name == replay.Name && row.Score == replay.Score);
  if (!inTable || replay.Name.empty()) return;
  const std::string folder = ShelfFolder(form);
  std::string error;
  if (!MakeFolders(folder, error)) {
    std::fprintf(stderr, "PONDARO: %s\n", error.c_str());
    return;
  }
  std::string path;
  std::error_code ec;
  for (int n = 0; path.empty() || fs::exists(path, ec); ++n)
    path = folder + "/" + std::to_string(replay.StartDate) + "-" + std::to_string(replay.Score) +
           (n ? "-" + std::to_string(n) : "") + kSuffix;
  if (!SaveReplay(path, replay, error)) {
    std::fprintf(stderr, "PONDARO: %s\n", error.c_str());
    return;
  }
  Prune(folder, form.HighScores, false);
}

void PruneShelf(const TMainForm& form) { Prune(ShelfFolder(form), form.HighScores, true); }

std::array<std::string, 10> ShelfRows(const TMainForm& form) {
  std::vector<Shelved> shelf = ReadShelf(ShelfFolder(form));
  const std::array<int, 10> rows = Match(form.HighScores, shelf);
  std::array<std::string, 10> out;
  for (int place = 0; place < 10; ++place)
    if (rows[place] >= 0) out[place] = shelf[rows[place]].path;
  return out;
}

std::string BestReplay(const TMainForm& form) {
  for (const std::string& path : ShelfRows(form))
    if (!path.empty()) return path;
  return "";
}

}  // namespace pondaro
