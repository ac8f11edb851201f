// Key events, and the input states polled once a tick.
#include "app/main_form.h"

namespace pondaro {

void TMainForm::UpdateInputStates() {
  const Keyboard& k = Services.keyboard;
  // Every state reads as released while the window is in the background.
  if (AppInactive) {
    Input = TInputStates{};
    return;
  }
  Input.isUp = k.IsDown('W') || k.IsDown(vk::Up);
  Input.isDown = k.IsDown('S') || k.IsDown(vk::Down);
  Input.isLeft = k.IsDown(vk::Left);
  Input.isRight = k.IsDown(vk::Right);
  Input.isButton[1] = k.IsDown(vk::Space);
  Input.isButton[2] = k.IsDown('X') || k.IsDown(vk::Space);
  Input.isButton[3] = k.IsDown(vk::Escape) || k.IsDown('P');
  Input.isButton[4] = k.IsDown('A');
  Input.isButton[5] = k.IsDown('D');
}

void TMainForm::FormKeyDown(int key, bool /*shift*/, bool /*ctrl*/, bool alt) {
  const bool enter = key == vk::Return && !alt;
  switch (Scene) {
    case 1:
      if (key == vk::Escape || enter) ChangeScene(2);
      break;
    case 2:
      if (key == vk::Escape) GameMainExitClick();
      if (enter) ChangeScene(3);
      break;
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
      if (key == vk::Escape) ChangeScene(2);
      break;
    case 9:
      // Alt+Enter counts here too: the row asks for Enter, not Enter without Alt.
      if ((key == vk::Escape || key == vk::Return) && Score <= HighScores[9].Score && !Timer1.Enabled) {
        Services.clock.Sleep(200);
        ChangeScene(2);
      }
      if (Scene == 9 && GamegoEdit) TypeName(key);
      if (Scene == 9 && enter) CommitName();
      break;
    default:
      break;
  }
  if (key == vk::Return && alt) GameFullScreenClick();
}

void TMainForm::FormKeyUp(int /*key*/) { FireHeld = false; }

}  // namespace pondaro
