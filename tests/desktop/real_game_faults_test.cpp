// The real program against a hostile Config.cfg and stderr: files that never end
// or cannot be read, read-only files, links, another copy writing the same file,
// and a closed pipe for its diagnostics. Each ends by a real signal.
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

#include "desktop/real_game.h"
#include "persist/codec.h"
#include "persist/settings_store.h"

namespace pondaro::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class RealGameFaults : public RealGame {
 protected:
  std::string Config() { return dir + "/Config.cfg"; }
  bool Running() { return Wait(0ms) == -1; }
  bool Said(const std::string& part) {
    return WaitUntil(
        [&] {
          for (const std::string& l : StderrLines())
            if (l.find(part) != std::string::npos) return true;
          return false;
        },
        20s);
  }
  // SIGTERM, and the game ends with status 0.
  void Terminate() {
    ASSERT_TRUE(Running()) << "the game stopped by itself";
    kill(pid, SIGTERM);
    EXPECT_EQ(Wait(20s), 0);
  }
  static SettingsValues Decoded(const std::string& path) {
    auto lines = ReadSettingsLines(path);
    EXPECT_TRUE(lines) << path;
    return lines ? DecodeSettings(*lines) : SettingsValues{};
  }
};

// A Config.cfg that is no regular file neither holds the start up nor is written
// over: the game starts with its defaults, says so once, and quits when told.
// (/dev/full is a device as /dev/zero is: it goes the same way.)
TEST_F(RealGameFaults, ASettingsFileThatIsNoFileIsLeftAlone) {
  const struct {
    const char* what;
    std::function<void()> make;
    std::function<bool()> intact;
  } cases[] = {
      {"/dev/zero", [&] { fs::create_symlink("/dev/zero", Config()); },
       [&] { return fs::read_symlink(Config()) == "/dev/zero"; }},
      {"a FIFO", [&] { mkfifo(Config().c_str(), 0644); }, [&] { return fs::is_fifo(Config()); }},
      {"a folder", [&] { fs::create_directory(Config()); }, [&] { return fs::is_directory(Config()); }},
  };
  for (const auto& c : cases) {
    fs::remove_all(Config());
    c.make();
    Start(kHeadless);
    ASSERT_TRUE(Said("cannot be read")) << c.what;
    std::this_thread::sleep_for(200ms);
    Terminate();
    EXPECT_TRUE(c.intact()) << c.what;
    EXPECT_EQ(StderrLines().size(), 1u) << c.what << ": " << ::testing::PrintToString(StderrLines());
  }
}

// A read-only file is read and used but never replaced; a symlinked one is read
// and written through the link, which stays.
TEST_F(RealGameFaults, AReadOnlyFileIsKeptAndALinkStaysALink) {
  SettingsValues v;
  v.Music = false;
  v.Table[0] = {"Linked", 9000};
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(Config(), FormatSettings(v), error)) << error;
  ASSERT_EQ(chmod(Config().c_str(), 0444), 0);
  Start(kHeadless);
  ASSERT_TRUE(Said("read-only"));
  std::this_thread::sleep_for(200ms);
  Terminate();
  EXPECT_EQ(Text("Config.cfg"), FormatSettings(v));
  EXPECT_EQ(fs::status(Config()).permissions() & fs::perms::all, fs::perms(0444));
  EXPECT_EQ(StderrLines().size(), 1u) << ::testing::PrintToString(StderrLines());

  // The same settings kept in a dotfiles folder, with Unix line ends.
  fs::create_directory(dir + "/dotfiles");
  std::string unix = FormatSettings(v);
  for (size_t at; (at = unix.find('\r')) != std::string::npos;) unix.erase(at, 1);
  std::ofstream(dir + "/dotfiles/pondaro.cfg", std::ios::binary) << unix;
  fs::remove(Config());
  fs::create_symlink("dotfiles/pondaro.cfg", Config());
  Start(kHeadless);
  ASSERT_TRUE(WaitUntil([&] { return Text("dotfiles/pondaro.cfg") == FormatSettings(v); }, 20s));
  Terminate();
  EXPECT_TRUE(fs::is_symlink(Config()));
  EXPECT_EQ(Text("dotfiles/pondaro.cfg"), FormatSettings(v));
  EXPECT_TRUE(StderrLines().empty()) << ::testing::PrintToString(StderrLines());
}

// Another copy writes a new high score and switches the sound off while this one
// runs: this one's last save keeps both.
TEST_F(RealGameFaults, AnotherCopysScoreAndOptionSurviveThisOnesLastSave) {
  Start(kHeadless);
  ASSERT_TRUE(WaitForConfig(20s));
  SettingsValues other = Decoded(Config());
  other.Sound = false;
  std::rotate(other.Table.rbegin(), other.Table.rbegin() + 1, other.Table.rend());
  other.Table[0] = {"Other", 7777};
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(Config(), FormatSettings(other), error)) << error;
  std::this_thread::sleep_for(200ms);
  Terminate();
  const SettingsValues after = Decoded(Config());
  EXPECT_FALSE(after.Sound);
  EXPECT_EQ(after.Table[0], (TLocal_HighScores{"Other", 7777}));
  EXPECT_EQ(after.Table[1], (TLocal_HighScores{"Anonymous", 3000}));
}

// stderr a pipe nobody reads any more: the first diagnostic must not kill the game.
TEST_F(RealGameFaults, AClosedStderrDoesNotEndTheGame) {
  // A damaged score makes the start-up say so.
  std::string lines;
  for (int i = 0; i < 25; ++i) lines += (i == 6 ? EncodeLine("12x45") : "") + "\r\n";
  std::ofstream(Config(), std::ios::binary) << lines;
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  close(fds[0]);
  Start({"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=nosuchdevice"}, fds[1]);
  close(fds[1]);
  ASSERT_TRUE(WaitUntil([&] { return Text("Config.cfg") != lines; }, 20s)) << "no start-up write";
  std::this_thread::sleep_for(300ms);
  Terminate();
}

}  // namespace
}  // namespace pondaro::test
