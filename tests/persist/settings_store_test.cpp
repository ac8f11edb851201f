// Config.cfg shared by two copies of the game (the merge, and two processes saving
// at once), a file that never ends, and a symlinked file.
#include "persist/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "persist/codec.h"

namespace pondaro {
namespace {

namespace fs = std::filesystem;

// The default table with these entries stored in it, the best ten kept; among
// equal scores the entries given come first, in their order.
THighScoreTable With(std::vector<TLocal_HighScores> entries) {
  const THighScoreTable d = DefaultHighScores();
  entries.insert(entries.end(), d.begin(), d.end());
  std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.Score > b.Score; });
  THighScoreTable t;
  std::copy_n(entries.begin(), t.size(), t.begin());
  return t;
}

TEST(MergeTables, TheOtherCopysNewScoresJoinAndWhatThisCopyDroppedStaysDropped) {
  const THighScoreTable d = DefaultHighScores();
  THighScoreTable tied = d;
  tied[9] = {"Tie", 100};  // a tie that pushed the tenth place out, here
  const struct {
    const char* what;
    THighScoreTable synced, mine, onDisk, expected;
  } cases[] = {
      {"nobody else wrote", d, With({{"Me", 5000}}), d, With({{"Me", 5000}})},
      {"both scored", d, With({{"Me", 5000}}), With({{"You", 4000}}), With({{"Me", 5000}, {"You", 4000}})},
      // The file's entry was there first.
      {"equal scores", d, With({{"Me", 4000}}), With({{"You", 4000}}), With({{"You", 4000}, {"Me", 4000}})},
      {"the same entry", d, With({{"Bob", 4000}}), With({{"Bob", 4000}}), With({{"Bob", 4000}})},
      // Cleared here while the other copy scored: the clear holds, the new score joins.
      {"cleared", With({{"Old", 3500}}), d, With({{"You", 4000}, {"Old", 3500}}), With({{"You", 4000}})},
      {"a tie at the tenth place", d, tied, d, tied},
  };
  for (const auto& c : cases) EXPECT_EQ(MergeTables(c.mine, c.synced, c.onDisk), c.expected) << c.what;
}

TEST(MergeSettings, OptionsThisCopyChangedAreItsOwnTheRestComeFromTheFile) {
  SettingsValues synced, mine, disk;
  mine.Music = false;    // changed here
  mine.Name = "Hoppy";   // changed here
  disk.Sound = false;    // changed by the other copy
  disk.Country = "Oz";   // changed by the other copy
  disk.Name = "Other";   // changed by both: this copy saves last
  const SettingsValues v = MergeSettings(mine, synced, disk);
  EXPECT_FALSE(v.Music);
  EXPECT_FALSE(v.Sound);
  EXPECT_EQ(v.Country, "Oz");
  EXPECT_EQ(v.Name, "Hoppy");
  EXPECT_FALSE(v.FullScreen);
}

class SettingsFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/pondaro-faults-XXXXXX";
    dir = mkdtemp(tmpl);
    path = dir + "/Config.cfg";
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Content(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  }
  std::string dir, path;
};

// A regular file of any size is read only as far as 25 lines can reach.
TEST_F(SettingsFaults, AHugeFileIsReadOnlyToItsLimit) {
  SettingsValues v;
  v.Music = false;
  {
    std::ofstream out(path, std::ios::binary);
    out << FormatSettings(v).substr(0, 30);  // the first lines, then one that never ends
  }
  ASSERT_EQ(truncate(path.c_str(), off_t{1} << 32), 0);  // 4 GiB of zeros, sparse
  const auto start = std::chrono::steady_clock::now();
  const auto lines = ReadSettingsLines(path);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  ASSERT_TRUE(lines);
  EXPECT_EQ((*lines)[1], "false");
  EXPECT_TRUE((*lines)[5].empty());
}

TEST_F(SettingsFaults, ALinkStaysALinkAndItsTargetIsReplaced) {
  fs::create_directory(dir + "/dotfiles");
  const std::string target = dir + "/dotfiles/pondaro.cfg";
  const SettingsValues synced;
  std::ofstream(target, std::ios::binary) << FormatSettings(synced);
  ASSERT_EQ(chmod(target.c_str(), 0600), 0);
  fs::create_symlink("dotfiles/pondaro.cfg", path);
  SettingsValues v;
  v.Name = "Linked";
  const SaveOutcome out = SaveSettingsFile(path, v, synced);
  ASSERT_EQ(out.kind, SaveOutcome::Written) << out.message;
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(Content(target), FormatSettings(v));
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  // Nothing was left in either folder but the files and the hidden lock.
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".pondaro.cfg.lock", "Config.cfg", "dotfiles", "pondaro.cfg"}));
}

// Two processes each keep their own table and save it again and again, as two
// copies of the game do: under the lock every save sees the other's scores,
// so none is lost.
TEST_F(SettingsFaults, TwoProcessesSavingAtOnceLoseNothing) {
  constexpr int kRounds = 5;
  auto copy = [&](int who) {
    SettingsValues mine, synced;
    for (int round = 0; round < kRounds; ++round) {
      // A new best score, as StoreHighScore puts it first.
      std::rotate(mine.Table.rbegin(), mine.Table.rbegin() + 1, mine.Table.rend());
      mine.Table[0] = {"P" + std::to_string(who) + "R" + std::to_string(round), 10000 + 10 * round + who};
      const SaveOutcome out = SaveSettingsFile(path, mine, synced);
      if (out.kind != SaveOutcome::Written) return 1;
      mine.Table = out.values.Table;
      synced = mine;
    }
    return 0;
  };
  pid_t children[2];
  for (int who = 0; who < 2; ++who) {
    children[who] = fork();
    ASSERT_GE(children[who], 0);
    if (children[who] == 0) _exit(copy(who));
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const auto lines = ReadSettingsLines(path);
  ASSERT_TRUE(lines);
  const THighScoreTable table = DecodeSettings(*lines).Table;
  for (int round = 0; round < kRounds; ++round)
    for (int who = 0; who < 2; ++who)
      EXPECT_NE(std::count(table.begin(), table.end(),
                           TLocal_HighScores{"P" + std::to_string(who) + "R" + std::to_string(round),
                                             10000 + 10 * round + who}),
                0)
          << who << " " << round;
}

}  // namespace
}  // namespace pondaro
