// Finding Data/ and Music/: the working folder first, then beside the executable.
#include "desktop/game_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

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

TEST(GameFolder, CandidatesAreTheWorkingFolderThenTheExecutables) {
  const auto places = GameFolderCandidates();
  ASSERT_EQ(places.size(), 2u);
  EXPECT_EQ(places[0], ".");
  std::error_code ec;
  EXPECT_TRUE(fs::equivalent(places[1], fs::read_symlink("/proc/self/exe").parent_path(), ec)) << places[1];
  // The tests run in build/game: the game's files are right here.
  EXPECT_EQ(FindGameFolder(places).Path, ".");
}

}  // namespace
}  // namespace pondaro
