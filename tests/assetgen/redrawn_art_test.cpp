// What made the pictures of the game's key moments hard to read, each checked
// against the generated collection: the crocodile's bite, the springy lily, the
// splash of a fall, a sinking lily, the small frog and the stork.
#include <gtest/gtest.h>

#include <cmath>

#include "assetgen/art_frame.h"

namespace pondaro {
namespace {

class RedrawnArt : public PondArt {
 protected:
  // Brightness of a pixel, 0..255.
  static double Luma(const uint8_t* p) { return 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2]; }
  // Mean brightness of a frame's solid pixels.
  static double SolidLuma(const Frame& f) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < f.H(); ++y)
      for (int x = 0; x < f.W(); ++x)
        if (f.Solid(x, y)) sum += Luma(f.Px(x, y)), ++n;
    return n ? sum / n : 0;
  }
};

// The bite is water, not smoke: no opaque white blob over the catch (white
// teeth are thin), and the spray is see-through and takes the pond's blue.
TEST_F(RedrawnArt, CrocodilesBiteThrowsUpClearWaterNotACloud) {
  const auto& p = Pic("kroko");
  int spray = 0;
  for (int k = p.FrameCount() - 3; k < p.FrameCount(); ++k) {
    const Frame f(p, k);
    auto white = [&](int x, int y) {
      if (x < 0 || y < 0 || x >= f.W() || y >= f.H()) return false;
      const uint8_t* px = f.Px(x, y);
      return std::min({px[0], px[1], px[2]}) >= 200 && f.A(x, y) >= 200;
    };
    int blob = 0;
    for (int y = 0; y < f.H(); ++y)
      for (int x = 0; x < f.W(); ++x) {
        blob += white(x, y) && white(x - 3, y) && white(x + 3, y) && white(x, y - 3) && white(x, y + 3);
        const uint8_t* px = f.Px(x, y);
        spray += std::min({px[0], px[1], px[2]}) >= 150 && f.A(x, y) > 20 && f.A(x, y) < kSolid && px[2] >= px[0];
      }
    EXPECT_LT(blob, 20) << "frame " << k << " has an opaque white cloud";
  }
  EXPECT_GT(spray, 300) << "no see-through spray";
}

// A springy lily is a fresh green leaf on one big steel spring that shows under
// its middle in every frame, not a teal disc ringed with little springs.
TEST_F(RedrawnArt, SpringyLilyIsAGreenLeafOnABigCoil) {
  const auto& p = Pic("kuvshinka_pruginka");
  for (int k = 0; k < p.FrameCount(); ++k) {
    SCOPED_TRACE(k);
    const Frame f(p, k);
    double r = 0, g = 0, b = 0;
    int leaf = 0, steel = 0;
    for (int y = 0; y < f.H(); ++y)
      for (int x = 0; x < f.W(); ++x) {
        if (!f.Solid(x, y)) continue;
        const uint8_t* px = f.Px(x, y);
        const bool grey = std::max({px[0], px[1], px[2]}) - std::min({px[0], px[1], px[2]}) < 30;
        if (grey && Luma(px) > 140 && std::abs(x - f.W() / 2) < 22) ++steel;
        if (!grey) r += px[0], g += px[1], b += px[2], ++leaf;
      }
    ASSERT_GT(leaf, 0);
    EXPECT_GT(g / leaf, b / leaf + 60) << "a green leaf, not teal";
    EXPECT_GT(g / leaf, r / leaf + 40);
    EXPECT_GT(steel, 150) << "the coil under the leaf";
  }
}

// Splashed water is mostly see-through and bluish, not a white crown.
TEST_F(RedrawnArt, SplashIsTranslucentBlueWater) {
  const auto& p = Pic("brizgi");
  double seen = 0, clear = 0, blue = 0;
  for (int k = 0; k < p.FrameCount(); ++k) {
    const Frame f(p, k);
    for (int y = 0; y < f.H(); ++y)
      for (int x = 0; x < f.W(); ++x) {
        const int a = f.A(x, y);
        if (a <= 16) continue;
        const uint8_t* px = f.Px(x, y);
        seen += 1;
        clear += a < 200;
        blue += a * (px[2] - px[0]);
      }
  }
  ASSERT_GT(seen, 0);
  EXPECT_GT(clear / seen, 0.75) << "share of see-through pixels";
  EXPECT_GT(blue / seen, 255 * 20.0 / 2) << "tinted blue";
}

// A sinking lily darkens as it tips under, and comes back up awash, part way
// between under water and afloat, instead of popping up whole in one frame.
TEST_F(RedrawnArt, SinkingLilyDarkensAndSurfacesGradually) {
  for (const char* name : {"kuvshinka_simple_1", "kuvshinka_simple_2", "kuvshinka_simple_3"}) {
    SCOPED_TRACE(name);
    const auto& p = Pic(name);
    const int n = p.FrameCount();
    const Frame rest(p, 0);
    // How far a frame's leaf looks from the leaf at rest, on average.
    auto change = [&](int k) {
      const Frame f(p, k);
      double d = 0;
      int px = 0;
      for (int y = 0; y < f.H(); ++y)
        for (int x = 0; x < f.W(); ++x)
          if (rest.Solid(x, y)) {
            for (int c = 0; c < 4; ++c) d += std::abs(f.Px(x, y)[c] - rest.Px(x, y)[c]);
            ++px;
          }
      return d / px;
    };
    for (int k = 2; k < n - 1; ++k) EXPECT_LT(SolidLuma(Frame(p, k)), SolidLuma(rest) - 8) << "frame " << k;
    EXPECT_LT(change(n - 1), 0.7 * change(n - 2)) << "the last frame is on its way up";
    EXPECT_GT(Frame(p, n - 1).SolidBox().Width(), 0.9 * rest.SolidBox().Width()) << "the whole leaf is back";
  }
}

// At level 1 the frog is drawn at 34 x 53 on a bright pad: its outline is dark,
// its eyes are at the front, and in the air its hands reach forward, close to
// its head, not up and out.
TEST_F(RedrawnArt, FrogReadsOnThePadAndFacesForward) {
  const auto& p = Pic("frog");
  for (int k = 0; k < p.FrameCount(); ++k) {
    SCOPED_TRACE(k);
    const Frame f(p, k);
    double edge = 0;
    int edges = 0, eyeY = 0, eyes = 0;
    for (int y = 1; y < f.H() - 1; ++y)
      for (int x = 1; x < f.W() - 1; ++x) {
        if (!f.Solid(x, y)) continue;
        const uint8_t* px = f.Px(x, y);
        if (!f.Solid(x - 1, y) || !f.Solid(x + 1, y) || !f.Solid(x, y - 1) || !f.Solid(x, y + 1))
          edge += Luma(px), ++edges;
        if (std::min({px[0], px[1], px[2]}) > 225) eyeY += y, ++eyes;
      }
    EXPECT_LT(edge / edges, 70) << "outline too light";
    ASSERT_GT(eyes, 60);
    EXPECT_LT(eyeY / eyes, f.H() / 4) << "eyes not at the front";
  }
  const Frame air(p, p.FrameCount() - 1);
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < air.W(); ++x)
      if (x < 9 || x >= air.W() - 9) EXPECT_FALSE(air.Solid(x, y)) << "a hand raised at " << x << "," << y;
}

// The stork dives in from above: its body is whole, round at the top, never
// cut straight by the frame's edge.
TEST_F(RedrawnArt, StorksBodyIsRoundAtTheTop) {
  const auto& p = Pic("aist");
  for (int k = 0; k < p.FrameCount(); ++k) {
    SCOPED_TRACE(k);
    const Frame f(p, k);
    const TRect b = f.SolidBox();
    ASSERT_GT(b.Top, 0);
    auto width = [&](int y) {
      int w = 0;
      for (int x = 0; x < f.W(); ++x) w += f.Solid(x, y);
      return w;
    };
    int widest = 0;
    for (int y = b.Top; y < b.Top + 100; ++y) widest = std::max(widest, width(y));
    EXPECT_LT(width(b.Top + 3), 0.5 * widest);
  }
}

// The screens' titles stand at one size; both dialogs ask in letters of one size.
TEST_F(RedrawnArt, TitlesAndQuestionsMatchInSize) {
  auto inkHeight = [&](const char* name) { return Frame(Pic(name), 0).SolidBox().Height(); };
  EXPECT_NEAR(inkHeight("HighScore_Word"), inkHeight("Options_Word"), 0.1 * inkHeight("Options_Word"));
  // "Really quit?" and "Clear all scores?" both reach from capitals to descenders
  // only in the first: compare the letters' cap height through the first capital.
  auto capHeight = [&](const char* name) {
    const Frame f(Pic(name), 0);
    const TRect b = f.SolidBox();
    for (int x = b.Left; x < b.Right; ++x) {
      int top = -1, bottom = -1;
      for (int y = 0; y < f.H(); ++y)
        if (f.Solid(x, y)) bottom = y, top = top < 0 ? y : top;
      if (bottom - top > 20) return bottom - top;  // the first tall stroke
    }
    return 0;
  };
  EXPECT_NEAR(capHeight("Exit_Main_Word"), capHeight("HighScore_Clear_Word"), 3);
}

}  // namespace
}  // namespace pondaro
