// The real program, started as a player would start it, on SDL's dummy drivers:
// SIGINT and SIGTERM end it cleanly with its settings written; without a sound
// device it plays silent and says so in one line; without a display it says so
// and exits non-zero.
#include "desktop/real_game.h"
#include "fuzz/fuzz_kit.h"
#include "persist/config_check.h"

namespace pondaro::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST_F(RealGame, SignalsEndItCleanlyWithTheSettingsWritten) {
  const Bytes table = ReadBytes(std::string(PONDARO_SOURCE_DIR) + "/tests/corpus/config/options-and-table.cfg");
  ASSERT_FALSE(table.empty());
  for (int signal : {SIGINT, SIGTERM}) {
    std::ofstream(dir + "/Config.cfg", std::ios::binary).write(reinterpret_cast<const char*>(table.data()), table.size());
    Start(kHeadless);
    // The start-up rewrites the file; take it away to see the signal write it again.
    Bytes startup = table;
    for (int i = 0; i < 500 && (startup == table || startup.empty()); ++i) {
      std::this_thread::sleep_for(20ms);
      startup = ReadBytes(dir + "/Config.cfg");
    }
    ASSERT_NE(startup, table) << "no start-up write";
    fs::remove(dir + "/Config.cfg");
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(Wait(0ms), -1) << "the game ended by itself";
    kill(pid, signal);
    EXPECT_EQ(Wait(10s), 0) << "signal " << signal;
    ASSERT_TRUE(fs::exists(dir + "/Config.cfg")) << "signal " << signal;
    // The options, the name and the table it read are what it wrote at the end.
    const Bytes written = ReadBytes(dir + "/Config.cfg");
    EXPECT_EQ(WrittenConfigProblem(std::string(written.begin(), written.end())), "");
    EXPECT_EQ(written, startup) << "signal " << signal;
    EXPECT_EQ(StderrLines(), std::vector<std::string>{}) << "signal " << signal;
  }
}

TEST_F(RealGame, WithoutASoundDeviceItPlaysSilentAndSaysSoOnce) {
  std::vector<std::string> drivers = {"nosuchdevice"};
  // ALSA on a machine without a sound card prints lines of its own unless told not to.
  if (!fs::exists("/dev/snd")) drivers.push_back("alsa");
  for (const std::string& driver : drivers) {
    fs::remove(dir + "/Config.cfg");
    Start({"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=" + driver});
    ASSERT_TRUE(WaitForConfig(20s)) << driver;
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(Wait(0ms), -1) << driver << ": the game stopped";
    kill(pid, SIGTERM);
    EXPECT_EQ(Wait(10s), 0) << driver;
    const auto lines = StderrLines();
    ASSERT_EQ(lines.size(), 1u) << driver << ": " << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[0].rfind("PONDARO: no sound: ", 0), 0u) << lines[0];
  }
}

TEST_F(RealGame, WithoutADisplayItSaysSoAndExitsNonZero) {
  // No display at all (SDL would fall back to drawing in memory), and one that
  // cannot be reached.
  const std::vector<std::vector<std::string>> cases = {
      {"SDL_VIDEODRIVER=", "DISPLAY=", "WAYLAND_DISPLAY=", "SDL_AUDIODRIVER=dummy"},
      {"SDL_VIDEODRIVER=x11", "DISPLAY=:97", "SDL_AUDIODRIVER=dummy"},
  };
  for (const auto& env : cases) {
    Start(env);
    const int status = Wait(20s);
    EXPECT_NE(status, 0) << env[0];
    EXPECT_NE(status, -1) << env[0] << ": still running";
    bool said = false;
    for (const std::string& line : StderrLines()) said = said || line.rfind("PONDARO: Cannot ", 0) == 0;
    EXPECT_TRUE(said) << ::testing::PrintToString(StderrLines());
    EXPECT_FALSE(fs::exists(dir + "/Config.cfg"));
  }
}

}  // namespace
}  // namespace pondaro::test
