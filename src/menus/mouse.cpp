// Mouse input: the pointer position, cursor shapes, highlights and clicks, by scene.
// Each screen's items and actions are in its own table (menus/screens.h).
#include <cstdlib>

#include "app/main_form.h"
#include "menus/screens.h"

namespace pondaro {

namespace {

// A second press this soon and this near the first is its double click.
constexpr uint64_t kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 8;

bool InNameField(const TMainForm& f) { return f.MouseY >= 315 && f.MouseY <= 348 && f.MouseX >= 250 && f.MouseX <= 550; }

}  // namespace

void TMainForm::DXDrawMouseMove(int x, int y) {
  // A highlight lives from one movement to the next.
  Root().ForEach<TMenuGame>([](TMenuGame* s) { s->Dead(); });
  MouseX = x;
  MouseY = y;
  Display& d = DXDraw();
  bool& outside = Menus.PointerOutside;
  switch (Scene) {
    case 2:
      d.SetCursor(CursorShape::Arrow);
      HoverItems(*this, GameMainExit ? ExitDialogItems() : MainMenuItems(), outside);
      break;
    case 3:
    case 4:
      // The first movement in the feeding stage hands the aim to the pointer.
      if (Scene == 4) AimFixed = false;
      d.SetCursor(CursorShape::None);
      if (GameMainExit) {
        d.SetCursor(CursorShape::Arrow);
        HoverItems(*this, ExitDialogItems(), outside);
      }
      break;
    case 5:
      d.SetCursor(CursorShape::Arrow);
      HelpHover(*this);
      break;
    case 6:
      d.SetCursor(CursorShape::Arrow);
      HoverItems(*this, OptionsItems(), outside);
      break;
    case 7:
      d.SetCursor(CursorShape::Arrow);
      HoverItems(*this, GameClearHighScore ? ClearDialogItems() : HighScoreItems(*this), outside);
      break;
    case 9:
      // The name field takes text: an I-beam over it.
      d.SetCursor(InNameField(*this) ? CursorShape::IBeam : CursorShape::Arrow);
      break;
    default:
      break;
  }
  FocusHoveredItem(*this);
}

// Every test is made at the position of the last movement, not the button's.
void TMainForm::DXDrawMouseDown(MouseButton button, int /*x*/, int /*y*/) {
  // A press acts only on the screen it began on: when the last press changed the
  // screen, the second press of its double click is not for this one.
  TMenuState& m = Menus;
  const uint64_t now = Services.clock.Milliseconds();
  const bool secondOfDouble = m.PressChangedScreen && now - m.PressMs <= kDoubleClickMs &&
                              std::abs(MouseX - m.PressX) <= kDoubleClickSlop &&
                              std::abs(MouseY - m.PressY) <= kDoubleClickSlop;
  m.PressChangedScreen = false;
  if (secondOfDouble) return;
  const uint32_t screen = m.Screen;
  PressOn(button);
  if (m.Screen != screen) {
    FireHeld = false;  // the rest of this click is not the new screen's either
    m.PressChangedScreen = true;
    m.PressMs = now;
    m.PressX = MouseX;
    m.PressY = MouseY;
  }
}

void TMainForm::PressOn(MouseButton button) {
  const bool left = button == MouseButton::Left;
  switch (Scene) {
    case 1:
      if (!left) return;
      ChangeScene(2);
      // Otherwise the splash's timer would fire again in the menu.
      EnableTimer(Timer1, false);
      break;
    case 2:
      if (left) ChooseItem(*this, GameMainExit ? ExitDialogItems() : MainMenuItems());
      break;
    case 3:
    case 4:
      // In the feeding stage every button fires the tongue, even on the dialog.
      if (Scene == 4) FireHeld = true;
      if (GameMainExit) ChooseItem(*this, ExitDialogItems());
      break;
    case 5:
      if (left) ChooseItem(*this, HelpItems());
      break;
    case 6:
      if (left) OptionsClick(*this);
      break;
    case 7:
      if (left) ChooseItem(*this, GameClearHighScore ? ClearDialogItems() : HighScoreItems(*this));
      break;
    case 9:
      // Game over: clicks wait until the words are gone.
      if (left && !Timer1.Enabled) GameOverClick();
      break;
    default:
      break;
  }
}

void TMainForm::DXDrawMouseUp(MouseButton /*button*/, int /*x*/, int /*y*/) { FireHeld = false; }

}  // namespace pondaro
