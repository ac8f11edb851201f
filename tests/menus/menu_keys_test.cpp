// Every menu screen and dialog played without the mouse, by keys and by a
// controller; and a double click that acts once.
#include "menus/menu_fixture.h"
#include "persist/codec.h"
#include "persist/settings_file.h"

namespace pondaro::test {
namespace {

class MenuKeys : public MenuTest {
 protected:
  void Key(int key) {
    keyboard.down.insert(key);
    form->FormKeyDown(key, false, false, false);
    keyboard.down.erase(key);
    form->FormKeyUp(key);
  }
  void Keys(std::initializer_list<int> keys) {
    for (int k : keys) Key(k);
  }
};

TEST_F(MenuKeys, EveryScreenIsReachedAndLeftByKeysAlone) {
  auto& f = Menu();
  EXPECT_FALSE(IsShowing("Start Game_d")) << "no highlight until a key moves it";
  Key(vk::Down);
  EXPECT_TRUE(IsShowing("Start Game_d"));
  Key(vk::Down);
  EXPECT_TRUE(IsShowing("Options_d"));
  EXPECT_FALSE(IsShowing("Start Game_d"));
  // The pointer twitching off the items leaves the keys' highlight; over an item it
  // takes the highlight, and off again the pointer's highlight goes out.
  Move(10, 10);
  EXPECT_TRUE(IsShowing("Options_d"));
  Move(500, 330);
  EXPECT_TRUE(IsShowing("High Score_d"));
  EXPECT_FALSE(IsShowing("Options_d"));
  Move(10, 10);
  EXPECT_FALSE(IsShowing("High Score_d"));
  Keys({vk::Down, vk::Down});

  // Options: rows by Up and Down, choices by Left and Right, the country typed.
  Key(vk::Return);
  ASSERT_EQ(f.Scene, 6);
  Key(vk::Down);
  EXPECT_TRUE(IsShowing("Options_Display_d"));
  Key(vk::Right);
  EXPECT_TRUE(f.GameFullScreen);
  Key(vk::Left);
  EXPECT_FALSE(f.GameFullScreen);
  Keys({vk::Down, vk::Right});
  EXPECT_FALSE(f.GameMusic);
  Keys({vk::Down, vk::Return});
  EXPECT_FALSE(f.GameSound) << "Enter picks the other choice";
  Keys({vk::Down, vk::Return, 'N', 'L', vk::Down});
  EXPECT_EQ(f.Edit1, "NL");
  EXPECT_TRUE(IsShowing("Help_Back_p"));
  Key(vk::Return);
  ASSERT_EQ(f.Scene, 2);
  EXPECT_EQ(StripPadding((*ReadSettingsLines(ConfigPath()))[3]), "NL");

  // Help: Back, the next page and the previous one; the highlight stays as pages turn.
  Keys({vk::Up, vk::Up, vk::Up, vk::Return});
  ASSERT_EQ(f.Scene, 5);
  Keys({vk::Right, vk::Right, vk::Return, vk::Return});
  EXPECT_EQ(f.HelpPage, 3);
  Keys({vk::Right, vk::Return});
  EXPECT_EQ(f.HelpPage, 2);
  Key(vk::Escape);
  ASSERT_EQ(f.Scene, 2);

  // High scores: Clear asks, Yes clears; Esc goes back.
  f.HighScores[0] = {"Frog", 9000};
  Keys({vk::Down, vk::Down, vk::Down, vk::Return});
  ASSERT_EQ(f.Scene, 7);
  Keys({vk::Down, vk::Return});
  ASSERT_TRUE(f.GameClearHighScore);
  Keys({vk::Right, vk::Return});
  EXPECT_FALSE(f.GameClearHighScore);
  EXPECT_EQ(f.HighScores, DefaultHighScores());
  Key(vk::Escape);
  ASSERT_EQ(f.Scene, 2);

  // Exit: its dialog, No and Yes.
  Keys({vk::Up, vk::Return});
  ASSERT_TRUE(f.GameMainExit);
  Keys({vk::Left, vk::Return});
  EXPECT_FALSE(f.GameMainExit);
  Keys({vk::Up, vk::Return, vk::Right, vk::Return});
  EXPECT_TRUE(f.Terminated);
}

TEST_F(MenuKeys, TheControllerPlaysTheMenusWithItsStickAndButtons) {
  auto& f = Menu();
  auto press = [&](uint32_t buttons, int x = 0, int y = 0) {
    keyboard.stick = {x, y, buttons};
    Tick();
    keyboard.stick = {};
    Tick();
  };
  constexpr uint32_t A = 1, B = 2;
  press(0, 0, 1000);
  press(0, 0, 1000);
  EXPECT_TRUE(IsShowing("Options_d"));
  press(A);
  ASSERT_EQ(f.Scene, 6);
  press(0, 0, 1000);
  press(0, 1000, 0);
  EXPECT_TRUE(f.GameFullScreen);
  press(B);
  ASSERT_EQ(f.Scene, 2);

  // A held stick steps once, waits, then repeats.
  keyboard.stick = {0, 1000, 0};
  Tick(1);
  EXPECT_TRUE(IsShowing("Start Game_d"));
  Tick(11);
  EXPECT_TRUE(IsShowing("Start Game_d"));
  Tick(1);
  EXPECT_TRUE(IsShowing("Options_d"));
  Tick(5);
  EXPECT_TRUE(IsShowing("High Score_d"));
  keyboard.stick = {};
  Tick();
  press(A);
  ASSERT_EQ(f.Scene, 7);
  press(B);
  press(0, 0, 1000);  // Start Game
  press(A);
  EXPECT_EQ(f.Scene, 3);
}

TEST_F(MenuKeys, AKeyOrButtonThatClosesTheDialogOverPlayIsNotAlsoAJump) {
  auto& f = Menu();
  f.ChangeScene(3);
  f.LevelBanner = false;
  f.EnableTimer(f.Timer1, false);
  f.GameMainExitClick();
  Keys({vk::Down, vk::Down});
  keyboard.down.insert(vk::Space);
  f.FormKeyDown(vk::Space, false, false, false);  // No, and Space held on
  EXPECT_FALSE(f.GameMainExit);
  Tick(3);
  EXPECT_FALSE(f.Input.isButton[1]);
  EXPECT_FALSE(f.FireHeld);
  keyboard.down.erase(vk::Space);
  f.FormKeyUp(vk::Space);
  keyboard.down.insert(vk::Space);
  Tick(1);
  EXPECT_TRUE(f.Input.isButton[1]) << "a new press is play's again";
  keyboard.down.clear();

  // The controller's A on No, held: play does not see it until it is let go.
  f.GameMainExitClick();
  keyboard.stick = {0, 1000, 0};
  Tick();
  keyboard.stick = {};
  Tick();
  keyboard.stick = {0, 1000, 0};
  Tick();
  keyboard.stick = {0, 0, 1};
  Tick();
  EXPECT_FALSE(f.GameMainExit);
  Tick(3);
  EXPECT_FALSE(f.Input.isButton[1]);
}

TEST_F(MenuKeys, ADoubleClickActsOnce) {
  auto& f = Menu();
  DoubleClick(548, 245);  // Options, where Full screen lies on the next screen
  EXPECT_EQ(f.Scene, 6);
  EXPECT_FALSE(f.GameFullScreen) << "the second press is not the full-screen choice";
  DoubleClick(490, 545);  // Back, over Exit
  EXPECT_EQ(f.Scene, 2);
  EXPECT_FALSE(f.GameMainExit) << "nor the exit dialog";
  Click(547, 550);  // Exit
  ASSERT_TRUE(f.GameMainExit);
  DoubleClick(460, 325);  // No, over High Score
  EXPECT_EQ(f.Scene, 2);
  EXPECT_FALSE(f.GameMainExit);
  // Two clicks far enough apart are two clicks.
  Click(548, 245);
  Click(600, 234);
  EXPECT_TRUE(f.GameFullScreen);
}

}  // namespace
}  // namespace pondaro::test
