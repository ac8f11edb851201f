// The polled input states and the key rows of the game scenes.
#include "game/game_fixture.h"

namespace pondaro::test {
namespace {

class Keys : public GameTest {};

TEST_F(Keys, InputStatesFollowTheHeldKeysAndTheStick) {
  Make();
  struct {
    std::vector<int> keys;
    JoystickState stick;
    bool up, down, left, right, fire;
  } cases[] = {
      {{'W'}, {}, true, false, false, false, false},
      {{vk::Up}, {}, true, false, false, false, false},
      {{vk::Down, 'S'}, {}, false, true, false, false, false},
      {{vk::Left}, {}, false, false, true, false, false},
      {{vk::Right, vk::Space}, {}, false, false, false, true, true},
      {{}, {-501, 0, 0}, false, false, true, false, false},
      {{}, {-500, 500, 0}, false, false, false, false, false},  // inside the dead zone
      {{}, {0, -900, 1}, true, false, false, false, true},
  };
  for (const auto& c : cases) {
    keyboard.down = std::set<int>(c.keys.begin(), c.keys.end());
    keyboard.stick = c.stick;
    form->UpdateInputStates();
    const TInputStates& in = form->Input;
    EXPECT_EQ(in.isUp, c.up);
    EXPECT_EQ(in.isDown, c.down);
    EXPECT_EQ(in.isLeft, c.left);
    EXPECT_EQ(in.isRight, c.right);
    EXPECT_EQ(in.isButton[1], c.fire);
  }
  // A window in the background reads as all released.
  keyboard.down = {vk::Left, vk::Space};
  form->DXTimerDeactivate();
  form->UpdateInputStates();
  EXPECT_FALSE(form->Input.isLeft || form->Input.isButton[1]);
}

TEST_F(Keys, ATapBetweenTwoTicksIsNeverSeenByThePoll) {
  EnterPond(1, 2);
  Tap(vk::Left);
  Tick(2);
  EXPECT_EQ(form->Frog.FrogFacing, 2) << "the frog turns only on a held key";
  Hold(vk::Left);
  Tick();
  EXPECT_EQ(form->Frog.FrogFacing, 0);
}

TEST_F(Keys, FireInTheCrossingComesFromSpaceCtrlAndPlainEnter) {
  EnterPond();
  struct {
    int key;
    bool ctrl, alt, fire;
  } cases[] = {{vk::Space, false, false, true},  {vk::Left, false, false, false}, {'A', true, false, true},
               {vk::Return, false, false, true}, {vk::Return, false, true, false}};
  for (auto c : cases) {
    form->FireHeld = !c.fire;
    form->FormKeyDown(c.key, false, c.ctrl, c.alt);
    EXPECT_EQ(form->FireHeld, c.fire) << c.key;
    if (c.alt) form->GameFullScreenClick();  // back to the window
  }
  form->FormKeyUp(vk::Space);
  EXPECT_FALSE(form->FireHeld);
}

TEST_F(Keys, PausesTheCrossingAndTheFeedingClock) {
  EnterPond();
  form->LevelBanner = true;
  form->EnableTimer(form->Timer1, true);
  Tap('P');
  EXPECT_TRUE(form->Paused);
  EXPECT_FALSE(form->LevelBanner);
  EXPECT_FALSE(form->Timer1.Enabled);
  Tap(vk::Escape);
  EXPECT_FALSE(form->GameMainExit) << "Esc does nothing while paused";
  Tap(vk::Left);
  EXPECT_TRUE(form->Paused) << "Left is not P";
  Tap('P');
  EXPECT_FALSE(form->Paused);

  form->ChangeScene(4);
  EXPECT_TRUE(form->LevelTimer.Enabled);
  Tap(vk::Space);
  Tap(vk::Return);
  EXPECT_FALSE(form->FireHeld) << "only Ctrl fires in the feeding stage";
  Tap('A', true);
  EXPECT_FALSE(form->FireHeld) << "released again";
  form->FormKeyDown('A', false, true, false);
  EXPECT_TRUE(form->FireHeld);
  Tap('P');
  EXPECT_FALSE(form->LevelTimer.Enabled);
  Tap('P');
  EXPECT_TRUE(form->LevelTimer.Enabled);
  Tap(vk::Escape);
  EXPECT_TRUE(form->GameMainExit);
  Tap('P');
  EXPECT_FALSE(form->Paused) << "P does nothing while the exit dialog is open";
  EXPECT_FALSE(form->LevelTimer.Enabled);
}

TEST_F(Keys, TheFeedingClockRunsOnlyWhileTheStagePlays) {
  EnterPond();
  form->ChangeScene(4);
  Tap('P');
  form->FormClose();  // clears the pause and opens the exit dialog
  EXPECT_FALSE(form->Paused);
  EXPECT_TRUE(form->GameMainExit);
  EXPECT_FALSE(form->LevelTimer.Enabled);
  Tap(vk::Escape);
  EXPECT_TRUE(form->LevelTimer.Enabled);
  form->ChangeScene(2);
  EXPECT_FALSE(form->LevelTimer.Enabled);
}

TEST_F(Keys, EnterStartsAGameOnlyWithTheExitDialogClosed) {
  Make();
  form->ChangeScene(2);
  Tap(vk::Escape);
  ASSERT_TRUE(form->GameMainExit);
  Tap(vk::Return);
  EXPECT_EQ(form->Scene, 2);
  Tap(vk::Escape);
  Tap(vk::Return, false, true);
  EXPECT_EQ(form->Scene, 2) << "Alt+Enter switches the display only";
  form->GameFullScreenClick();
  Tap(vk::Return);
  EXPECT_EQ(form->Scene, 3);
}

}  // namespace
}  // namespace pondaro::test
