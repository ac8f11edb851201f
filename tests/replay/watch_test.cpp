// Watching replays in the game: a row of the High Score screen plays its game with
// a banner, P pauses, F plays at 4x, Esc goes back; the idle main menu plays the
// best game as a silent demo until any input. The player's own state and files
// come back untouched.
#include <fstream>
#include <sstream>

#include "replay/digest.h"
#include "replay/taped_game.h"

namespace pondaro::test {
namespace {

class WatchReplay : public TapedGame {
 protected:
  std::string Config() {
    std::ifstream in(dir + "/Config.cfg", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool Watching() { return tape->Watch()->Active(); }
  void ClickRow(int place) { Click(400, 217 + 37 * place + 10); }
  bool BannerShown(const std::string& text) {
    for (const DrawCall& c : display.CallsOf(DrawCall::Text))
      if (c.text.find(text) != std::string::npos) return true;
    return false;
  }
};

TEST_F(WatchReplay, ARowPlaysItsGameToTheEndAndTheTableComesBackAsItWas) {
  PlayShortGame("Frog");
  ASSERT_FALSE(form->TableReplays.Files[5].empty());
  ASSERT_TRUE(form->TableReplays.Files[4].empty()) << "a default row has nothing to watch";
  const THighScoreTable table = form->HighScores;
  const std::string config = Config();
  const uint32_t ticks = tape->LastGame->Ticks;

  ClickRow(4);  // nothing to watch there
  Tick();
  EXPECT_FALSE(Watching());
  ClickRow(5);
  display.calls.clear();
  Tick();
  ASSERT_TRUE(Watching());
  EXPECT_EQ(form->Scene, 3) << "the recorded game began";
  EXPECT_TRUE(BannerShown("Replay: FROG"));
  // What the watcher presses is not the recorded player's.
  Press(vk::Space);
  Press('X');
  Press(vk::Left);
  Tick(ticks + 5);
  EXPECT_FALSE(Watching());
  EXPECT_EQ(tape->Watch()->LastProblem(), "") << "played as it was recorded";
  EXPECT_EQ(form->Scene, 7);
  EXPECT_EQ(form->HighScores, table);
  EXPECT_EQ(Config(), config);
  EXPECT_FALSE(form->Replaying);
}

TEST_F(WatchReplay, PausesPlaysFastAndGoesBackOnEscape) {
  PlayShortGame("Frog");
  ClickRow(5);
  Tick(50);
  ASSERT_TRUE(Watching());
  const uint64_t digest = StateDigest(*form);
  const int frames = display.frames;
  Press('P');
  display.calls.clear();
  Tick(20);
  EXPECT_EQ(StateDigest(*form), digest) << "paused, the game stands still";
  EXPECT_GE(display.frames, frames + 20) << "and stays on the screen";
  EXPECT_TRUE(BannerShown("(paused)"));
  Press('P');
  Press('F');
  const uint32_t before = tape->Player()->Ticks();
  Tick(10);
  EXPECT_EQ(tape->Player()->Ticks(), before + 40) << "four recorded ticks a tick";
  Press(vk::Escape);
  Tick();
  EXPECT_FALSE(Watching());
  EXPECT_EQ(form->Scene, 7);
  EXPECT_EQ(form->HighScores[5].Name, "FROG");
}

TEST_F(WatchReplay, TheIdleMenuPlaysASilentDemoUntilAnyInput) {
  PlayShortGame("Frog");
  Press(vk::Escape);
  Tick();
  ASSERT_EQ(form->Scene, 2);
  Tick(TReplayWatch::kDemoAfterTicks - 10);
  Send({.Type = EventType::MouseMove, .X = 10, .Y = 10});  // an input: the wait starts again
  Tick(TReplayWatch::kDemoAfterTicks - 10);
  EXPECT_FALSE(Watching());
  music.loaded.clear();
  sound.startedSamples.clear();
  Tick(12);
  ASSERT_TRUE(Watching());
  EXPECT_EQ(tape->Watch()->Mode(), TWatchMode::Demo);
  Tick(150);
  EXPECT_EQ(form->Scene, 3);
  EXPECT_TRUE(music.loaded.empty()) << "the menu's song goes on";
  EXPECT_TRUE(sound.startedSamples.empty()) << "the demo makes no sound";
  Press('Q');
  EXPECT_FALSE(Watching()) << "back at once";
  EXPECT_EQ(form->Scene, 2);
  EXPECT_TRUE(form->GameSound);
  EXPECT_TRUE(form->GameMusic);
  EXPECT_TRUE(music.loaded.empty()) << "the song was never changed";
}

TEST_F(WatchReplay, TheSystemEndingTheProgramEndsTheWatchingFirst) {
  PlayShortGame("Frog");
  const THighScoreTable table = form->HighScores;
  ClickRow(5);
  Tick(200);
  ASSERT_TRUE(Watching());
  Send({.Type = EventType::Terminate});
  EXPECT_TRUE(form->Terminated);
  EXPECT_FALSE(Watching());
  EXPECT_EQ(form->HighScores, table) << "the player's own table is what was saved";
}

}  // namespace
}  // namespace pondaro::test
