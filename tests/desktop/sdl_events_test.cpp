// SDL's events in the game's terms, fed through SDL's own queue (dummy driver).
#include "desktop/sdl_events.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "sdl_suite.h"

namespace pondaro {
namespace {

class SdlEvents : public test::SdlSuite {
 protected:
  void SetUp() override {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_SetModState(KMOD_NONE);
  }
  void TearDown() override { SDL_SetModState(KMOD_NONE); }

  static void PushKey(SDL_Keycode key, Uint16 mod, bool repeat = false) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
  }
  static void PushButton(Uint8 button, int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = button;
    e.button.state = SDL_PRESSED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
  }
  std::vector<InputEvent> Drain() {
    std::vector<InputEvent> out;
    InputEvent e;
    while (source_.WaitEvent(0, e)) out.push_back(e);
    return out;
  }

  SdlEventSource source_;
};

// Alt+Enter pressed while the game was busy is still Alt+Enter when it is handled,
// and a plain Enter stays plain whatever is held by then.
TEST_F(SdlEvents, ModifiersAreThoseTheKeyWentDownWith) {
  PushKey(SDLK_RETURN, KMOD_LALT);
  PushKey(SDLK_a, KMOD_LSHIFT | KMOD_RCTRL);
  auto events = Drain();
  SDL_SetModState(KMOD_LALT);  // Alt is held by the time the next event is taken
  PushKey(SDLK_RETURN, KMOD_NONE);
  for (const InputEvent& e : Drain()) events.push_back(e);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].Key, vk::Return);
  EXPECT_TRUE(events[0].Alt);
  EXPECT_FALSE(events[0].Shift || events[0].Ctrl);
  EXPECT_EQ(events[1].Key, 'A');
  EXPECT_TRUE(events[1].Shift && events[1].Ctrl);
  EXPECT_FALSE(events[1].Alt);
  EXPECT_FALSE(events[2].Alt);
}

TEST_F(SdlEvents, KeyRepeatsAreMarked) {
  PushKey(SDLK_RETURN, KMOD_LALT);
  PushKey(SDLK_RETURN, KMOD_LALT, true);
  const auto events = Drain();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_FALSE(events[0].Repeat);
  EXPECT_TRUE(events[1].Repeat);
}

TEST_F(SdlEvents, SideButtonsAreIgnored) {
  PushButton(SDL_BUTTON_X1, 10, 20);
  PushButton(SDL_BUTTON_X2, 10, 20);
  PushButton(SDL_BUTTON_RIGHT, 30, 40);
  PushButton(SDL_BUTTON_LEFT, 50, 60);
  const auto events = Drain();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].Button, MouseButton::Right);
  EXPECT_EQ(events[1].Button, MouseButton::Left);
  EXPECT_EQ(events[1].X, 50);
  EXPECT_EQ(events[1].Y, 60);
}

// A controller as SDL sees it (its own virtual one): the pad, the stick and the
// buttons the menus and play read.
TEST_F(SdlEvents, AGameControllerReadsAsThePadTheGameKnows) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
  const int index =
      SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* pad = SDL_JoystickOpen(index);
  ASSERT_NE(pad, nullptr);
  {
    SdlKeyboard keyboard;
    struct {
      int button, axis, value;
      JoystickState want;
    } cases[] = {
        {SDL_CONTROLLER_BUTTON_A, -1, 0, {0, 0, 1u << 0}},
        {SDL_CONTROLLER_BUTTON_B, -1, 0, {0, 0, 1u << 1}},
        {SDL_CONTROLLER_BUTTON_START, -1, 0, {0, 0, 1u << 7}},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, -1, 0, {0, 1000, 0}},
        {-1, SDL_CONTROLLER_AXIS_LEFTX, -32767, {-1000, 0, 0}},
    };
    for (const auto& c : cases) {
      if (c.button >= 0) SDL_JoystickSetVirtualButton(pad, c.button, 1);
      if (c.axis >= 0) SDL_JoystickSetVirtualAxis(pad, c.axis, static_cast<Sint16>(c.value));
      SDL_PumpEvents();
      const JoystickState s = keyboard.Joystick();
      EXPECT_EQ(s.X, c.want.X) << c.button << " " << c.axis;
      EXPECT_EQ(s.Y, c.want.Y) << c.button << " " << c.axis;
      EXPECT_EQ(s.Buttons, c.want.Buttons) << c.button << " " << c.axis;
      if (c.button >= 0) SDL_JoystickSetVirtualButton(pad, c.button, 0);
      if (c.axis >= 0) SDL_JoystickSetVirtualAxis(pad, c.axis, 0);
    }
  }
  SDL_JoystickClose(pad);
  SDL_JoystickDetachVirtual(index);
}

// Alt+Enter pressed again and again while the display was switching comes down
// to the mode asked for last; what came between keeps its order.
TEST_F(SdlEvents, QueuedAltEntersComeDownToTheLastMode) {
  for (int presses : {50, 51}) {
    for (int i = 0; i < presses; ++i) {
      PushKey(i % 2 ? SDLK_KP_ENTER : SDLK_RETURN, KMOD_LALT);
      if (i == 10) PushKey(SDLK_a, KMOD_NONE);
      if (i == 20) PushButton(SDL_BUTTON_LEFT, 5, 6);
    }
    const auto events = Drain();
    int switches = 0;
    std::vector<int> others;
    for (const InputEvent& e : events) {
      if (e.Type == EventType::KeyDown && e.Key == vk::Return && e.Alt)
        ++switches;
      else
        others.push_back(e.Type == EventType::KeyDown ? e.Key : -1);
    }
    EXPECT_EQ(switches, presses % 2) << presses;
    EXPECT_EQ(others, (std::vector<int>{'A', -1})) << presses;
  }
}

TEST_F(SdlEvents, ThePointerLeavingTheWindowIsReported) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_LEAVE;
  SDL_PushEvent(&e);
  const auto events = Drain();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Type, EventType::PointerLeft);
}

}  // namespace
}  // namespace pondaro
