// Mouse input: the pointer position, cursor shapes by scene, clicks by scene.
// The menu screens add their hover and click tables here as they come.
#include "app/main_form.h"

namespace pondaro {

void TMainForm::DXDrawMouseMove(int x, int y) {
  MouseX = x;
  MouseY = y;
  switch (Scene) {
    case 2:
    case 5:
    case 6:
    case 7:
      DXDraw().SetCursor(CursorShape::Arrow);
      break;
    case 3:
      DXDraw().SetCursor(GameMainExit ? CursorShape::Arrow : CursorShape::None);
      break;
    case 4:
      AimFixed = false;
      DXDraw().SetCursor(GameMainExit ? CursorShape::Arrow : CursorShape::None);
      break;
    case 9:
      // The name field takes text: an I-beam over it.
      DXDraw().SetCursor(MouseY >= 315 && MouseY <= 348 && MouseX >= 250 && MouseX <= 550 ? CursorShape::IBeam
                                                                                            : CursorShape::Arrow);
      break;
    default:
      break;
  }
}

void TMainForm::DXDrawMouseDown(MouseButton button, int /*x*/, int /*y*/) {
  switch (Scene) {
    case 1:
      if (button != MouseButton::Left) return;
      ChangeScene(2);
      // Otherwise the splash's timer would fire again in the menu.
      EnableTimer(Timer1, false);
      break;
    case 4:
      FireHeld = true;
      break;
    case 9:
      // Game over: clicks wait until the words are gone.
      if (button == MouseButton::Left && !Timer1.Enabled) GameOverClick();
      break;
    default:
      break;
  }
}

void TMainForm::DXDrawMouseUp(MouseButton /*button*/, int /*x*/, int /*y*/) { FireHeld = false; }

}  // namespace pondaro
