#include "desktop/sdl_events.h"

#include <SDL.h>

#include <vector>

#include "desktop/quit_signals.h"
#include "desktop/sdl_display.h"

namespace pondaro {

namespace {

struct KeyPair {
  SDL_Keycode sdl;
  int vk;
};

constexpr KeyPair kKeys[] = {
    {SDLK_BACKSPACE, vk::Back},  {SDLK_TAB, vk::Tab},          {SDLK_RETURN, vk::Return},
    {SDLK_KP_ENTER, vk::Return}, {SDLK_LSHIFT, vk::Shift},     {SDLK_RSHIFT, vk::Shift},
    {SDLK_LCTRL, vk::Control},   {SDLK_RCTRL, vk::Control},    {SDLK_LALT, vk::Menu},
    {SDLK_RALT, vk::Menu},       {SDLK_PAUSE, vk::Pause},      {SDLK_ESCAPE, vk::Escape},
    {SDLK_SPACE, vk::Space},     {SDLK_PAGEUP, vk::PageUp},    {SDLK_PAGEDOWN, vk::PageDown},
    {SDLK_END, vk::End},         {SDLK_HOME, vk::Home},        {SDLK_LEFT, vk::Left},
    {SDLK_UP, vk::Up},           {SDLK_RIGHT, vk::Right},      {SDLK_DOWN, vk::Down},
    {SDLK_INSERT, vk::Insert},   {SDLK_DELETE, vk::Delete},    {SDLK_KP_MULTIPLY, vk::Multiply},
    {SDLK_KP_PLUS, vk::Add},     {SDLK_KP_MINUS, vk::Subtract}, {SDLK_KP_PERIOD, vk::Decimal},
    {SDLK_KP_DIVIDE, vk::Divide}, {SDLK_SEMICOLON, 186},       {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188},           {SDLK_MINUS, 189},            {SDLK_PERIOD, 190},
    {SDLK_SLASH, 191},           {SDLK_BACKQUOTE, 192},        {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220},       {SDLK_RIGHTBRACKET, 221},     {SDLK_QUOTE, 222},
};

constexpr SDL_Keycode kKeypadDigits[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                         SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};

bool Translate(const SDL_Event& s, InputEvent& e) {
  e = InputEvent{};
  switch (s.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      e.Type = s.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
      e.Key = VirtualKeyFromSdl(s.key.keysym.sym);
      // The modifiers of the key's own moment: the event may wait in the queue
      // through a stall while Alt is let go or pressed.
      const Uint16 m = s.key.keysym.mod;
      e.Shift = (m & KMOD_SHIFT) != 0;
      e.Ctrl = (m & KMOD_CTRL) != 0;
      e.Alt = (m & KMOD_ALT) != 0;
      e.Repeat = s.key.repeat != 0;
      return true;
    }
    case SDL_MOUSEMOTION:
      e.Type = EventType::MouseMove;
      e.X = s.motion.x;
      e.Y = s.motion.y;
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      // The side buttons (back, forward) mean nothing to the game.
      switch (s.button.button) {
        case SDL_BUTTON_LEFT: e.Button = MouseButton::Left; break;
        case SDL_BUTTON_MIDDLE: e.Button = MouseButton::Middle; break;
        case SDL_BUTTON_RIGHT: e.Button = MouseButton::Right; break;
        default: return false;
      }
      e.Type = s.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
      e.X = s.button.x;
      e.Y = s.button.y;
      return true;
    case SDL_QUIT:
      e.Type = EventType::Close;
      return true;
    case SDL_WINDOWEVENT:
      switch (s.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: e.Type = EventType::FocusGained; return true;
        case SDL_WINDOWEVENT_FOCUS_LOST: e.Type = EventType::FocusLost; return true;
        case SDL_WINDOWEVENT_LEAVE: e.Type = EventType::PointerLeft; return true;
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: e.Type = EventType::Resized; return true;
        case SDL_WINDOWEVENT_CLOSE: e.Type = EventType::Close; return true;
        default: return false;
      }
    default:
      return false;
  }
}

bool IsAltEnter(const SDL_Event& s) {
  return s.type == SDL_KEYDOWN && !s.key.repeat && (s.key.keysym.mod & KMOD_ALT) != 0 &&
         (s.key.keysym.sym == SDLK_RETURN || s.key.keysym.sym == SDLK_KP_ENTER);
}

// Takes the Alt+Enter presses out of SDL's queue and says how many there were;
// everything else goes back in its order. A switch of the display takes a tenth
// of a second or more, and presses queue up behind it.
int TakeQueuedAltEnters() {
  SDL_PumpEvents();
  std::vector<SDL_Event> queued;
  SDL_Event block[64];
  int n;
  while ((n = SDL_PeepEvents(block, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0)
    queued.insert(queued.end(), block, block + n);
  int taken = 0;
  std::vector<SDL_Event> kept;
  for (const SDL_Event& e : queued) {
    if (IsAltEnter(e))
      ++taken;
    else
      kept.push_back(e);
  }
  if (!kept.empty()) SDL_PeepEvents(kept.data(), static_cast<int>(kept.size()), SDL_ADDEVENT, 0, 0);
  return taken;
}

}  // namespace

int VirtualKeyFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  for (int i = 0; i < 10; ++i)
    if (kKeypadDigits[i] == key) return vk::Numpad0 + i;
  if (key >= SDLK_F1 && key <= SDLK_F12) return vk::F1 + (key - SDLK_F1);
  if (key >= SDLK_F13 && key <= SDLK_F24) return vk::F1 + 12 + (key - SDLK_F13);
  for (const auto& k : kKeys)
    if (k.sdl == key) return k.vk;
  return 0;
}

SDL_Keycode SdlKeyFromVirtual(int v) {
  if (v >= 'A' && v <= 'Z') return SDLK_a + (v - 'A');
  if (v >= '0' && v <= '9') return SDLK_0 + (v - '0');
  if (v >= vk::Numpad0 && v <= vk::Numpad0 + 9) return kKeypadDigits[v - vk::Numpad0];
  if (v >= vk::F1 && v < vk::F1 + 12) return SDLK_F1 + (v - vk::F1);
  for (const auto& k : kKeys)
    if (k.vk == v) return k.sdl;
  return SDLK_UNKNOWN;
}

bool SdlEventSource::WaitEvent(int timeoutMs, InputEvent& event) {
  SDL_Event s;
  // Events the game has no use for are dropped without ending the wait early.
  const Uint64 until = SDL_GetTicks64() + static_cast<Uint64>(timeoutMs > 0 ? timeoutMs : 0);
  for (;;) {
    if (TakeQuitRequest()) {
      event = InputEvent{};
      event.Type = EventType::Terminate;
      return true;
    }
    const Sint64 left = static_cast<Sint64>(until - SDL_GetTicks64());
    const int got = timeoutMs <= 0 || left <= 0 ? SDL_PollEvent(&s) : SDL_WaitEventTimeout(&s, static_cast<int>(left));
    if (!got) return false;
    if (window_ && s.type == SDL_WINDOWEVENT && s.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
      window_->KeepWindowSize();
    if (window_ && s.type == SDL_WINDOWEVENT && s.window.event == SDL_WINDOWEVENT_MOVED)
      window_->WindowMoved(s.window.data1, s.window.data2);
    if (window_ && s.type == SDL_WINDOWEVENT &&
        (s.window.event == SDL_WINDOWEVENT_EXPOSED || s.window.event == SDL_WINDOWEVENT_SHOWN ||
         s.window.event == SDL_WINDOWEVENT_RESTORED))
      window_->Invalidate();
    // Only the mode asked for last counts: an even number of presses asks for none.
    if (IsAltEnter(s) && TakeQueuedAltEnters() % 2 == 1) continue;
    if (Translate(s, event)) return true;
  }
}

bool SdlKeyboard::IsDown(int virtualKey) const {
  const SDL_Keycode key = SdlKeyFromVirtual(virtualKey);
  if (key == SDLK_UNKNOWN) return false;
  const Uint8* state = SDL_GetKeyboardState(nullptr);
  if (SDL_GetScancodeFromKey(key) != SDL_SCANCODE_UNKNOWN && state[SDL_GetScancodeFromKey(key)]) return true;
  // Return and Space have a second key each that the game treats alike.
  if (virtualKey == vk::Return) return state[SDL_SCANCODE_KP_ENTER] != 0;
  return false;
}

}  // namespace pondaro
