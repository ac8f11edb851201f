// XdgShell against a fake xdg-open put first on PATH.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/fake_services.h"
#include "app/app_loop.h"
#include "desktop/sdl_game.h"
#include "desktop/xdg_shell.h"

namespace pondaro::test {
namespace {

// The fake records its arguments, its standard streams, its session and its
// ignored signals, then sleeps for $dir/sleep seconds and exits with $dir/code.
constexpr char kFakeXdgOpen[] = R"SH(#!/bin/sh
dir=$(dirname "$0")
fd0=$(readlink /proc/$$/fd/0) fd1=$(readlink /proc/$$/fd/1) fd2=$(readlink /proc/$$/fd/2)
{
  echo "argc=$#"
  for a in "$@"; do echo "arg=$a"; done
  echo "fd0=$fd0"
  echo "fd1=$fd1"
  echo "fd2=$fd2"
  echo "pid=$$"
  echo "sid=$(cut -d' ' -f6 /proc/$$/stat)"
  grep SigIgn /proc/$$/status
} > "$dir/log.tmp"
mv "$dir/log.tmp" "$dir/log"
[ -f "$dir/sleep" ] && sleep "$(cat "$dir/sleep")"
exit "$(cat "$dir/code" 2>/dev/null || echo 0)"
)SH";

class XdgShellTest : public ::testing::Test {
 protected:
  // Long enough for the fake to finish even on a busy machine; it ends far sooner.
  static constexpr int kPatient = 5000;

  void SetUp() override {
    char tmpl[] = "/tmp/pondaro-xdg-XXXXXX";
    dir = mkdtemp(tmpl);
    Write("xdg-open", kFakeXdgOpen);
    chmod((dir + "/xdg-open").c_str(), 0755);
    oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (dir + ":" + oldPath).c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", oldPath.c_str(), 1);
    std::system(("rm -rf " + dir).c_str());
  }
  void Write(const std::string& name, const std::string& text) { std::ofstream(dir + "/" + name) << text; }
  std::string Log() {
    std::ifstream in(dir + "/log");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool Ran() { return std::ifstream(dir + "/log").good(); }
  std::string Field(const std::string& key) {
    std::istringstream in(Log());
    for (std::string line; std::getline(in, line);)
      if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return "<none>";
  }

  std::string dir, oldPath;
  RecordingMessageBox messages;
};

TEST_F(XdgShellTest, OpensTheAddressAsOneArgumentDetachedFromTheGame) {
  // The game may ignore a signal; the browser must not inherit that.
  struct sigaction ignore {}, old {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGUSR1, &ignore, &old);
  XdgShell shell(messages, kPatient);
  const std::string url = "http://127.0.0.1:8765/cgi/version.pl?prg=Pondaro&type=0&show;$(touch${IFS}x)`id`|*";
  EXPECT_TRUE(shell.OpenUrl(url));
  sigaction(SIGUSR1, &old, nullptr);
  ASSERT_TRUE(Ran());

  EXPECT_EQ(Field("argc"), "1");
  EXPECT_EQ(Field("arg"), url);  // no shell ever saw it
  EXPECT_FALSE(std::ifstream(dir + "/x").good());
  for (const char* fd : {"fd0", "fd1", "fd2"}) EXPECT_EQ(Field(fd), "/dev/null") << fd;
  EXPECT_EQ(Field("sid"), Field("pid"));  // a session of its own
  const std::string ignored = Log().substr(Log().find("SigIgn:") + 7);
  const unsigned long long mask = std::stoull(ignored, nullptr, 16);
  EXPECT_EQ(mask & (1ull << (SIGUSR1 - 1)), 0u);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(shell.Running(), 0u);  // it ended within the grace period and was reaped
}

TEST_F(XdgShellTest, OnlyPlainWebAddressesAreOpened) {
  XdgShell shell(messages, kPatient);
  for (const char* url : {"", "file:///etc/passwd", "javascript:alert(1)", "-http://x", "ftp://host/",
                          "http://host/a b", "http://host/\n", "http://host/\t", "https://h\x7f", "http://h\xc3\xa9"})
    EXPECT_FALSE(shell.OpenUrl(url)) << url;
  EXPECT_FALSE(Ran());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(shell.OpenUrl("https://example.org/"));
  EXPECT_EQ(Field("arg"), "https://example.org/");
  // A local page only when it is an HTML page that is there: the game's own help.
  const std::string page = ::testing::TempDir() + "pondaro help.html";
  std::ofstream(page) << "<p>help</p>";
  EXPECT_FALSE(shell.OpenUrl("file://" + ::testing::TempDir() + "missing.html"));
  EXPECT_TRUE(shell.OpenUrl("file://" + std::string(page).replace(page.find(' '), 1, "%20")));
  std::remove(page.c_str());
}

TEST_F(XdgShellTest, AFailureGivesTheAddressToOpenByHand) {
  Write("code", "3");
  XdgShell shell(messages, kPatient);
  EXPECT_FALSE(shell.OpenUrl("http://127.0.0.1:8765/"));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("\nhttp://127.0.0.1:8765/"), std::string::npos) << messages.shown[0];

  // No xdg-open at all.
  setenv("PATH", dir.c_str(), 1);
  std::remove((dir + "/xdg-open").c_str());
  EXPECT_FALSE(shell.OpenUrl("http://127.0.0.1:8765/home"));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_NE(messages.shown[1].find("http://127.0.0.1:8765/home"), std::string::npos);
}

TEST_F(XdgShellTest, ALateFailureIsReportedAtTheNextPoll) {
  Write("sleep", "0.4");
  Write("code", "4");
  XdgShell shell(messages, 20);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(shell.OpenUrl("http://late.example/"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));  // it did not wait
  EXPECT_EQ(shell.Running(), 1u);
  shell.Poll();
  EXPECT_TRUE(messages.shown.empty());
  auto settle = [&] {
    for (int i = 0; i < 300 && shell.Running() > 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      shell.Poll();
    }
  };
  settle();
  EXPECT_EQ(shell.Running(), 0u);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("http://late.example/"), std::string::npos);

  // A late success is reaped without a word.
  Write("code", "0");
  EXPECT_TRUE(shell.OpenUrl("http://fine.example/"));
  EXPECT_EQ(shell.Running(), 1u);
  settle();
  EXPECT_EQ(shell.Running(), 0u);
  EXPECT_EQ(messages.shown.size(), 1u);
}

// Clicks on a link while its browser is still starting open nothing more; once
// it is up, or for another address, a click opens again.
TEST_F(XdgShellTest, ABrowserBeingStartedIsNotStartedAgain) {
  Write("sleep", "0.5");
  XdgShell shell(messages, 20);
  for (int click = 0; click < 5; ++click) EXPECT_TRUE(shell.OpenUrl("http://home.example/"));
  EXPECT_EQ(shell.Running(), 1u);
  EXPECT_TRUE(shell.OpenUrl("http://table.example/"));
  EXPECT_EQ(shell.Running(), 2u);
  for (int i = 0; i < 300 && shell.Running() > 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    shell.Poll();
  }
  ASSERT_EQ(shell.Running(), 0u);
  EXPECT_TRUE(shell.OpenUrl("http://home.example/"));
  EXPECT_EQ(shell.Running(), 1u);
  EXPECT_TRUE(messages.shown.empty());
}

// The game's loop reaps a browser that outlives the grace period as soon as it
// ends, and a late failure names its own address, before any other link is opened.
TEST_F(XdgShellTest, TheGameLoopReapsBrowsersBetweenTicks) {
  Write("sleep", "0.5");
  Write("code", "4");
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  SdlGame game;
  std::string error;
  ASSERT_TRUE(game.Start(SdlGame::Mode::Offscreen, error)) << error;
  FakeKeyboard keyboard;
  FakeClock clock;
  ScriptedEvents events;
  TMainForm form(game.Services(keyboard, clock));
  TApplication app(form, events, clock);
  game.Attach(app);

  testing::internal::CaptureStderr();
  EXPECT_TRUE(game.Browser->OpenUrl("http://late.example/"));
  ASSERT_EQ(game.Browser->Running(), 1u);
  for (int i = 0; i < 300 && game.Browser->Running() > 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    clock.now += TApplication::kTickMs;
    app.RunDue(clock.now);
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(game.Browser->Running(), 0u);
  EXPECT_NE(said.find("http://late.example/"), std::string::npos) << said;
}

}  // namespace
}  // namespace pondaro::test
