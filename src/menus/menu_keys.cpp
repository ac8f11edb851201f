// The menus without a mouse: a highlight moved over a screen's items in screen order
// by the arrows or the controller's stick and pad, Enter, Space or A to choose,
// Esc or B to go back. The pointer keeps working beside it: hovering an item moves
// the highlight there, and moving off every item puts it out, as before.
#include "app/main_form.h"
#include "menus/screens.h"

namespace pondaro {

namespace {

// Controller buttons as the game numbers them (bit n - 1 of JoystickState::Buttons).
constexpr uint32_t kPadA = 1u << 0, kPadB = 1u << 1, kPadX = 1u << 2, kPadBack = 1u << 6, kPadStart = 1u << 7;
constexpr int kStick = 500;                  // the dead zone, as in play
constexpr int kRepeatDelay = 12, kRepeatEvery = 5;  // ticks a held stick waits, then steps

// Each item of a pointer table is one stop.
std::vector<TMenuStop> ItemStops(std::span<const TMenuItem> items) {
  std::vector<TMenuStop> stops;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].Choose) stops.push_back({&items[i], nullptr, nullptr, static_cast<int>(i), static_cast<int>(i)});
  return stops;
}

bool PlayScene(int scene) { return scene == 3 || scene == 4; }

void Step(TMainForm& f, const std::vector<TMenuStop>& stops, int by) {
  const int n = static_cast<int>(stops.size());
  int& focus = f.Menus.Focus;
  f.Menus.FocusByPointer = false;
  if (focus < 0 || focus >= n)
    focus = by > 0 ? 0 : n - 1;
  else
    focus = (focus + by + n) % n;
  ShowMenuFocus(f);
  f.Guarded([&] {
    f.StopSound("button_up");
    f.PlaySound("button_up");
  });
}

}  // namespace

std::span<const TMenuItem> PointerItems(const TMainForm& f) {
  switch (f.Scene) {
    case 2: return f.GameMainExit ? ExitDialogItems() : MainMenuItems();
    case 3: case 4: return f.GameMainExit ? ExitDialogItems() : std::span<const TMenuItem>{};
    case 5: return HelpItems();
    case 6: return OptionsItems();
    case 7: return f.GameClearHighScore ? ClearDialogItems() : HighScoreItems();
    default: return {};
  }
}

std::vector<TMenuStop> MenuStops(const TMainForm& f) {
  if (f.Scene == 6) {
    const auto rows = OptionsStops();
    return {rows.begin(), rows.end()};
  }
  return ItemStops(PointerItems(f));
}

void ShowMenuFocus(TMainForm& f) {
  f.Root().ForEach<TMenuGame>([](TMenuGame* s) { s->Dead(); });
  const std::vector<TMenuStop> stops = MenuStops(f);
  if (f.Menus.Focus < 0 || f.Menus.Focus >= static_cast<int>(stops.size())) return;
  const TMenuItem& lit = *stops[f.Menus.Focus].Lit;
  if (lit.Show) f.Guarded([&] { lit.Show(f, lit); });
}

void FocusHoveredItem(TMainForm& f) {
  const std::span<const TMenuItem> items = PointerItems(f);
  int hovered = -1;
  for (size_t i = 0; i < items.size() && hovered < 0; ++i)
    if (items[i].Hot.Contains(f.MouseX, f.MouseY)) hovered = static_cast<int>(i);
  if (hovered < 0) {
    // Off every item the pointer's own highlight goes out; a highlight the keys
    // put somewhere stays where they put it (the pointer's move took its picture).
    if (f.Menus.FocusByPointer) f.Menus.Focus = -1;
    ShowMenuFocus(f);
    return;
  }
  f.Menus.Focus = -1;
  f.Menus.FocusByPointer = true;
  const std::vector<TMenuStop> stops = MenuStops(f);
  for (size_t s = 0; s < stops.size(); ++s)
    if (hovered >= stops[s].FirstItem && hovered <= stops[s].LastItem) f.Menus.Focus = static_cast<int>(s);
  // Options' rows light their names, which the pointer's own highlight does not.
  if (f.Scene == 6) ShowMenuFocus(f);
}

bool MenuKey(TMainForm& f, int key) {
  const std::vector<TMenuStop> stops = MenuStops(f);
  if (stops.empty()) return false;
  const int focus = f.Menus.Focus;
  const TMenuStop* stop = focus >= 0 && focus < static_cast<int>(stops.size()) ? &stops[focus] : nullptr;
  switch (key) {
    case vk::Up: Step(f, stops, -1); return true;
    case vk::Down: Step(f, stops, +1); return true;
    case vk::Left:
    case vk::Right:
      // A row of choices takes the side; elsewhere the sides move as up and down do.
      if (stop && stop->Left) {
        (key == vk::Left ? stop->Left : stop->Right)(f);
        return true;
      }
      if (f.Scene == 6) return true;
      Step(f, stops, key == vk::Left ? -1 : +1);
      return true;
    case vk::Return:
    case vk::Space:
      // With nothing lit the main menu's Enter still starts a game; over play a
      // dialog's key is never also a jump.
      if (!stop) return PlayScene(f.Scene);
      f.Guarded([&] { stop->Lit->Choose(f); });
      return true;
    default:
      return false;
  }
}

void TMainForm::MenuPad() {
  TMenuState& m = Menus;
  const JoystickState pad = Input.Pad;
  const uint32_t pressed = pad.Buttons & ~m.PadButtons;
  m.PadButtons = pad.Buttons;
  // A button a menu took stays away from play until it is let go.
  m.SwallowedPad &= pad.Buttons;
  // The message panel over everything takes the controller itself.
  if (MessagePanel.Open()) {
    m.PadDirection = 0;
    return;
  }

  const bool menu = !PlayScene(Scene) || GameMainExit;
  const uint32_t swallowedBefore = m.SwallowedPad;
  auto key = [&](int k, uint32_t button) {
    m.SwallowedPad |= button;
    FormKeyDown(k, false, false, false);
    FormKeyUp(k);
  };
  if (pressed & kPadBack) key(vk::Escape, kPadBack);
  if (PlayScene(Scene) && !GameMainExit && (pressed & kPadStart)) key('P', kPadStart);
  if (menu) {
    // A controller cannot type: an empty name at name entry is saved as the table's default one.
    if (Scene == 9 && GameEnterName && Edit2.empty() && (pressed & kPadA)) Edit2 = "Anonymous";
    if (pressed & kPadA) key(vk::Return, kPadA);
    if (pressed & kPadB) key(vk::Escape, kPadB);
    if (Scene == 9 && GameEnterName && (pressed & kPadX)) {
      m.SwallowedPad |= kPadX;
      Guarded([&] { GameSendResultClick(); });
    }
  }
  // This tick's play must not see the press a menu took either.
  if (m.SwallowedPad != swallowedBefore) UpdateInputStates();

  // The stick and the pad step once, then again while held.
  int dir = 0;
  if (pad.Y < -kStick) dir = vk::Up;
  else if (pad.Y > kStick) dir = vk::Down;
  else if (pad.X < -kStick) dir = vk::Left;
  else if (pad.X > kStick) dir = vk::Right;
  if (!menu || dir == 0) {
    m.PadDirection = 0;
    return;
  }
  if (dir != m.PadDirection) {
    m.PadDirection = dir;
    m.PadRepeat = kRepeatDelay;
  } else if (--m.PadRepeat > 0) {
    return;
  } else {
    m.PadRepeat = kRepeatEvery;
  }
  MenuKey(*this, dir);
}

}  // namespace pondaro
