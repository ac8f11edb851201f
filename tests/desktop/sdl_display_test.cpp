// The SDL display drawn offscreen with the software renderer, the window under
// the dummy video driver, and the small SDL services.
#include "desktop/sdl_display.h"

#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "desktop/sdl_picture.h"
#include "desktop/sdl_system.h"
#include "sprites/dirty_display.h"
#include "sdl_suite.h"

namespace pondaro {
namespace {

constexpr Color kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kBlack{0, 0, 0, 255}, kGreen{0, 160, 0, 255};

Pixels Solid(int w, int h, Color c) {
  Pixels p;
  p.Width = w;
  p.Height = h;
  for (int i = 0; i < w * h; ++i) p.Rgba.insert(p.Rgba.end(), {c.r, c.g, c.b, c.a});
  return p;
}

void Put(Pixels& p, int x, int y, Color c) {
  uint8_t* px = &p.Rgba[(static_cast<size_t>(y) * p.Width + x) * 4];
  px[0] = c.r, px[1] = c.g, px[2] = c.b, px[3] = c.a;
}

Color At(const Pixels& p, int x, int y) {
  const uint8_t* px = &p.Rgba[(static_cast<size_t>(y) * p.Width + x) * 4];
  return Color{px[0], px[1], px[2], px[3]};
}

MATCHER_P2(Near, c, tolerance, "") {
  return std::abs(arg.r - c.r) <= tolerance && std::abs(arg.g - c.g) <= tolerance &&
         std::abs(arg.b - c.b) <= tolerance;
}

using test::SdlSuite;

class SdlOffscreen : public SdlSuite {
 protected:
  void SetUp() override {
    std::string error;
    display_ = SdlDisplay::OpenOffscreen(error);
    ASSERT_TRUE(display_) << error;
    display_->BeginFrame();
    display_->Fill(kBlack);
  }
  Pixels Frame() {
    display_->EndFrame();
    return display_->ReadPixels();
  }
  std::unique_ptr<SdlDisplay> display_;
};

TEST_F(SdlOffscreen, FillCoversTheWholeSurface) {
  EXPECT_TRUE(display_->CanDraw());
  EXPECT_EQ(display_->WindowWidth(), 800);
  display_->Fill(Color{12, 34, 56, 255});
  const Pixels p = Frame();
  ASSERT_EQ(p.Width, 800);
  ASSERT_EQ(p.Height, 600);
  for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 599}, {799, 599}, {400, 300}})
    EXPECT_EQ(At(p, x, y), (Color{12, 34, 56, 255})) << x << "," << y;
}

TEST_F(SdlOffscreen, PlainDrawLandsEveryPixelAndSkipsTransparentOnes) {
  // A 2-frame strip of 3 x 2 frames; frame 1 is drawn.
  Pixels strip = Solid(6, 2, kGreen);
  const Color a{10, 20, 30, 255}, b{40, 50, 60, 255}, c{70, 80, 90, 255}, d{100, 110, 120, 255};
  Put(strip, 3, 0, a), Put(strip, 4, 0, b), Put(strip, 5, 0, Color{255, 255, 255, 0});
  Put(strip, 3, 1, c), Put(strip, 4, 1, d), Put(strip, 5, 1, a);
  const TextureId tex = display_->CreateTexture(strip, false);
  ASSERT_NE(tex, 0);
  display_->Draw(tex, Bounds(3, 0, 3, 2), 100, 50);
  const Pixels p = Frame();
  EXPECT_EQ(At(p, 100, 50), a);
  EXPECT_EQ(At(p, 101, 50), b);
  EXPECT_EQ(At(p, 102, 50), kBlack) << "alpha 0 leaves the background";
  EXPECT_EQ(At(p, 100, 51), c);
  EXPECT_EQ(At(p, 101, 51), d);
  EXPECT_EQ(At(p, 102, 51), a);
  EXPECT_EQ(At(p, 99, 50), kBlack);
  EXPECT_EQ(At(p, 103, 50), kBlack);
  EXPECT_EQ(At(p, 100, 52), kBlack);
}

TEST_F(SdlOffscreen, StretchedDrawScalesThePart) {
  Pixels quad = Solid(2, 2, kRed);
  Put(quad, 1, 0, kBlue), Put(quad, 0, 1, kGreen), Put(quad, 1, 1, Color{255, 255, 0, 255});
  const TextureId tex = display_->CreateTexture(quad, false);
  display_->DrawStretched(tex, Bounds(0, 0, 2, 2), Bounds(200, 100, 40, 20), 255);
  const Pixels p = Frame();
  EXPECT_EQ(At(p, 205, 105), kRed);
  EXPECT_EQ(At(p, 235, 105), kBlue);
  EXPECT_EQ(At(p, 205, 115), kGreen);
  EXPECT_EQ(At(p, 235, 115), (Color{255, 255, 0, 255}));
  EXPECT_EQ(At(p, 200, 100), kRed);
  EXPECT_EQ(At(p, 239, 119), (Color{255, 255, 0, 255}));
  EXPECT_EQ(At(p, 240, 110), kBlack);
  EXPECT_EQ(At(p, 220, 120), kBlack);
}

TEST_F(SdlOffscreen, AlphaBlendsByTheDrawAndThePixel) {
  display_->Fill(Color{255, 0, 0, 255});
  const TextureId white = display_->CreateTexture(Solid(10, 10, Color{255, 255, 255, 255}), false);
  const TextureId halfWhite = display_->CreateTexture(Solid(10, 10, Color{255, 255, 255, 128}), false);
  display_->DrawStretched(white, Bounds(0, 0, 10, 10), Bounds(0, 0, 10, 10), 128);
  display_->DrawStretched(halfWhite, Bounds(0, 0, 10, 10), Bounds(20, 0, 10, 10), 128);
  display_->DrawStretched(white, Bounds(0, 0, 10, 10), Bounds(40, 0, 10, 10), 0);
  display_->DrawStretched(white, Bounds(0, 0, 10, 10), Bounds(60, 0, 10, 10), 255);
  // Opacity is per draw: the same texture once more at full strength.
  display_->Draw(white, Bounds(0, 0, 10, 10), 80, 0);
  const Pixels p = Frame();
  EXPECT_THAT(At(p, 5, 5), Near(Color{255, 128, 128}, 2));
  EXPECT_THAT(At(p, 25, 5), Near(Color{255, 64, 64}, 2));  // a quarter: half of half
  EXPECT_EQ(At(p, 45, 5), (Color{255, 0, 0, 255}));
  EXPECT_EQ(At(p, 65, 5), (Color{255, 255, 255, 255}));
  EXPECT_EQ(At(p, 85, 5), (Color{255, 255, 255, 255}));
}

TEST_F(SdlOffscreen, OpaqueTexturesReplaceInsteadOfBlending) {
  // Colours under alpha 0 show only when blending is off, as it is for backdrops.
  const TextureId backdrop = display_->CreateTexture(Solid(10, 10, Color{0, 200, 0, 0}), true);
  const TextureId sprite = display_->CreateTexture(Solid(10, 10, Color{0, 200, 0, 0}), false);
  display_->Draw(backdrop, Bounds(0, 0, 10, 10), 0, 0);
  display_->Draw(sprite, Bounds(0, 0, 10, 10), 20, 0);
  const Pixels first = Frame();
  EXPECT_THAT(At(first, 5, 5), Near(Color{0, 200, 0}, 0));
  EXPECT_EQ(At(first, 25, 5), kBlack);

  // Drawn half transparent, an opaque picture blends after all, and only then.
  const TextureId wall = display_->CreateTexture(Solid(10, 10, Color{200, 200, 200, 255}), true);
  display_->BeginFrame();
  display_->Fill(kBlack);
  display_->DrawStretched(wall, Bounds(0, 0, 10, 10), Bounds(0, 0, 10, 10), 128);
  display_->Draw(wall, Bounds(0, 0, 10, 10), 20, 0);
  const Pixels second = Frame();
  EXPECT_THAT(At(second, 5, 5), Near(Color{100, 100, 100}, 2));
  EXPECT_EQ(At(second, 25, 5), (Color{200, 200, 200, 255}));
}

TEST_F(SdlOffscreen, RotationTurnsClockwiseAboutTheCentre) {
  // 20 x 10, red left half, blue right half, drawn centred on (100, 100).
  Pixels bar = Solid(20, 10, kRed);
  for (int y = 0; y < 10; ++y)
    for (int x = 10; x < 20; ++x) Put(bar, x, y, kBlue);
  const TextureId tex = display_->CreateTexture(bar, false);
  struct Case {
    int angle;
    std::pair<int, int> red, blue, empty;
  };
  const Case cases[] = {
      {0, {93, 100}, {107, 100}, {100, 93}},
      {64, {100, 93}, {100, 107}, {93, 100}},  // a quarter turn: left end goes up
      {128, {107, 100}, {93, 100}, {100, 93}},
      {192, {100, 107}, {100, 93}, {93, 100}},
      {256 + 64, {100, 93}, {100, 107}, {93, 100}},
  };
  for (const Case& c : cases) {
    display_->BeginFrame();
    display_->Fill(kBlack);
    display_->DrawRotated(tex, Bounds(0, 0, 20, 10), 100, 100, 20, 10, c.angle, 255);
    const Pixels p = Frame();
    EXPECT_EQ(At(p, c.red.first, c.red.second), kRed) << c.angle;
    EXPECT_EQ(At(p, c.blue.first, c.blue.second), kBlue) << c.angle;
    EXPECT_EQ(At(p, c.empty.first, c.empty.second), kBlack) << c.angle;
  }

  // Scaled to 40 x 20 and half transparent.
  display_->BeginFrame();
  display_->Fill(kBlack);
  display_->DrawRotated(tex, Bounds(0, 0, 20, 10), 100, 100, 40, 20, 64, 128);
  const Pixels p = Frame();
  EXPECT_THAT(At(p, 100, 85), Near(Color{128, 0, 0}, 2));
  EXPECT_THAT(At(p, 100, 115), Near(Color{0, 0, 128}, 2));
  EXPECT_EQ(At(p, 85, 100), kBlack);
}

TEST_F(SdlOffscreen, RotationAboutTheTopLeftCornerSwingsThePictureAroundIt) {
  // A 4 x 30 bar hanging from its top edge, red near the top, blue further down,
  // pinned at (100, 100) by its top-left corner, as the tongue is.
  Pixels bar = Solid(4, 30, kRed);
  for (int y = 15; y < 30; ++y)
    for (int x = 0; x < 4; ++x) Put(bar, x, y, kBlue);
  const TextureId tex = display_->CreateTexture(bar, false);
  struct Case {
    int angle;
    std::pair<int, int> red, blue, empty;
  };
  const Case cases[] = {
      {0, {102, 105}, {102, 125}, {98, 95}},
      {64, {95, 102}, {75, 102}, {102, 105}},   // a quarter turn: it points left
      {128, {98, 95}, {98, 75}, {102, 105}},    // half a turn: straight up
      {192, {105, 98}, {125, 98}, {98, 95}},
  };
  for (const Case& c : cases) {
    display_->BeginFrame();
    display_->Fill(kBlack);
    display_->DrawRotatedAbout(tex, Bounds(0, 0, 4, 30), 100, 100, 4, 30, 0, 0, c.angle, 255);
    const Pixels p = Frame();
    EXPECT_EQ(At(p, c.red.first, c.red.second), kRed) << c.angle;
    EXPECT_EQ(At(p, c.blue.first, c.blue.second), kBlue) << c.angle;
    EXPECT_EQ(At(p, c.empty.first, c.empty.second), kBlack) << c.angle;
  }
  // Stretched to 4 x 90 and pointing up: the tip reaches 90 px above the pivot.
  display_->BeginFrame();
  display_->Fill(kBlack);
  display_->DrawRotatedAbout(tex, Bounds(0, 0, 4, 30), 100, 100, 4, 90, 0, 0, 128, 255);
  const Pixels p = Frame();
  EXPECT_EQ(At(p, 98, 12), kBlue);
  EXPECT_EQ(At(p, 98, 8), kBlack);
}

TEST_F(SdlOffscreen, DestroyedTexturesDrawNothingAndTheirIdsAreReused) {
  const TextureId first = display_->CreateTexture(Solid(4, 4, kRed), false);
  display_->DestroyTexture(first);
  display_->Draw(first, Bounds(0, 0, 4, 4), 0, 0);
  display_->Draw(999, Bounds(0, 0, 4, 4), 0, 0);
  EXPECT_EQ(At(Frame(), 1, 1), kBlack);
  EXPECT_EQ(display_->CreateTexture(Solid(4, 4, kBlue), false), first);
  EXPECT_EQ(display_->CreateTexture(Pixels{}, false), 0);
}

TEST_F(SdlOffscreen, SavePngWritesTheFrameAsADecodablePicture) {
  const TextureId tex = display_->CreateTexture(Solid(30, 20, Color{10, 200, 30, 255}), false);
  display_->Draw(tex, Bounds(0, 0, 30, 20), 700, 500);
  display_->DrawText(20, 20, "Pondaro", 24, Color{255, 255, 0, 255});
  const Pixels drawn = Frame();
  const std::string path = testing::TempDir() + "pondaro_frame.png";
  ASSERT_TRUE(display_->SavePng(path));
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::remove(path.c_str());
  std::string error;
  auto decoded = SdlPictureDecoder().Decode(bytes.data(), bytes.size(), error);
  ASSERT_TRUE(decoded) << error;
  EXPECT_EQ(decoded->Width, 800);
  EXPECT_EQ(decoded->Height, 600);
  EXPECT_EQ(decoded->Rgba, drawn.Rgba);
  EXPECT_EQ(At(*decoded, 710, 510), (Color{10, 200, 30, 255}));

  EXPECT_FALSE(display_->SavePng("/nonexistent-dir/frame.png"));
}

TEST_F(SdlSuite, TextsShowEvenWithoutAnyOfTheGamesFaces) {
  SdlDisplay::Options options;
  options.fontFamilies = {"Pondaro No Such Face"};
  std::string error;
  auto display = SdlDisplay::OpenOffscreen(error, options);
  ASSERT_TRUE(display) << error;
  EXPECT_TRUE(display->Text().Face());
  EXPECT_GT(display->TextWidth("Frog", 20), 0);
}

class SdlWindowTest : public SdlSuite {};

TEST_F(SdlWindowTest, DummyWindowDrawsAndSwitchesModes) {
  std::string error;
  auto display = SdlDisplay::OpenWindow(error);
  ASSERT_TRUE(display) << error;
  EXPECT_FALSE(display->IsOffscreen());
  EXPECT_NE(display->WindowId(), 0u);
  SDL_Window* window = SDL_GetWindowFromID(display->WindowId());
  ASSERT_NE(window, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(window), "PONDARO");
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_EQ(display->RendererName(), "software");  // the dummy driver has no OpenGL
  EXPECT_TRUE(display->CanDraw());

  display->SetCaption("PONDARO - paused");
  EXPECT_STREQ(SDL_GetWindowTitle(window), "PONDARO - paused");

  display->SetCursor(CursorShape::None);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  display->SetCursor(CursorShape::Hand);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  EXPECT_EQ(display->Cursor(), CursorShape::Hand);

  // A resize by the user is undone.
  SDL_SetWindowSize(window, 900, 700);
  display->KeepWindowSize();
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);

  EXPECT_TRUE(display->SetFullScreen(true));
  EXPECT_TRUE(display->IsFullScreen());
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
  EXPECT_TRUE(display->SetFullScreen(false));
  EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);

  display->BeginFrame();
  display->Fill(Color{1, 2, 3, 255});
  EXPECT_EQ(At(display->ReadPixels(), 400, 300), (Color{1, 2, 3, 255}));
  display->EndFrame();
  EXPECT_TRUE(display->SetIcon(Solid(32, 32, kGreen)));
}

// Full screen shows the 800 x 600 canvas scaled to the screen. A frame given areas
// sends only those (scaled), and what the window shows then is what the whole
// frame would have shown; a frame given none, or the first after a switch, sends
// everything. The pointer is reported in canvas pixels.
TEST_F(SdlWindowTest, FullScreenShowsTheCanvasScaledAndSendsOnlyTheAreas) {
  std::string error;
  auto display = SdlDisplay::OpenWindow(error);
  ASSERT_TRUE(display) << error;
  ASSERT_TRUE(display->SetFullScreen(true));
  EXPECT_EQ(display->Updates(), FrameUpdates::Every) << "after a switch the next frame is whole";
  SDL_Window* window = SDL_GetWindowFromID(display->WindowId());
  const TextureId tex = display->CreateTexture(Solid(10, 10, kRed), true);
  auto frame = [&](int x, const TRect& area) {
    display->BeginFrame();
    display->SetClip(area);
    display->Fill(kBlue);
    display->Draw(tex, Bounds(0, 0, 10, 10), x, 100);
    display->SetClip(TRect{});
    display->EndFrame();
  };
  auto screen = [&] {
    SDL_Surface* s = SDL_GetWindowSurface(window);
    const auto* p = static_cast<const uint8_t*>(s->pixels);
    return std::vector<uint8_t>(p, p + static_cast<size_t>(s->pitch) * s->h);
  };
  frame(700, TRect{});
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  ASSERT_NE(surface, nullptr);
  const int w = surface->w, h = surface->h;
  ASSERT_GT(w, 800) << "the dummy screen is larger than the canvas";
  EXPECT_EQ(display->Updates(), FrameUpdates::Areas);
  EXPECT_EQ(display->PixelsShown(), static_cast<long long>(w) * h);
  EXPECT_EQ(At(display->ReadPixels(), 705, 105), kRed);

  const long long before = display->PixelsShown();
  frame(710, Bounds(690, 90, 40, 30));
  const double scale = display->WindowWidth() / 800.0;
  EXPECT_LE(display->PixelsShown() - before, std::lround(41 * scale) * std::lround(31 * scale));
  const auto partly = screen();
  display->Invalidate();
  frame(710, TRect{});
  EXPECT_EQ(screen(), partly) << "the areas scaled alone show what the whole frame scaled does";

  // The pointer, from window to canvas pixels.
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.windowID = display->WindowId();
  motion.motion.x = w / 2;
  motion.motion.y = h - 1;
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  ASSERT_EQ(SDL_PushEvent(&motion), 1);
  SDL_Event got{};
  while (SDL_PollEvent(&got) && got.type != SDL_MOUSEMOTION) {
  }
  EXPECT_EQ(got.motion.x, 400);
  EXPECT_EQ(got.motion.y, 599);
}

// A still screen costs nothing: through the dirty display a frame that repeats the
// last is neither drawn nor shown, and the picture stays.
TEST_F(SdlOffscreen, ARepeatedFrameIsNotDrawnAgain) {
  display_->EndFrame();
  TDirtyDisplay dirty(*display_);
  const TextureId tex = dirty.CreateTexture(Solid(10, 10, kRed), true);
  auto frame = [&](int x) {
    dirty.BeginFrame();
    dirty.Fill(kBlue);
    dirty.Draw(tex, Bounds(0, 0, 10, 10), x, 100);
    dirty.EndFrame();
  };
  frame(50);
  const long shown = display_->FramesShown();
  frame(50);
  EXPECT_EQ(display_->FramesShown(), shown);
  EXPECT_EQ(At(display_->ReadPixels(), 55, 105), kRed);
  frame(60);
  EXPECT_EQ(display_->FramesShown(), shown + 1);
  EXPECT_EQ(At(display_->ReadPixels(), 55, 105), kBlue);
  EXPECT_EQ(At(display_->ReadPixels(), 65, 105), kRed);
}

TEST(SoftwareRasteriser, RecognisesCpuRenderersOnly) {
  for (const char* cpu :
       {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa X11 Software Rasterizer", "Mesa DRI swrast"})
    EXPECT_TRUE(IsSoftwareRasteriser(cpu)) << cpu;
  for (const char* gpu : {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "NVIDIA GeForce GTX 1060/PCIe/SSE2",
                          "AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49, 6.1.0)", ""})
    EXPECT_FALSE(IsSoftwareRasteriser(gpu)) << gpu;
}

TEST_F(SdlSuite, MessageBoxWithoutAScreenPrintsInsteadOfWaiting) {
  ASSERT_FALSE(HasVisibleScreen());  // dummy video driver
  SdlMessageBox box;
  testing::internal::CaptureStderr();
  box.Show("Can't connect to server!");
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_NE(printed.find("Can't connect to server!"), std::string::npos) << printed;
}

}  // namespace
}  // namespace pondaro
