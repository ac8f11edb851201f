// The window on a real X server: full screen fills the screen with and without a
// window manager, and the window keeps the place the player gave it. Skipped
// unless SDL runs on X11; tests/desktop/run-x11-tests.sh runs it under Xvfb, bare
// and with openbox (PONDARO_TEST_WM set).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "desktop/sdl_display.h"
#include "desktop/sdl_events.h"
#include "desktop/x11_window.h"
#include "sdl_suite.h"

// Last: Xlib's macros (None, Status, Bool) would spoil the headers above.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xutil.h>

namespace pondaro {
namespace {

class X11Window : public test::SdlSuite {
 protected:
  void SetUp() override {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::string(driver) != "x11") GTEST_SKIP() << "needs an X server";
    x_ = XOpenDisplay(nullptr);
    ASSERT_NE(x_, nullptr);
    wantWm_ = std::getenv("PONDARO_TEST_WM") != nullptr;
    for (int i = 0; i < 100 && wantWm_ && !HasWindowManager(); ++i) SDL_Delay(50);
    ASSERT_EQ(HasWindowManager(), wantWm_);
    // openbox announces itself before it manages windows: a window mapped in
    // between was sometimes never mapped, and SDL waits for that without end.
    if (wantWm_) SDL_Delay(1000);
    std::string error;
    display_ = SdlDisplay::OpenWindow(error);
    ASSERT_TRUE(display_) << error;
    window_ = SDL_GetWindowFromID(display_->WindowId());
    events_ = std::make_unique<SdlEventSource>(display_.get());
    ASSERT_EQ(SDL_GetDisplayBounds(0, &screen_), 0);
    Pump(500);
    opened_ = Area();
  }
  void TearDown() override {
    events_.reset();
    display_.reset();
    if (x_) XCloseDisplay(x_);
  }

  // Runs the game's event handling for a while, as the loop does between ticks.
  void Pump(int ms) {
    const Uint64 until = SDL_GetTicks64() + ms;
    InputEvent e;
    while (SDL_GetTicks64() < until) events_->WaitEvent(10, e);
  }
  bool HasWindowManager() {
    const Atom check = XInternAtom(x_, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == 0) return false;
    Atom type;
    int format;
    unsigned long items, left;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(x_, DefaultRootWindow(x_), check, 0, 1, False, XA_WINDOW, &type, &format,
                                          &items, &left, &data) == Success &&
                       items == 1;
    if (data) XFree(data);
    return found;
  }
  ScreenArea Area() {
    ScreenArea a;
    EXPECT_TRUE(X11WindowArea(window_, a));
    return a;
  }
  void ExpectCoversTheScreen() {
    const ScreenArea a = Area();
    EXPECT_EQ(a.x, screen_.x);
    EXPECT_EQ(a.y, screen_.y);
    EXPECT_EQ(a.w, screen_.w);
    EXPECT_EQ(a.h, screen_.h);
  }
  // What the screen shows at (x, y), as 0xRRGGBB.
  unsigned long ScreenPixel(int x, int y) {
    XImage* image = XGetImage(x_, DefaultRootWindow(x_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0xFFFFFFFF;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
  }
  // Moves and sizes the window as the user would with the window manager (or,
  // without one, as any X client can).
  void UserMoveResize(int x, int y, int w, int h) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(window_, &info));
    XMoveResizeWindow(x_, info.info.x11.window, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
    XSync(x_, False);
  }

  ::Display* x_ = nullptr;
  bool wantWm_ = false;
  std::unique_ptr<SdlDisplay> display_;
  std::unique_ptr<SdlEventSource> events_;
  SDL_Window* window_ = nullptr;
  SDL_Rect screen_{};
  ScreenArea opened_;
};

TEST_F(X11Window, FullScreenFillsTheScreenLetterboxed) {
  ASSERT_TRUE(display_->SetFullScreen(true));
  Pump(500);
  ExpectCoversTheScreen();

  for (int i = 0; i < 3; ++i) {
    display_->BeginFrame();
    display_->Fill(Color{255, 0, 0, 255});
    display_->EndFrame();
    Pump(100);
  }
  // The 4:3 picture fills the height, centred, with black bars beside it.
  const int pictureW = screen_.h * 4 / 3, left = (screen_.w - pictureW) / 2;
  EXPECT_EQ(ScreenPixel(screen_.w / 2, screen_.h / 2), 0xFF0000u);
  EXPECT_EQ(ScreenPixel(left + 3, 3), 0xFF0000u);
  EXPECT_EQ(ScreenPixel(left + pictureW - 4, screen_.h - 4), 0xFF0000u);
  if (left > 4) {
    EXPECT_EQ(ScreenPixel(left - 4, screen_.h / 2), 0u);
    EXPECT_EQ(ScreenPixel(screen_.w - left + 3, screen_.h / 2), 0u);
  }

  ASSERT_TRUE(display_->SetFullScreen(false));
  Pump(500);
  EXPECT_EQ(Area().w, 800);
  EXPECT_EQ(Area().h, 600);
}

// A frame given areas changes only them on the screen, in the window and scaled
// in full screen.
TEST_F(X11Window, AFrameOfAreasChangesOnlyThemOnTheScreen) {
  for (const bool full : {false, true}) {
    ASSERT_TRUE(display_->SetFullScreen(full));
    Pump(500);
    const ScreenArea a = Area();
    for (int i = 0; i < 2; ++i) {
      display_->BeginFrame();
      display_->Fill(Color{255, 0, 0, 255});
      display_->EndFrame();
      Pump(100);
    }
    display_->BeginFrame();
    display_->SetClip(Bounds(100, 100, 50, 40));
    display_->Fill(Color{0, 255, 0, 255});
    display_->SetClip(TRect{});
    display_->EndFrame();
    Pump(100);
    const double scale = static_cast<double>(display_->WindowWidth()) / 800;
    const int left = a.x + (a.w - display_->WindowWidth()) / 2, top = a.y + (a.h - static_cast<int>(600 * scale)) / 2;
    auto at = [&](int x, int y) {
      return ScreenPixel(left + static_cast<int>(x * scale), top + static_cast<int>(y * scale));
    };
    EXPECT_EQ(at(125, 120), 0x00FF00u) << (full ? "full screen" : "window");
    EXPECT_EQ(at(102, 102), 0x00FF00u) << (full ? "full screen" : "window");
    EXPECT_EQ(at(95, 120), 0xFF0000u) << (full ? "full screen" : "window");
    EXPECT_EQ(at(155, 120), 0xFF0000u) << (full ? "full screen" : "window");
    EXPECT_EQ(at(400, 300), 0xFF0000u) << (full ? "full screen" : "window");
  }
}

// After frames that change a few areas, every pixel of the window is the canvas's
// pixel under it, scaled the nearest way: nothing sent short, nothing misplaced.
TEST_F(X11Window, TheWindowShowsTheCanvasPixelForPixel) {
  Pixels pattern{64, 48, std::vector<uint8_t>(64 * 48 * 4)};
  for (size_t i = 0; i < pattern.Rgba.size(); ++i) pattern.Rgba[i] = static_cast<uint8_t>(i % 4 == 3 ? 255 : i * 7 % 251);
  const TextureId tex = display_->CreateTexture(pattern, true);
  for (const bool full : {false, true}) {
    ASSERT_TRUE(display_->SetFullScreen(full));
    Pump(500);
    display_->BeginFrame();
    display_->Fill(Color{20, 60, 90, 255});
    display_->EndFrame();
    for (int frame = 0; frame < 6; ++frame) {
      display_->BeginFrame();
      const TRect area = Bounds(37 + frame * 113, 29 + frame * 87, 90, 70);
      display_->SetClip(area);
      display_->Draw(tex, Bounds(0, 0, 64, 48), area.Left + frame, area.Top + 5);
      display_->SetClip(TRect{});
      display_->EndFrame();
      Pump(30);
    }
    Pump(200);
    const ScreenArea a = Area();
    const int pictureW = display_->WindowWidth(), pictureH = pictureW * 600 / 800;
    const int left = a.x + (a.w - pictureW) / 2, top = a.y + (a.h - pictureH) / 2;
    XImage* shown = XGetImage(x_, DefaultRootWindow(x_), left, top, static_cast<unsigned>(pictureW),
                              static_cast<unsigned>(pictureH), AllPlanes, ZPixmap);
    ASSERT_NE(shown, nullptr);
    const SDL_Surface* canvas = display_->Canvas();
    int wrong = 0;
    for (int y = 0; y < pictureH && wrong < 5; ++y)
      for (int x = 0; x < pictureW && wrong < 5; ++x) {
        const int cx = static_cast<int>(int64_t{x} * 800 / pictureW), cy = static_cast<int>(int64_t{y} * 600 / pictureH);
        const uint32_t want =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(canvas->pixels) + cy * canvas->pitch)[cx] &
            0xFFFFFF;
        const unsigned long got = XGetPixel(shown, x, y) & 0xFFFFFF;
        if (got != want) {
          ADD_FAILURE() << (full ? "full screen" : "window") << ": (" << x << ", " << y << ") shows " << std::hex << got
                        << " for canvas (" << std::dec << cx << ", " << cy << ") " << std::hex << want;
          ++wrong;
        }
      }
    XDestroyImage(shown);
  }
}

TEST_F(X11Window, LeavingFullScreenPutsTheWindowBackWhereThePlayerLeftIt) {
  UserMoveResize(300, 200, 800, 600);
  Pump(500);
  const ScreenArea placed = Area();
  ASSERT_TRUE(placed.x != opened_.x || placed.y != opened_.y) << "the window did not move";
  if (wantWm_) {
    // Maximising is the other road into full screen (at the game's next tick).
    SDL_MaximizeWindow(window_);
    for (int i = 0; i < 50 && !display_->IsMaximized(); ++i) Pump(20);
    ASSERT_TRUE(display_->IsMaximized());
    Pump(300);
  }
  ASSERT_TRUE(display_->SetFullScreen(true));
  Pump(500);
  ASSERT_TRUE(display_->SetFullScreen(false));
  Pump(500);
  const ScreenArea back = Area();
  EXPECT_EQ(back.x, placed.x);
  EXPECT_EQ(back.y, placed.y);
  EXPECT_EQ(back.w, 800);
  EXPECT_EQ(back.h, 600);
}

TEST_F(X11Window, AResizeSnapsBackWithoutMovingTheWindow) {
  UserMoveResize(300, 200, 800, 600);
  Pump(500);
  const ScreenArea placed = Area();
  UserMoveResize(placed.x - 60, placed.y - 40, 950, 720);  // dragging the top-left corner
  Pump(800);
  const ScreenArea after = Area();
  EXPECT_EQ(after.w, 800);
  EXPECT_EQ(after.h, 600);
  EXPECT_EQ(after.x, placed.x);
  EXPECT_EQ(after.y, placed.y);
}

// Another program resizes the full-screen window: without a window manager the
// game itself puts it back over the screen.
TEST_F(X11Window, AFullScreenWindowResizedFromOutsideCoversTheScreenAgain) {
  ASSERT_TRUE(display_->SetFullScreen(true));
  Pump(500);
  UserMoveResize(100, 80, 640, 480);
  Pump(800);
  ExpectCoversTheScreen();
}

}  // namespace
}  // namespace pondaro
