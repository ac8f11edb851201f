// The whole road: the real game, driven by a scenario of inputs alone, plays a
// short game to a high score, sends it with the send box ticked and its replay
// after it, keeps the replay and plays it from the High Score screen; the service
// on the game's own address re-plays it, and the table page in a browser lists
// the score as verified, its mark linking that very replay.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "browser_fixture.h"
#include "http_fixture.h"
#include "pages.h"
#include "persist/score_service.h"
#include "persist/settings_file.h"

namespace pondaro::scores::test {
namespace {

int GamePort() {
  const std::string base = kVersionCheckBase;
  return std::atoi(base.c_str() + base.rfind(':') + 1);
}

// A game folder of our own: the built game's pictures and songs, and settings
// whose table any score enters, without sound.
struct GameFolder {
  TempDir dir{"pondaro-game"};
  GameFolder() {
    for (const char* name : {"Data", "Music"})
      if (symlink((std::string(PONDARO_GAME_DIR) + "/" + name).c_str(), (dir / name).c_str()) != 0)
        ADD_FAILURE() << "cannot link " << name;
    pondaro::SettingsValues settings;
    settings.Music = settings.Sound = false;
    for (auto& row : settings.Table) row = {"Nobody", 0};
    WriteFile(dir / "Config.cfg", pondaro::FormatSettings(settings));
  }
  // The replays the game keeps beside its settings.
  std::vector<std::string> Replays() const {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir / "replays", ec)) files.push_back(e.path());
    return files;
  }
};

// Plays a game by inputs alone: started from the menu, two hops forward, left by
// the exit dialog; `name` typed at name entry, the send box ticked, Enter. Then
// its row of the High Score screen plays it, and Esc goes back. The exit status
// of the shot runner.
int PlayAndSend(const GameFolder& game, const std::string& name) {
  const std::string script = game.dir / "send.txt";
  WriteFile(script, "key Return\nkey Return\ntick 115\nexpect-scene 3\n"
                    "keydown Space\ntick 3\nkeyup Space\ntick 45\nkeydown Space\ntick 3\nkeyup Space\ntick 45\n"
                    "expect Score > 0\nkey Escape\nkey Down\nkey Return\ntick 170\nexpect-scene 9\n"
                    "type " + name + "\nclick 264 386\nkey Return\nexpect-scene 7\n"
                    "click 400 227\ntick 2\nexpect Watching = 1\nkey Escape\ntick 2\nexpect Watching = 0\n"
                    "expect-scene 7\n");
  SpawnOptions o;
  o.workDir = game.dir.Path();
  o.log = game.dir / "shots.log";
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::string error;
  const pid_t pid = Spawn({std::string(PONDARO_GAME_DIR) + "/pondaro-shots", script, game.dir / "shots"}, o, error);
  if (pid < 0) {
    ADD_FAILURE() << error;
    return -1;
  }
  const int status = WaitExit(pid, 120000);
  if (status != 0) ADD_FAILURE() << ReadFile(o.log);
  return status;
}

TEST(EndToEnd, AGamePlayedAndSentShowsVerifiedWithItsReplay) {
  const int port = GamePort();
  if (!PortFree(port))
    GTEST_SKIP() << "the game's service port " << port << " is taken (a running `make scores`?); the game "
                 << "cannot be pointed elsewhere at run time";
  RunningService service(RunningService::Quiet(), DefaultHttp(), port);
  if (service.Port() != port) GTEST_SKIP() << "port " << port << " was taken just now";
  service.WithVerifier();

  GameFolder game;
  ASSERT_EQ(PlayAndSend(game, "TADPOLE7"), 0);
  const std::vector<std::string> kept = game.Replays();
  ASSERT_EQ(kept.size(), 1u) << "the game keeps its replay";
  ASSERT_TRUE(service.Checked());
  const std::vector<ListedScore> listed = service.Scores().List(10);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].score.name, "TADPOLE7");
  EXPECT_EQ(listed[0].replay, "verified");

  std::string reason;
  testing::Chromium* chromium = SharedBrowser(reason);
  if (!chromium) GTEST_SKIP() << "verified, but Chromium cannot run here to look: " << reason;
  chromium->Open(pondaro::kOnlineTableUrl, 1280, 800);
  const nlohmann::json rows = chromium->Evaluate(kRenderedRows);
  ASSERT_EQ(rows.size(), 1u) << rows.dump();
  EXPECT_EQ(rows[0][1], "TADPOLE7");
  EXPECT_EQ(rows[0][3], GroupDigits(listed[0].score.score));
  EXPECT_EQ(rows[0][5], "\u2713");
  const std::string href = chromium->Evaluate("document.querySelector('a.proof').href");
  EXPECT_EQ(HttpGet(port, href.substr(href.find(kReplayPath))).body, ReadFile(kept[0]))
      << "the replay on the page is the one the game kept";
}

}  // namespace
}  // namespace pondaro::scores::test
