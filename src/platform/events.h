// Window and input events as the game sees them, and the virtual-key codes that
// the game's key handling is written in (the platform maps its own key codes).
#pragma once

namespace pondaro {

namespace vk {
inline constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Pause = 19,
                     Escape = 27, Space = 32, PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37,
                     Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46;
// '0'..'9' are 48..57 and 'A'..'Z' 65..90, as their characters.
inline constexpr int Numpad0 = 96, Multiply = 106, Add = 107, Separator = 108, Subtract = 109, Decimal = 110,
                     Divide = 111, F1 = 112, F24 = 135;
}  // namespace vk

// Close is the window's close button; Terminate is the system asking the program
// to end (a signal), which no scene may refuse. PointerLeft: the pointer left the
// window, where a button let go is never reported.
enum class EventType {
  None, KeyDown, KeyUp, MouseMove, MouseDown, MouseUp, FocusGained, FocusLost, PointerLeft, Resized, Close,
  Terminate
};

enum class MouseButton { Left = 1, Middle = 2, Right = 3 };

struct InputEvent {
  EventType Type = EventType::None;
  int Key = 0;  // virtual-key code, 0 for keys the game has no code for
  bool Shift = false, Ctrl = false, Alt = false;  // as they were when the key went down
  bool Repeat = false;  // a key-down sent again by the keyboard's auto-repeat
  int X = 0, Y = 0;  // surface pixels
  MouseButton Button = MouseButton::Left;
};

class EventSource {
 public:
  virtual ~EventSource() = default;
  // Waits up to timeoutMs (0: do not wait) for the next event.
  virtual bool WaitEvent(int timeoutMs, InputEvent& event) = 0;
};

}  // namespace pondaro
