// The optional game controller, read through SDL's controller mapping so that any
// pad gives the same stick, pad and buttons.
#include <SDL.h>

#include "desktop/sdl_events.h"

namespace pondaro {

namespace {

int Scaled(Sint16 axis) { return static_cast<int>(axis) * 1000 / 32767; }

// Controller buttons in the order of the game's button states 1, 2, 3, ...
constexpr SDL_GameControllerButton kButtons[] = {
    SDL_CONTROLLER_BUTTON_A,          SDL_CONTROLLER_BUTTON_B,           SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,          SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,       SDL_CONTROLLER_BUTTON_START,       SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK, SDL_CONTROLLER_BUTTON_GUIDE,
};

}  // namespace

SdlKeyboard::~SdlKeyboard() {
  if (controller_) SDL_GameControllerClose(controller_);
}

JoystickState SdlKeyboard::Joystick() const {
  if (!subsystemTried_) {
    subsystemTried_ = true;
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return {};
  if (controller_ && !SDL_GameControllerGetAttached(controller_)) {
    SDL_GameControllerClose(controller_);
    controller_ = nullptr;
  }
  if (!controller_) {
    for (int i = 0; i < SDL_NumJoysticks() && !controller_; ++i)
      if (SDL_IsGameController(i)) controller_ = SDL_GameControllerOpen(i);
    if (!controller_) return {};
  }
  JoystickState s;
  s.X = Scaled(SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTX));
  s.Y = Scaled(SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTY));
  // The pad counts as the stick pushed all the way.
  if (SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) s.X = -1000;
  if (SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) s.X = 1000;
  if (SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_UP)) s.Y = -1000;
  if (SDL_GameControllerGetButton(controller_, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) s.Y = 1000;
  for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; ++i)
    if (SDL_GameControllerGetButton(controller_, kButtons[i])) s.Buttons |= 1u << i;
  return s;
}

}  // namespace pondaro
