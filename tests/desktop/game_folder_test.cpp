// Finding Data/ and Music/: the working folder first, then beside the executable,
// then the installed data folder; and where Config.cfg is kept.
#include "desktop/game_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace pondaro {
namespace {

namespace fs = std::filesystem;

TEST(GameFolder, TheFirstFolderWithDataAndMusicWins) {
  const fs::path root = fs::temp_directory_path() / ("pondaro-folder-" + std::to_string(::getpid()));
  const std::string work = root / "work", half = root / "half", beside = root / "bin", both = root / "both";
  fs::create_directories(work);
  fs::create_directories(fs::path(half) / "Data");  // no Music/: not the game's folder
  for (const std::string& d : {beside, both}) {
    fs::create_directories(fs::path(d) / "Data");
    fs::create_directories(fs::path(d) / "Music");
  }

  GameFolder f = FindGameFolder({work, half, beside, both});
  EXPECT_EQ(f.Path, beside);
  EXPECT_EQ(f.Looked, (std::vector<std::string>{work, half, beside}));

  f = FindGameFolder({work, half});
  EXPECT_TRUE(f.Path.empty());
  const std::string message = GameFolderMissingMessage(f);
  EXPECT_NE(message.find(work), std::string::npos) << message;
  EXPECT_NE(message.find(half), std::string::npos) << message;
  fs::remove_all(root);
}

TEST(GameFolder, CandidatesAreTheWorkingFolderTheExecutablesThenTheInstalledOne) {
  const auto places = GameFolderCandidates();
  ASSERT_EQ(places.size(), 3u);
  EXPECT_EQ(places[0], ".");
  const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
  std::error_code ec;
  EXPECT_TRUE(fs::equivalent(places[1], bin, ec)) << places[1];
  // bin/pondaro finds share/pondaro beside bin/, as the install lays them out.
  EXPECT_EQ(places[2], (bin / PONDARO_DATA_FROM_BIN).lexically_normal().string());
  EXPECT_EQ(fs::path(places[2]).filename(), "pondaro");
  EXPECT_EQ(InstalledDataFolder(), places[2]);
  // The tests run in build/game: the game's files are right here.
  EXPECT_EQ(FindGameFolder(places).Path, ".");
}

TEST(GameFolder, TheUsersSettingsFolderFollowsTheXdgRules) {
  EXPECT_EQ(UserSettingsFolder("/xdg/config", "/home/frog"), "/xdg/config/pondaro");
  // Unset, empty or relative: the XDG rules fall back to ~/.config.
  EXPECT_EQ(UserSettingsFolder("", "/home/frog"), "/home/frog/.config/pondaro");
  EXPECT_EQ(UserSettingsFolder("config", "/home/frog/"), "/home/frog/.config/pondaro");
  EXPECT_EQ(UserSettingsFolder("", ""), "");
}

// Saves an environment variable and puts it back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(GameFolder, OnlyTheInstalledGameKeepsItsSettingsInTheUsersFolder) {
  const fs::path root = fs::temp_directory_path() / ("pondaro-settings-" + std::to_string(::getpid()));
  const fs::path installed = root / "usr/share/pondaro", unpacked = root / "games/pondaro";
  fs::create_directories(installed);
  fs::create_directories(unpacked);
  fs::create_symlink(installed, root / "link");
  ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
  ScopedEnv home("HOME", "/home/frog");

  EXPECT_EQ(SettingsFolderFor(installed.string(), installed.string()), "/xdg/pondaro");
  // The same folder by another road: the player started it from inside the installed folder.
  EXPECT_EQ(SettingsFolderFor((root / "link").string(), installed.string()), "/xdg/pondaro");
  EXPECT_EQ(SettingsFolderFor(".", installed.string()), "");
  EXPECT_EQ(SettingsFolderFor(unpacked.string(), installed.string()), "");
  EXPECT_EQ(SettingsFolderFor(unpacked.string(), ""), "");
  {
    ScopedEnv unset("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(SettingsFolderFor(installed.string(), installed.string()), "/home/frog/.config/pondaro");
  }
  fs::remove_all(root);
}

}  // namespace
}  // namespace pondaro
