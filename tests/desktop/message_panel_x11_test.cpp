// The game in a real window on an X server: a message while it runs appears on
// the game's own panel, never as a second, system window, and Enter (a real key
// event) closes it and the game goes on. Skipped unless SDL runs on X11;
// tests/desktop/run-panel-x11-test.sh runs it under Xvfb.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/app_loop.h"
#include "desktop/sdl_events.h"
#include "desktop/sdl_game.h"

// Last: Xlib's macros (None, Status, Bool) would spoil the headers above.
#include <SDL.h>
#include <X11/Xlib.h>

namespace pondaro {
namespace {

// Windows shown on the screen, apart from the root.
int ShownWindows(::Display* x) {
  ::Window root = 0, parent = 0, *children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &n)) return -1;
  int shown = 0;
  for (unsigned int i = 0; i < n; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(x, children[i], &a) && a.map_state == IsViewable) ++shown;
  }
  if (children) XFree(children);
  return shown;
}

TEST(X11MessagePanel, MessagesStayInTheGamesWindowAndEnterClosesThem) {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (!driver || std::string(driver) != "x11") GTEST_SKIP() << "needs an X server";
  ::Display* x = XOpenDisplay(nullptr);
  ASSERT_NE(x, nullptr);
  {
    SdlGame game;
    std::string error;
    ASSERT_TRUE(game.Start(SdlGame::Mode::Window, error, PONDARO_GAME_DIR)) << error;
    SdlKeyboard keyboard;
    SdlEventSource events(game.Display.get());
    SdlClock clock;
    TMainForm form(game.Services(keyboard, clock));
    form.DataDir = PONDARO_GAME_DIR;
    form.SettingsDir = ::testing::TempDir() + "pondaro-x11-panel";
    form.FormCreate();
    TApplication app(form, events, clock);
    game.Attach(app);
    auto run = [&](int ms) {
      const uint64_t end = clock.Milliseconds() + ms;
      while (clock.Milliseconds() < end && !form.Terminated) app.Step();
    };
    form.ChangeScene(2);
    run(500);
    const int before = ShownWindows(x);
    ASSERT_GE(before, 1);

    // A system box would wait here for a click nobody gives (the test's time-out).
    form.ShowError("Can't connect to server!");
    run(800);
    EXPECT_TRUE(form.MessagePanel.Open());
    EXPECT_EQ(ShownWindows(x), before) << "a second window appeared";

    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.windowID = game.Display->WindowId();
    key.key.keysym.sym = SDLK_RETURN;
    key.key.keysym.scancode = SDL_SCANCODE_RETURN;
    SDL_PushEvent(&key);
    key.type = SDL_KEYUP;
    SDL_PushEvent(&key);
    run(300);
    EXPECT_FALSE(form.MessagePanel.Open());
    EXPECT_EQ(form.Scene, 2);
    SDL_PushEvent(&(key.type = SDL_KEYDOWN, key));
    run(300);
    EXPECT_EQ(form.Scene, 3) << "Enter starts a game again";
  }
  XCloseDisplay(x);
}

}  // namespace
}  // namespace pondaro
