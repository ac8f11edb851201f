// The whole road: the real game, driven by a scenario to a high score with the
// send box ticked, submits to the service on the game's own address; the table
// page in a browser then lists the score.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "browser_fixture.h"
#include "http_fixture.h"
#include "persist/score_service.h"

namespace pondaro::scores::test {
namespace {

int GamePort() {
  const std::string base = kVersionCheckBase;
  return std::atoi(base.c_str() + base.rfind(':') + 1);
}

// A game folder of our own: the built game's pictures and songs, no settings.
struct GameFolder {
  TempDir dir{"pondaro-game"};
  GameFolder() {
    for (const char* name : {"Data", "Music"})
      if (symlink((std::string(PONDARO_GAME_DIR) + "/" + name).c_str(), (dir / name).c_str()) != 0)
        ADD_FAILURE() << "cannot link " << name;
  }
};

// Plays to the name entry of a game over with `score`, types `name`, ticks the
// send box and presses Enter; the exit status of the shot runner.
int PlayAndSend(const GameFolder& game, int score, const std::string& name) {
  const std::string script = game.dir / "send.txt";
  WriteFile(script, "seed 1\nkey Escape\nexpect-scene 2\nscene 9\nset Score " + std::to_string(score) +
                        "\ntick 180\nexpect-scene 9\ntype " + name +
                        "\nclick 264 386\nkey Return\nexpect-scene 7\n");
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

TEST(EndToEnd, AScoreSentFromTheGameIsOnThePage) {
  const int port = GamePort();
  if (!PortFree(port))
    GTEST_SKIP() << "the game's service port " << port << " is taken (a running `make scores`?); the game "
                 << "cannot be pointed elsewhere at run time";
  RunningService service(RunningService::Quiet(), {}, port);
  if (service.Port() != port) GTEST_SKIP() << "port " << port << " was taken just now";

  GameFolder game;
  ASSERT_EQ(PlayAndSend(game, 4325, "TADPOLE7"), 0);
  const std::vector<StoredScore> best = service.Scores().Best(100);
  ASSERT_FALSE(best.empty());
  bool found = false;
  for (const StoredScore& s : best) found |= s.name == "TADPOLE7" && s.score == 4325 && s.country.empty();
  EXPECT_TRUE(found) << "not stored";
  // The game also keeps it in its own table, as it would without the service.
  EXPECT_NE(ReadFile(game.dir / "Config.cfg").size(), 0u);

  std::string reason;
  testing::Chromium* chromium = SharedBrowser(reason);
  if (!chromium) GTEST_SKIP() << "stored, but Chromium cannot run here to look: " << reason;
  chromium->Open(pondaro::kOnlineTableUrl, 1280, 800);
  const nlohmann::json rows = chromium->Evaluate(kRenderedRows);
  bool shown = false;
  for (const auto& row : rows) shown |= row[1] == "TADPOLE7" && row[3] == "4\u202f325";
  EXPECT_TRUE(shown) << rows.dump();
}

}  // namespace
}  // namespace pondaro::scores::test
