// Key events by scene, and the input states polled once a tick.
#include "app/main_form.h"
#include "menus/menu.h"

namespace pondaro {

namespace {

// The stick's dead zone: half its travel either way.
constexpr int kStickThreshold = 500;

}  // namespace

void TMainForm::UpdateInputStates() {
  // Every state reads as released while the window is in the background.
  if (AppInactive) {
    Input = TInputStates{};
    return;
  }
  const Keyboard& k = Services.keyboard;
  // What a menu took is released for play until it is let go.
  auto down = [&](int key) { return k.IsDown(key) && !(key >= 0 && key < 256 && Menus.SwallowedKeys[key]); };
  const JoystickState j = k.Joystick();
  Input.Pad = j;
  const uint32_t buttons = j.Buttons & ~Menus.SwallowedPad;
  Input.isUp = down('W') || down(vk::Up) || j.Y < -kStickThreshold;
  Input.isDown = down('S') || down(vk::Down) || j.Y > kStickThreshold;
  Input.isLeft = down(vk::Left) || j.X < -kStickThreshold;
  Input.isRight = down(vk::Right) || j.X > kStickThreshold;
  for (int n = 1; n <= 32; ++n) Input.isButton[n] = (buttons >> (n - 1)) & 1u;
  Input.isButton[1] = Input.isButton[1] || down(vk::Space);
  Input.isButton[2] = Input.isButton[2] || down('X') || down(vk::Space);
  Input.isButton[3] = Input.isButton[3] || down(vk::Escape) || down('P');
  Input.isButton[4] = Input.isButton[4] || down('A');
  Input.isButton[5] = Input.isButton[5] || down('D');
}

void TMainForm::TogglePause() {
  Paused = !Paused;
  if (Scene == 3) {
    LevelBanner = false;
    EnableTimer(Timer1, !Timer1.Enabled);
  }
  SyncLevelTimer();
}

void TMainForm::FormKeyDown(int key, bool /*shift*/, bool ctrl, bool alt) {
  const bool enter = key == vk::Return && !alt;
  // The highlight of a menu screen or dialog, moved and chosen by keys.
  if (!alt && !ctrl && MenuKey(*this, key)) {
    if (key >= 0 && key < 256) Menus.SwallowedKeys.set(static_cast<size_t>(key));
    return;
  }
  switch (Scene) {
    case 1:
      if (key == vk::Escape || enter) ChangeScene(2);
      break;
    case 2:
      if (key == vk::Escape) GameMainExitClick();
      // Not behind the exit dialog: the crossing would start frozen under it.
      if (enter && !GameMainExit) ChangeScene(3);
      break;
    case 3:
      if (key == 'P' && !GameMainExit) TogglePause();
      FireHeld = key == vk::Space || ctrl || enter;
      if (key == vk::Escape && !Paused) GameMainExitClick();
      break;
    case 4:
      if (ctrl) FireHeld = true;
      if (key == 'P' && !GameMainExit) TogglePause();
      if (key == vk::Escape && !Paused) GameMainExitClick();
      break;
    case 5:
      if (key == vk::Escape) ChangeScene(2);
      break;
    case 6:
      if (key == vk::Escape) ChangeScene(2);
      if (Scene == 6 && GamegoEdit) TypeCountry(key);
      break;
    case 7:
      if (key == vk::Escape) {
        if (GameClearHighScore) {
          ChangeScene(7);
          GameClearHighScoreClick();
        } else {
          ChangeScene(2);
        }
      }
      break;
    case 9:
      // While the score is being sent only Esc counts: it stops waiting.
      if (Submission.Running()) {
        if (key == vk::Escape) AbandonSubmission();
        break;
      }
      // Alt+Enter counts here too: the row asks for Enter, not Enter without Alt.
      if ((key == vk::Escape || key == vk::Return) && Score < HighScores[9].Score && !Timer1.Enabled) {
        Services.clock.Sleep(200);
        ChangeScene(2);
      }
      if (Scene == 9 && GamegoEdit) TypeName(key);
      // No name has a space: Space ticks the send box, as a click on it does.
      if (Scene == 9 && GameEnterName && key == vk::Space) GameSendResultClick();
      if (Scene == 9 && enter) CommitName();
      break;
    default:
      break;
  }
  if (key == vk::Return && alt) GameFullScreenClick();
}

void TMainForm::FormKeyUp(int key) {
  FireHeld = false;
  if (key >= 0 && key < 256) Menus.SwallowedKeys.reset(static_cast<size_t>(key));
}

}  // namespace pondaro
