// The main menu and the pointer rules every screen shares.
#include <filesystem>
#include <fstream>

#include "menus/home_page.h"
#include "menus/menu_fixture.h"
#include "persist/score_service.h"

namespace pondaro::test {
namespace {

using MainMenu = MenuTest;

TEST_F(MainMenu, TheHoverSoundPlaysOnEnteringAnItemFromOutsideOnly) {
  auto& f = Menu();
  // The first entry after start-up is silent: the pointer was never outside.
  Move(545, 185);
  EXPECT_EQ(Live<Start_Game>(), 1);
  EXPECT_EQ(display.cursor, CursorShape::Hand);
  EXPECT_EQ(Starts("button_up"), 0);
  Move(100, 100);
  EXPECT_EQ(Live<Start_Game>(), 0);
  EXPECT_EQ(display.cursor, CursorShape::Arrow);
  Move(545, 185);
  EXPECT_EQ(Starts("button_up"), 1);
  f.Root().ForEach<Start_Game>([](Start_Game* s) {
    if (!s->Dying) EXPECT_EQ(std::pair(s->X, s->Y), std::pair(328.0, 136.0));
  });
  // Within an item, and straight into the next one: a fresh highlight, no sound.
  Move(700, 200);
  EXPECT_EQ(Live<Start_Game>(), 1);
  Move(550, 262);
  EXPECT_EQ(Live<Start_Game>(), 0);
  EXPECT_EQ(Live<Options>(), 1);
  EXPECT_EQ(Starts("button_up"), 1);
  // x 354 is left of Start Game.
  Move(354, 180);
  EXPECT_EQ(Live<TMenuGame>(), 0);
  Move(355, 180);
  EXPECT_EQ(Starts("button_up"), 2);
  // The sound is stopped and played again, never heard twice over.
  EXPECT_EQ(Voices("button_up"), 1);
}

TEST_F(MainMenu, EachItemLeadsWhereItSaysWithAClick) {
  struct Case {
    int x, y;
    int scene;
  };
  // The game's own help page, for a game built without a home page.
  std::filesystem::create_directories(dir + "/doc");
  std::ofstream(dir + "/doc/README.html") << "<h1>PONDARO</h1>";
  for (const Case c : {Case{545, 185, 3}, {550, 262, 6}, {552, 335, 7}, {546, 410, 5}, {547, 480, 2}, {547, 550, 2}}) {
    auto& f = Menu();
    const int clicks = Starts("button_down");
    Click(c.x, c.y, MouseButton::Right);
    Click(c.x, c.y, MouseButton::Middle);
    EXPECT_EQ(f.Scene, 2) << "only the left button chooses";
    EXPECT_FALSE(f.GameMainExit);
    Click(c.x, c.y);
    EXPECT_EQ(f.Scene, c.scene) << c.y;
    EXPECT_EQ(Starts("button_down"), clicks + 1) << c.y;
    if (c.y == 480) EXPECT_EQ(shell.opened.back(), HomePage(f));
    if (c.y == 550) EXPECT_TRUE(f.GameMainExit);
    if (f.GameMainExit) f.GameMainExitClick();
  }
  EXPECT_EQ(shell.opened.size(), 1u);
}

TEST_F(MainMenu, EveryMoveRemovesTheHighlightInEveryScene) {
  auto& f = Make();
  for (int scene : {1, 2, 3, 4, 5, 6, 7, 9}) {
    f.ChangeScene(scene);
    new HelpGame_Back(f, HelpItems()[0]);
    Move(0, 0);
    EXPECT_EQ(Live<TMenuGame>(), 0) << "scene " << scene;
  }
}

TEST_F(MainMenu, TheExitDialogOpensOnlyOverTheMenuAndPlayAndNotWhilePaused) {
  auto& f = Make();
  for (int scene : {1, 5, 6, 7, 9}) {
    f.ChangeScene(scene);
    f.GameMainExitClick();
    f.HandleEvent({EventType::Close});
    EXPECT_FALSE(f.GameMainExit) << "scene " << scene;
    EXPECT_EQ(Live<TMenu>(), 0) << "scene " << scene;
  }
  for (int scene : {2, 3, 4}) {
    f.ChangeScene(scene);
    f.Paused = true;
    f.GameMainExitClick();
    EXPECT_FALSE(f.GameMainExit) << "paused, scene " << scene;
    f.Paused = false;
    const int pauses = Starts("pause");
    f.GameMainExitClick();
    ASSERT_TRUE(f.GameMainExit) << "scene " << scene;
    EXPECT_EQ(display.caption, "PONDARO [Pause]");
    EXPECT_EQ(display.cursor, CursorShape::Hand);
    EXPECT_EQ(Starts("pause"), pauses + 1);
    ASSERT_EQ(Live<TMainExit>(), 1);
    ASSERT_EQ(Live<TMainExit_Word>(), 1);
    // Above every sprite of the play, whose deepest lies at 905.
    f.Root().ForEach<TMenu>([](TMenu* m) { EXPECT_GT(m->Z, 905); });
    f.Root().ForEach<TMainExit>([](TMainExit* m) {
      EXPECT_DOUBLE_EQ(m->X, (800 - m->Width) / 2.0);
      EXPECT_DOUBLE_EQ(m->Y, (600 - m->Height) / 2.0 - 5);
    });
    f.GameMainExitClick();
    EXPECT_FALSE(f.GameMainExit);
    EXPECT_EQ(display.caption, "PONDARO");
    EXPECT_EQ(display.cursor, scene == 2 ? CursorShape::Arrow : CursorShape::None);
    EXPECT_EQ(Live<TMenu>(), 0);
  }
}

TEST_F(MainMenu, TenDialogOpeningsLeaveNoSpritesBehind) {
  auto& f = Menu();
  Tick();
  const int sprites = f.Root().Count();
  for (int i = 0; i < 10; ++i) {
    f.GameMainExitClick();
    Move(340, 322);  // Yes highlighted
    Tick();
    f.GameMainExitClick();
    Tick();
  }
  EXPECT_EQ(f.Root().Count(), sprites);
  f.ChangeScene(7);
  Tick();
  const int table = f.Root().Count();
  for (int i = 0; i < 10; ++i) {
    Click(97, 237);  // Clear
    Move(460, 330);  // No highlighted
    Tick();
    Click(460, 330);
    Tick();
  }
  EXPECT_EQ(f.Root().Count(), table);
}

TEST_F(MainMenu, TheExitDialogOverTheMenu) {
  auto& f = Menu();
  Click(547, 550);
  ASSERT_TRUE(f.GameMainExit);
  // The items beneath neither highlight nor answer; Enter starts no game.
  Move(545, 185);
  EXPECT_EQ(Live<TMenuGame>(), 0);
  Click(545, 185);
  f.FormKeyDown(vk::Return, false, false, false);
  EXPECT_EQ(f.Scene, 2);
  // Whole rectangles: x 460, y 320 lies in Yes's rows but is No.
  Move(460, 320);
  EXPECT_EQ(Live<TMainExit_No>(), 1);
  EXPECT_EQ(Live<TMainExit_Yes>(), 0);
  Click(460, 320, MouseButton::Right);
  EXPECT_TRUE(f.GameMainExit);
  Click(460, 320);
  EXPECT_FALSE(f.GameMainExit);
  EXPECT_FALSE(f.Terminated);
  EXPECT_TRUE(IsShowing("Start Game_n"));
  Click(547, 550);
  Click(335, 322);
  EXPECT_TRUE(f.Terminated);
}

TEST_F(MainMenu, TheExitDialogOverPlay) {
  auto& f = Menu();
  struct Case {
    int scene;
    int32_t score;
    int after;
  };
  // Name entry only for a score above the tenth place.
  for (const Case c : {Case{3, 100, 2}, {3, 101, 9}, {4, 100, 2}, {4, 5000, 9}}) {
    f.ChangeScene(c.scene);
    f.SyncLevelTimer();
    f.GameMainExitClick();
    EXPECT_FALSE(f.LevelTimer.Enabled) << "the feeding stage's clock stands still";
    Click(335, 322, MouseButton::Right);  // any button answers over play
    Tick();
    EXPECT_FALSE(f.GameMainExit);
    f.ChangeScene(c.scene);
    f.Score = c.score;
    f.GameMainExitClick();
    Click(335, 322);
    EXPECT_EQ(f.Scene, c.after) << c.scene << " " << c.score;
    f.FireHeld = false;
  }
  // In the feeding stage No lets play (and its clock) go on; the click that closed
  // the dialog is not also the tongue's.
  f.ChangeScene(4);
  f.GameMainExitClick();
  Move(460, 325);
  EXPECT_EQ(display.cursor, CursorShape::Hand);
  f.DXDrawMouseDown(MouseButton::Left, 460, 325);
  EXPECT_FALSE(f.FireHeld);
  EXPECT_FALSE(f.GameMainExit);
  EXPECT_TRUE(f.LevelTimer.Enabled);
  f.DXDrawMouseUp(MouseButton::Left, 460, 325);
  EXPECT_FALSE(f.FireHeld);
  // The first movement in the stage hands the aim to the pointer.
  f.AimFixed = true;
  Move(10, 10);
  EXPECT_FALSE(f.AimFixed);
  EXPECT_EQ(display.cursor, CursorShape::None);
}

}  // namespace
}  // namespace pondaro::test
