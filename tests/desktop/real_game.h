// The real program in a temporary folder of its own (Data/ and Music/ linked in),
// started as a player would start it and ended by real signals.
#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace pondaro::test {

class RealGame : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(Program())) GTEST_SKIP() << "the game is not built";
    char tmpl[] = "/tmp/pondaro-real-XXXXXX";
    dir = mkdtemp(tmpl);
    std::filesystem::create_directory_symlink(std::filesystem::path(PONDARO_GAME_DIR) / "Data", dir + "/Data");
    std::filesystem::create_directory_symlink(std::filesystem::path(PONDARO_GAME_DIR) / "Music", dir + "/Music");
  }
  void TearDown() override {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    if (!dir.empty()) std::filesystem::remove_all(dir);
  }
  static std::string Program() { return std::string(PONDARO_GAME_DIR) + "/pondaro"; }

  // Starts the game in `dir` with these variables set ("NAME=value") or, with an
  // empty value ("NAME="), removed. Its stderr goes to stderr.txt, or to
  // `stderrFd` when one is given.
  void Start(const std::vector<std::string>& env, int stderrFd = -1) {
    std::filesystem::remove(dir + "/stderr.txt");  // a run before this one said nothing of this one
    pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      if (chdir(dir.c_str()) != 0) _exit(100);
      // Under the sanitizers, the leak checker's list of suppressions used is not the game's output.
      if (const char* lsan = getenv("LSAN_OPTIONS"))
        setenv("LSAN_OPTIONS", (std::string(lsan) + ":print_suppressions=0").c_str(), 1);
      for (const std::string& e : env) {
        const size_t eq = e.find('=');
        const std::string name = e.substr(0, eq), value = e.substr(eq + 1);
        if (value.empty())
          unsetenv(name.c_str());
        else
          setenv(name.c_str(), value.c_str(), 1);
      }
      if (stderrFd >= 0) {
        dup2(stderrFd, 2);
      } else {
        FILE* err = std::freopen((dir + "/stderr.txt").c_str(), "w", stderr);
        (void)err;
      }
      FILE* out = std::freopen("/dev/null", "w", stdout);
      (void)out;
      execl(Program().c_str(), "pondaro", static_cast<char*>(nullptr));
      _exit(101);
    }
  }
  // The exit status (128 + the signal for a signal's end), or -1 when the game
  // has not ended within `limit`.
  int Wait(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    do {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < end);
    return -1;
  }
  static bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() >= end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }
  // Start-up has written Config.cfg once it has passed the high-score table.
  bool WaitForConfig(std::chrono::milliseconds limit) {
    return WaitUntil([&] { return std::filesystem::exists(dir + "/Config.cfg"); }, limit);
  }
  std::vector<std::string> StderrLines() {
    std::vector<std::string> lines;
    std::ifstream in(dir + "/stderr.txt");
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::string Text(const std::string& name) {
    std::ifstream in(dir + "/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  }

  std::string dir;
  pid_t pid = -1;
};

inline const std::vector<std::string> kHeadless = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};

}  // namespace pondaro::test
