// The real program in a window on an X server of the test's own (Xvfb), played
// with xdotool to name entry and ended there by a signal or by the death of the X
// server; and a message box that a signal must close. Skipped without Xvfb or
// xdotool.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>

#include <cstdio>

#include "desktop/real_game.h"
#include "persist/codec.h"
#include "persist/settings_store.h"

namespace pondaro::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool Installed(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

// An Xvfb that picks its own display number and can be killed at any moment.
class OwnXServer {
 public:
  bool Start() {
    int fds[2];
    if (pipe(fds) != 0) return false;
    pid_ = fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
      close(fds[0]);
      const int quiet = open("/dev/null", O_WRONLY);
      dup2(quiet, 1);
      dup2(quiet, 2);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-ac",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    for (char c = 0; c != '\n' && poll(&p, 1, 10000) > 0;) {
      if (read(fds[0], &c, 1) != 1) break;
      if (c >= '0' && c <= '9') number += c;
    }
    close(fds[0]);
    name_ = ":" + number;
    return !number.empty();
  }
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  ~OwnXServer() { Kill(); }
  const std::string& Name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

class RealGameX11 : public RealGame {
 protected:
  void SetUp() override {
    if (!Installed("Xvfb") || !Installed("xdotool")) GTEST_SKIP() << "needs Xvfb and xdotool";
    RealGame::SetUp();
    ASSERT_TRUE(x.Start()) << "Xvfb did not start";
  }
  void TearDown() override {
    RealGame::TearDown();
    x.Kill();
  }
  void StartInWindow() {
    Start({"SDL_VIDEODRIVER=x11", "DISPLAY=" + x.Name(), "WAYLAND_DISPLAY=", "SDL_AUDIODRIVER=dummy"});
  }
  // xdotool on our display; its output.
  std::string Xdo(const std::string& args) {
    std::string out;
    if (FILE* p = popen(("DISPLAY=" + x.Name() + " xdotool " + args + " 2>/dev/null").c_str(), "r")) {
      char buf[256];
      while (std::fgets(buf, sizeof buf, p)) out += buf;
      pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
  }
  // A table every score beats, so that giving up the first crossing earns a place.
  void WriteLowTable() {
    SettingsValues v;
    for (int place = 0; place < 10; ++place) v.Table[place] = {"Low", -10 - place};
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir + "/Config.cfg", FormatSettings(v), error)) << error;
  }
  // Splash, main menu, the crossing; Esc and the exit dialog's Yes lead to the
  // game over; five seconds later name entry opens and `name` is typed.
  void PlayToNameEntry(const std::string& name) {
    WriteLowTable();
    const auto inode = [&] {
      struct stat st {};
      stat((dir + "/Config.cfg").c_str(), &st);
      return st.st_ino;
    };
    const ino_t written = inode();
    StartInWindow();
    const std::string window = Xdo("search --sync --pid " + std::to_string(pid) + " --name '^PONDARO$'");
    ASSERT_FALSE(window.empty()) << "no window";
    // The start-up is over once it has written Config.cfg anew: from then on keys are taken at once.
    ASSERT_TRUE(WaitUntil([&] { return inode() != written; }, 30s)) << "no start-up write";
    Xdo("windowfocus --sync " + window);
    const auto step = [](auto ms) { std::this_thread::sleep_for(ms); };
    step(300ms);
    Xdo("key Return");
    step(300ms);
    Xdo("key Return");
    step(600ms);
    Xdo("key Escape");
    step(300ms);
    Xdo("mousemove --window " + window + " 335 322 click 1");
    step(5600ms);
    std::string keys;
    for (char c : name) keys += std::string(" ") + static_cast<char>(std::tolower(c));
    Xdo("key" + keys);
    step(300ms);
    ASSERT_EQ(Wait(0ms), -1) << "the game ended on its way to name entry";
  }
  TLocal_HighScores Best() {
    auto lines = ReadSettingsLines(dir + "/Config.cfg");
    return lines ? DecodeSettings(*lines).Table[0] : TLocal_HighScores{};
  }

  OwnXServer x;
};

TEST_F(RealGameX11, AQuitSignalAtNameEntryKeepsTheScore) {
  PlayToNameEntry("ZED");
  kill(pid, SIGTERM);
  EXPECT_EQ(Wait(5s), 0);
  EXPECT_EQ(Best(), (TLocal_HighScores{"ZED", 0}));
  EXPECT_TRUE(StderrLines().empty()) << ::testing::PrintToString(StderrLines());
}

TEST_F(RealGameX11, ALostXServerEndsTheGameWithTheScoreKept) {
  PlayToNameEntry("GONE");
  x.Kill();
  EXPECT_EQ(Wait(10s), 1);
  EXPECT_EQ(Best(), (TLocal_HighScores{"GONE", 0}));
  const auto lines = StderrLines();
  ASSERT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
  EXPECT_NE(lines[0].find("connection to the display"), std::string::npos) << lines[0];
}

// The message about an unreadable Config.cfg is on the game's panel when the
// quit comes: nobody closes it, and the game ends at once.
TEST_F(RealGameX11, AQuitSignalEndsTheGameWhileAMessageIsShown) {
  ASSERT_EQ(mkfifo((dir + "/Config.cfg").c_str(), 0644), 0);
  StartInWindow();
  const auto told = [&] {
    for (const std::string& line : StderrLines())
      if (line.find("cannot be read") != std::string::npos) return true;
    return false;
  };
  ASSERT_TRUE(WaitUntil(told, 20s)) << "no message";
  std::this_thread::sleep_for(500ms);
  ASSERT_EQ(Wait(0ms), -1);
  kill(pid, SIGTERM);
  // Nobody clicks: a box that held the quit up would keep it waiting for ever.
  // (Under the sanitizers the start-up's end and the exit take seconds.)
  EXPECT_EQ(Wait(20s), 0);
  EXPECT_TRUE(fs::is_fifo(dir + "/Config.cfg"));
}

}  // namespace
}  // namespace pondaro::test
