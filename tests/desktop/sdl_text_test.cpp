// The game's font face through fontconfig and texts through SDL_ttf.
#include "desktop/sdl_text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

namespace pondaro {
namespace {

bool FestivalNightsInstalled() { return FindFontFace({"Festival Nights JL"}).has_value(); }

TEST(FontFace, GameListPicksTheFirstInstalledFace) {
  auto face = FindFontFace(GameFontFamilies());
  ASSERT_TRUE(face);
  // fonts-leckerli-one is installed here; the first choice normally is not.
  const std::string expected = FestivalNightsInstalled() ? "Festival Nights JL" : "Leckerli One";
  EXPECT_EQ(face->Family, expected);
  EXPECT_NE(face->Path.find(".ttf"), std::string::npos) << face->Path;
}

TEST(FontFace, MissingFamiliesFallThroughToTheNextOne) {
  auto face = FindFontFace({"Pondaro No Such Face", "Another Missing One", "DejaVu Sans"});
  ASSERT_TRUE(face);
  EXPECT_EQ(face->Family, "DejaVu Sans");
  EXPECT_NE(face->Path.find("DejaVuSans"), std::string::npos) << face->Path;

  // Names are matched without regard to case, as fontconfig does.
  auto lower = FindFontFace({"leckerli one"});
  ASSERT_TRUE(lower);
  EXPECT_NE(lower->Path.find("Leckerli"), std::string::npos);

  EXPECT_FALSE(FindFontFace({"Pondaro No Such Face"}));
  EXPECT_FALSE(FindFontFace({}));
}

// Without any of the game's faces the texts still show, in the system's sans-serif.
TEST(FontFace, TheGameFallsBackToTheSystemsSansSerif) {
  auto face = FindGameFace({"Pondaro No Such Face", "Another Missing One"});
  ASSERT_TRUE(face);
  EXPECT_FALSE(face->Path.empty());
  EXPECT_EQ(FindGameFace({"Leckerli One"})->Family, "Leckerli One");
}

class SdlTextTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(TTF_Init(), 0) << TTF_GetError(); }
  static void TearDownTestSuite() { TTF_Quit(); }
  void SetUp() override {
    canvas_ = SDL_CreateRGBSurfaceWithFormat(0, 400, 200, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(canvas_, nullptr);
    renderer_ = SDL_CreateSoftwareRenderer(canvas_);
    ASSERT_NE(renderer_, nullptr);
  }
  void TearDown() override {
    SDL_DestroyRenderer(renderer_);
    SDL_FreeSurface(canvas_);
  }
  SdlText Make(const std::string& family, size_t cacheSize = SdlText::kDefaultCacheSize) {
    return SdlText(renderer_, FindFontFace({family}), cacheSize);
  }
  uint32_t At(int x, int y) const {
    return static_cast<const uint32_t*>(canvas_->pixels)[y * (canvas_->pitch / 4) + x] & 0xFFFFFF;
  }

  SDL_Surface* canvas_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
};

TEST_F(SdlTextTest, WidthGrowsWithTextAndPointSize) {
  for (const char* family : {"Leckerli One", "DejaVu Sans"}) {
    SdlText text(renderer_, FindFontFace({family}));
    ASSERT_TRUE(text.Face()) << family;
    const int shortWidth = text.Width("Frog", 20);
    const int longWidth = text.Width("Frog catches flies", 20);
    EXPECT_GT(shortWidth, 0) << family;
    EXPECT_GT(longWidth, shortWidth * 2) << family;
    const int doubled = text.Width("Frog catches flies", 40);
    EXPECT_NEAR(doubled, 2.0 * longWidth, 0.1 * longWidth) << family;
    EXPECT_EQ(text.Width("", 20), 0);
  }
}

TEST_F(SdlTextTest, PointSizesAreAt96Dpi) {
  // DejaVu Sans is 1.164 em from ascender to descender: 72 pt is 96 px a em at
  // 96 dpi, so a line of about 112 px (84 px if the font were opened at 72 dpi).
  SdlText text = Make("DejaVu Sans");
  EXPECT_NEAR(text.LineHeight(72), 112, 6);
}

TEST_F(SdlTextTest, DrawsAntiAliasedTextWhereAsked) {
  SdlText text = Make("DejaVu Sans");
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  const int x = 50, y = 60, pt = 28;
  text.Draw(x, y, "Wow", pt, Color{255, 255, 255, 255});
  SDL_RenderPresent(renderer_);  // runs the queued copies

  const int width = text.Width("Wow", pt), height = text.LineHeight(pt);
  int full = 0, partial = 0, outside = 0;
  for (int py = 0; py < canvas_->h; ++py)
    for (int px = 0; px < canvas_->w; ++px) {
      const uint32_t v = At(px, py);
      if (v == 0) continue;
      if (px < x || px >= x + width || py < y || py >= y + height) ++outside;
      const uint32_t red = v >> 16;
      EXPECT_EQ(v, red * 0x010101u) << "white text has grey edges only";
      (red == 255 ? full : partial)++;
    }
  EXPECT_EQ(outside, 0);
  EXPECT_GT(full, 50);
  EXPECT_GT(partial, 20);  // anti-aliased, not solid

  // Half-transparent colour on black gives about half the level.
  SDL_RenderClear(renderer_);
  text.Draw(x, y, "Wow", pt, Color{255, 255, 255, 128});
  SDL_RenderPresent(renderer_);
  uint32_t brightest = 0;
  for (int py = y; py < y + height; ++py)
    for (int px = x; px < x + width; ++px) brightest = std::max(brightest, At(px, py) >> 16);
  EXPECT_NEAR(brightest, 128, 3);
}

// A styled text over a background like the text's own colour still reads: its
// letters are ringed by at least a pixel of the dark outline, the shadow falls
// below and right, and the letters lie where plain text would.
TEST_F(SdlTextTest, StyledTextIsRingedByItsOutlineOverItsShadow) {
  SdlText text = Make("Leckerli One");
  text.SetBodyFace(FindBodyFace());
  const TextLook look{{255, 240, 0, 255}, {255, 240, 0, 255}, {20, 10, 0, 255}, 2, {0, 0, 255, 255}, 3, 4, 1,
                      TextFace::Display};
  for (TextFace face : {TextFace::Display, TextFace::Body}) {
    SCOPED_TRACE(face == TextFace::Body ? "body" : "display");
    TextLook l = look;
    l.Face = face;
    SDL_SetRenderDrawColor(renderer_, 255, 230, 0, 255);  // about the letters' own colour
    SDL_RenderClear(renderer_);
    text.DrawStyled(40, 40, "Pause", 32, l);
    SDL_RenderPresent(renderer_);
    // Every pixel of a letter's edge has the dark outline within two pixels.
    auto dark = [&](int x, int y) { return (At(x, y) >> 16) < 80 && ((At(x, y) >> 8) & 0xFF) < 80; };
    auto letter = [&](int x, int y) { return At(x, y) == 0xFFF000; };
    int edges = 0, ringed = 0, blue = 0, blueBelow = 0;
    for (int py = 2; py < canvas_->h - 2; ++py)
      for (int px = 2; px < canvas_->w - 2; ++px) {
        const uint32_t v = At(px, py);
        if ((v & 0xFF) > 200 && (v >> 16) < 60) ++blue, blueBelow += py > 60;
        if (!letter(px, py) || (letter(px - 1, py) && letter(px + 1, py) && letter(px, py - 1) && letter(px, py + 1)))
          continue;
        ++edges;
        bool near = false;
        for (int dy = -2; dy <= 2; ++dy)
          for (int dx = -2; dx <= 2; ++dx) near = near || dark(px + dx, py + dy);
        ringed += near;
      }
    ASSERT_GT(edges, 100);
    EXPECT_GT(ringed, 0.97 * edges);
    EXPECT_GT(blue, 30) << "no shadow";
    EXPECT_GT(blueBelow, blue / 2) << "the shadow falls below";
  }
  EXPECT_EQ(text.StyledWidth("Pause", 32, TextFace::Display), text.Width("Pause", 32));
  EXPECT_GT(text.StyledWidth("Pause", 12, TextFace::Body), 0);
}

// The game's positions were laid out with the display face; a fallback face with
// a shorter line sits in the same line, its capitals on the same baseline.
TEST_F(SdlTextTest, EveryFaceSitsOnTheDisplayFacesBaseline) {
  auto baseline = [&](const std::string& family, int pt) {
    SdlText text = Make(family);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    text.Draw(10, 0, "HI", pt, Color{255, 255, 255, 255});
    SDL_RenderPresent(renderer_);
    int lowest = -1;
    for (int py = 0; py < canvas_->h; ++py)
      for (int px = 0; px < canvas_->w; ++px)
        if ((At(px, py) >> 16) > 128) lowest = py;
    return lowest;
  };
  for (int pt : {14, 20, 32}) {
    const int display = baseline("Leckerli One", pt), fallback = baseline("DejaVu Sans", pt);
    ASSERT_GT(display, 0);
    EXPECT_NEAR(fallback, display, 1) << pt << " pt";
  }
}

TEST_F(SdlTextTest, CacheKeepsRecentTextsAndEvictsTheOldest) {
  SdlText text = Make("DejaVu Sans", 3);
  const Color white{255, 255, 255, 255}, red{255, 0, 0, 255};
  text.Draw(0, 0, "one", 12, white);
  text.Draw(0, 0, "one", 12, white);
  EXPECT_EQ(text.CachedTexts(), 1u);
  text.Draw(0, 0, "one", 12, red);    // another colour is another texture
  text.Draw(0, 0, "one", 14, white);  // and so is another size
  EXPECT_EQ(text.CachedTexts(), 3u);
  text.Draw(0, 0, "one", 12, white);  // used again: now the most recent
  text.Draw(0, 0, "two", 12, white);  // evicts the red one, the least recent
  EXPECT_EQ(text.CachedTexts(), 3u);
  EXPECT_TRUE(text.IsCached("one", 12, white));
  EXPECT_FALSE(text.IsCached("one", 12, red));
  EXPECT_TRUE(text.IsCached("one", 14, white));
  EXPECT_TRUE(text.IsCached("two", 12, white));

  for (int i = 0; i < 50; ++i) text.Draw(0, 0, "n" + std::to_string(i), 12, white);
  EXPECT_EQ(text.CachedTexts(), 3u);
  EXPECT_TRUE(text.IsCached("n49", 12, white));
  text.ClearCache();
  EXPECT_EQ(text.CachedTexts(), 0u);
}

}  // namespace
}  // namespace pondaro
