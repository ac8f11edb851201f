// Watching replays in the game: a row of the High Score screen plays its game with
// a banner, P pauses, F plays at 4x, Esc or a click goes back; the idle main menu
// plays the best game as a silent demo until any input. The player's own state
// and files come back untouched.
#include <fstream>
#include <optional>
#include <sstream>

#include "menus/text_looks.h"
#include "replay/digest.h"
#include "replay/shelf.h"
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
  // The form built again on the same folder: Config.cfg and the replays stay.
  void Restart() {
    app.reset();
    form.reset();
    tape.reset();
    MakeTaped();
  }
  // The look the name of the row drawn last frame was written in.
  std::optional<TextLook> RowLook(const std::string& name) {
    std::optional<TextLook> look;
    for (const DrawCall& c : display.CallsOf(DrawCall::Text))
      if (c.text == name && c.styled) look = c.look;
    return look;
  }
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
  EXPECT_TRUE(BannerShown("paused"));
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
  // A click is the pointer's way back.
  ClickRow(5);
  Tick(20);
  ASSERT_TRUE(Watching());
  Click(700, 100);
  EXPECT_FALSE(Watching());
  EXPECT_EQ(form->Scene, 7);
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

TEST_F(WatchReplay, TheKeysChooseAWatchableRowAndEnterPlaysIt) {
  PlayShortGame("Frog");
  Press(vk::Escape);
  form->ChangeScene(7);  // shown again: the new place no longer lit
  display.calls.clear();
  Tick();
  EXPECT_EQ(RowLook("FROG"), looks::kTableWatchable);
  EXPECT_EQ(RowLook(form->HighScores[4].Name), looks::kTable) << "nothing to watch";
  bool chosen = false;
  for (int i = 0; i < 6 && !chosen; ++i) {
    Press(vk::Down);
    display.calls.clear();
    Tick();
    chosen = RowLook("FROG") == looks::kTableChosen;
  }
  ASSERT_TRUE(chosen) << "the keys reach the row";
  Press(vk::Return);
  Tick();
  EXPECT_TRUE(Watching());
  Press(vk::Escape);
  display.calls.clear();
  Tick();
  EXPECT_EQ(RowLook("FROG"), looks::kTableChosen) << "back on the row watched";
}

// Every way out of the program saves (a lost display calls SaveOnExit straight
// from the display's error handler): while a replay plays, what it saves is the
// player's own, never the replay's table, typed name or silenced sound.
TEST_F(WatchReplay, EveryWayOutSavesThePlayersOwnStateNeverTheReplays) {
  PlayShortGame("Frog");
  const THighScoreTable table = form->HighScores;
  const std::string config = Config();
  ClickRow(5);
  for (int t = 0; t < 2000 && !(form->Scene == 9 && form->Edit2 == "FROG"); ++t) Tick();
  ASSERT_TRUE(Watching());
  ASSERT_EQ(form->Scene, 9) << "the watched game types its name";
  form->SaveOnExit();
  EXPECT_FALSE(Watching());
  EXPECT_FALSE(form->Replaying);
  EXPECT_EQ(form->HighScores, table) << "no second FROG stored from the replay's name entry";
  EXPECT_EQ(Config(), config);

  Restart();  // the demo has the sound off while it plays
  ToMenu();
  Tick(TReplayWatch::kDemoAfterTicks + 100);
  ASSERT_TRUE(Watching());
  ASSERT_FALSE(form->GameSound);
  Send({.Type = EventType::Terminate});
  EXPECT_TRUE(form->Terminated);
  EXPECT_TRUE(form->GameSound);
  EXPECT_EQ(Config(), config);
}

// A message shown over a recorded game (full screen refused) holds it still in
// the replay too, closed by the same key; a message of the player's own keeps the
// demo away until it is read.
TEST_F(WatchReplay, MessagesOverAGameReplayAndThePlayersOwnWait) {
  MakeTaped();
  display.fullScreenFails = true;
  ToMenuWithLowTable();
  Press(vk::Return);
  Tick(115);
  Send({.Type = EventType::KeyDown, .Key = vk::Return, .Alt = true});
  Send({.Type = EventType::KeyUp, .Key = vk::Return, .Alt = true});
  ASSERT_TRUE(form->MessagePanel.Open());
  Tick(30);
  Press(vk::Return);  // read: the game goes on
  ASSERT_FALSE(form->MessagePanel.Open());
  Tick(40);
  LeaveGame();
  Press('M');
  Press(vk::Return);
  Tick(2);
  ASSERT_TRUE(tape->LastGame);
  const TVerdict v = Verify(*tape->LastGame);
  EXPECT_TRUE(v.Verified) << v.Problem;

  // Played alone (pondaro --replay) over a message of the player's own: the
  // replay's message shows in its game and goes with it; the player's waits.
  form->ShowError("A note of the player's");
  std::string error;
  ASSERT_TRUE(tape->Watch()->Request(*form, ShelfRows(*form)[5], TWatchMode::Alone, error)) << error;
  bool shown = false;
  for (int t = 0; t < 2000 && !form->Terminated; ++t) {
    Tick();
    shown = shown || (form->MessagePanel.Open() && form->MessagePanel.Queue.front().starts_with("Display mode"));
  }
  EXPECT_TRUE(shown) << "the watched game shows its message";
  EXPECT_TRUE(form->Terminated);
  EXPECT_EQ(tape->Watch()->LastProblem(), "");
  ASSERT_EQ(form->MessagePanel.Queue.size(), 1u);
  EXPECT_EQ(form->MessagePanel.Queue.front(), "A note of the player's");

  Restart();
  ToMenu();
  form->ShowError("Something to read");
  Tick(TReplayWatch::kDemoAfterTicks + 50);
  EXPECT_FALSE(Watching()) << "no demo over a message";
  Press(vk::Return);
  Tick(TReplayWatch::kDemoAfterTicks + 2);
  EXPECT_TRUE(Watching());
}

}  // namespace
}  // namespace pondaro::test
