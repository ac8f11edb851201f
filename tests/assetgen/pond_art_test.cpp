// The crossing's pictures against the positions the game gives them: the
// generated collection is loaded as the game loads it, and every size, frame
// count and opaque or transparent region the rules depend on is checked, many
// of them by placing two pictures as the game does and running its collision
// rule (a pixel with alpha of 128 or more is solid).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "assetgen/art_frame.h"

namespace pondaro {
namespace {

// The game's collision rule for two frames whose top-left corners are at the
// given screen positions: some pixel is solid in both.
bool Touch(const Frame& a, int ax, int ay, const Frame& b, int bx, int by) {
  for (int y = std::max(ay, by); y < std::min(ay + a.H(), by + b.H()); ++y)
    for (int x = std::max(ax, bx); x < std::min(ax + a.W(), bx + b.W()); ++x)
      if (a.Solid(x - ax, y - ay) && b.Solid(x - bx, y - by)) return true;
  return false;
}

// The frog by level: its box, and where it rests on a lily whose foot is cy.
struct FrogAt {
  int w, h, restY;
};
FrogAt FrogOfLevel(int level, int cy) {
  if (level >= 5) return {78, 121, cy - 50};
  return {11 * (level - 1) + 34, 17 * (level - 1) + 53, cy - 30 - (2 * level - 2)};
}

struct SizeCase {
  const char* name;
  int minW, maxW, minH, maxH, minFrames, maxFrames;
};

TEST_F(PondArt, SizesAndFrameCounts) {
  const SizeCase cases[] = {
      {"frog", 78, 78, 121, 121, 5, 99},
      {"kuvshinka_simple_1", 1, 140, 1, 120, 4, 99},
      {"kuvshinka_simple_2", 1, 140, 1, 120, 4, 99},
      {"kuvshinka_simple_3", 1, 140, 1, 120, 4, 99},
      {"kuvshinka_hunter", 1, 140, 1, 120, 3, 99},
      {"kuvshinka_pruginka", 1, 140, 1, 120, 3, 99},
      {"kuvshinka_liapuchka", 1, 140, 1, 120, 3, 99},
      {"kuvshinka_simple", 1, 140, 1, 120, 1, 1},
      {"kroco_yes", 1, 999, 1, 85, 2, 99},
      {"kroko", 270, 330, 130, 999, 7, 9},
      {"stone", 240, 300, 140, 140, 1, 1},
      {"bg1", 800, 800, 600, 600, 1, 1},
      {"bg2", 800, 800, 600, 600, 1, 1},
      {"sample", 1, 8, 1, 8, 1, 1},
      {"dollar", 40, 48, 40, 48, 1, 1},
      {"life", 40, 48, 40, 48, 1, 1},
      {"razvod1", 150, 999, 1, 999, 4, 8},
      {"razvod2", 150, 999, 1, 999, 4, 8},
      {"razvod3", 150, 999, 1, 999, 4, 8},
      {"brizgi", 1, 999, 100, 140, 6, 8},
      {"brevno1", 1, 176, 1, 999, 1, 1},
      {"brevno2", 1, 176, 1, 999, 1, 1},
      {"energi", 1, 70, 1, 999, 3, 99},
      {"panel", 215, 245, 24, 36, 1, 1},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto& p = Pic(c.name);
    EXPECT_GE(p.FrameWidth(), c.minW);
    EXPECT_LE(p.FrameWidth(), c.maxW);
    EXPECT_GE(p.FrameHeight(), c.minH);
    EXPECT_LE(p.FrameHeight(), c.maxH);
    EXPECT_GE(p.FrameCount(), c.minFrames);
    EXPECT_LE(p.FrameCount(), c.maxFrames);
    // Frames sit in one row with nothing left over, so none is cut short.
    EXPECT_EQ(p.Width() % p.FrameWidth(), 0);
    EXPECT_EQ(p.Height(), p.FrameHeight());
  }
}

TEST_F(PondArt, FrogHeadAndHandInEveryFrame) {
  const auto& frog = Pic("frog");
  for (int n = 0; n < frog.FrameCount(); ++n) {
    SCOPED_TRACE(n);
    const Frame f(frog, n);
    EXPECT_EQ(f.SolidIn(20, 10, 58, 45), 39 * 36) << "head not solid over x 20..58, y 10..45";
    EXPECT_GT(f.SolidIn(0, 6, 22, 50), 20) << "no front hand in x 0..22, y 6..50";
  }
}

// The engine centres the 78 x 121 frame on the frog's box, whose top-left is
// the frog's (X, Y); the stone and the bonuses use their frame as their box.
TEST_F(PondArt, FrogAtRestTouchesStoneAndBonusesAtEveryLevel) {
  const auto& frog = Pic("frog");
  const Frame stone(Pic("stone"), 0), coin(Pic("dollar"), 0), heart(Pic("life"), 0);
  const int cy = 575;
  for (int level = 1; level <= 5; ++level)
    for (int n = 0; n < frog.FrameCount(); ++n) {
      SCOPED_TRACE("level " + std::to_string(level) + " frame " + std::to_string(n));
      const FrogAt fa = FrogOfLevel(level, cy);
      const Frame f(frog, n);
      for (int cx : {170, 470}) {
        const int fx = cx + (fa.w - f.W()) / 2, fy = fa.restY + (fa.h - f.H()) / 2;
        if (cx == 170) EXPECT_TRUE(Touch(f, fx, fy, stone, 0, cy - stone.H())) << "misses the stone";
        EXPECT_TRUE(Touch(f, fx, fy, coin, cx - coin.W() / 2, cy - coin.H())) << "misses the coin";
        EXPECT_TRUE(Touch(f, fx, fy, heart, cx - heart.W() / 2, cy - heart.H())) << "misses the life";
      }
    }
}

TEST_F(PondArt, StoneIsSolidWhereTheFrogArrivesAndClearAbove) {
  const Frame s(Pic("stone"), 0);
  EXPECT_EQ(s.SolidIn(150, 90, 250, 139), 101 * 50);
  for (int y = 0; y <= 67; ++y)
    for (int x = 0; x < s.W(); ++x) ASSERT_EQ(s.A(x, y), 0) << "at " << x << "," << y;
}

// Every lily at rest stands on its frame's bottom edge, centred; the kinds that
// play once come back to rest; a simple lily sinks; the hunter closes.
TEST_F(PondArt, LiliesStandOnTheCellAndAnimateAsTheirKind) {
  for (const char* name : {"kuvshinka_simple_1", "kuvshinka_simple_2", "kuvshinka_simple_3", "kuvshinka_hunter",
                           "kuvshinka_pruginka", "kuvshinka_liapuchka", "kuvshinka_simple"}) {
    SCOPED_TRACE(name);
    const Frame rest(Pic(name), 0);
    const TRect b = rest.SolidBox();
    EXPECT_GE(b.Bottom, rest.H() - 6);
    EXPECT_NEAR((b.Left + b.Right) / 2.0, rest.W() / 2.0, 3);
  }
  for (const char* name : {"kuvshinka_simple_1", "kuvshinka_simple_2", "kuvshinka_simple_3"}) {
    SCOPED_TRACE(name);
    const auto& p = Pic(name);
    const int n = p.FrameCount();
    // Share of the leaf at rest that still looks as it did: the rest of it is
    // under water (tinted, blurred or gone).
    const Frame rest(p, 0);
    auto dry = [&](int k) {
      const Frame f(p, k);
      int leaf = 0, same = 0;
      for (int y = 0; y < f.H(); ++y)
        for (int x = 0; x < f.W(); ++x) {
          if (!rest.Solid(x, y)) continue;
          ++leaf;
          bool close = true;
          for (int c = 0; c < 4; ++c) close = close && std::abs(f.Px(x, y)[c] - rest.Px(x, y)[c]) <= 24;
          same += close;
        }
      return static_cast<double>(same) / leaf;
    };
    EXPECT_GT(dry(1), 0.8) << "frame 1 must still be afloat";
    for (int k = 2; k < n; ++k) EXPECT_LT(dry(k), 0.6) << "frame " << k << " must be clearly sinking";
    EXPECT_LT(dry(n - 2), 0.1) << "under water";
    EXPECT_LT(dry(n - 1), 0.1) << "under water";
  }
  for (const char* name : {"kuvshinka_pruginka", "kuvshinka_liapuchka"}) {
    SCOPED_TRACE(name);
    const auto& p = Pic(name);
    const Frame first(p, 0), last(p, p.FrameCount() - 1);
    for (int y = 0; y < first.H(); ++y)
      for (int x = 0; x < first.W(); ++x) ASSERT_EQ(std::memcmp(first.Px(x, y), last.Px(x, y), 4), 0);
  }
  const auto& hunter = Pic("kuvshinka_hunter");
  EXPECT_LT(Frame(hunter, hunter.FrameCount() - 1).SolidBox().Width(), 0.6 * Frame(hunter, 0).SolidBox().Width());
}

TEST_F(PondArt, SimpleLilyVariantsDiffer) {
  const char* names[] = {"kuvshinka_simple_1", "kuvshinka_simple_2", "kuvshinka_simple_3"};
  for (int i = 0; i < 3; ++i)
    for (int j = i + 1; j < 3; ++j) {
      const Frame a(Pic(names[i]), 0), b(Pic(names[j]), 0);
      double diff = 0;
      for (int y = 0; y < a.H(); ++y)
        for (int x = 0; x < a.W(); ++x)
          for (int c = 0; c < 4; ++c) diff += std::abs(a.Px(x, y)[c] - b.Px(x, y)[c]);
      EXPECT_GT(diff / (a.W() * a.H()), 20) << names[i] << " and " << names[j] << " look alike";
    }
}

// Tiled backdrops join without a seam: the step across each edge is no larger
// than the steps between the rows and columns beside it.
TEST_F(PondArt, BackdropsAreSeamless) {
  for (const char* name : {"bg1", "bg2"}) {
    SCOPED_TRACE(name);
    const Frame f(Pic(name), 0);
    auto colStep = [&](int x0) {
      const int x1 = (x0 + 1) % f.W();
      double d = 0;
      for (int y = 0; y < f.H(); ++y)
        for (int c = 0; c < 3; ++c) d += std::abs(f.Px(x0, y)[c] - f.Px(x1, y)[c]);
      return d / f.H();
    };
    auto rowStep = [&](int y0) {
      const int y1 = (y0 + 1) % f.H();
      double d = 0;
      for (int x = 0; x < f.W(); ++x)
        for (int c = 0; c < 3; ++c) d += std::abs(f.Px(x, y0)[c] - f.Px(x, y1)[c]);
      return d / f.W();
    };
    double besideX = 0, besideY = 0;
    for (int k : {-4, -3, -2, 1, 2, 3}) {
      besideX = std::max(besideX, colStep((f.W() - 1 + k) % f.W()));
      besideY = std::max(besideY, rowStep((f.H() - 1 + k) % f.H()));
    }
    EXPECT_LE(colStep(f.W() - 1), 1.5 * besideX + 1);
    EXPECT_LE(rowStep(f.H() - 1), 1.5 * besideY + 1);
  }
}

// The feeding stage's insects are dark and its tongue pink-red: its backdrop is
// light and never reddish.
TEST_F(PondArt, FeedingBackdropIsLightAndCool) {
  const Frame f(Pic("bg2"), 0);
  int dark = 0, reddish = 0;
  for (int y = 0; y < f.H(); ++y)
    for (int x = 0; x < f.W(); ++x) {
      const uint8_t* p = f.Px(x, y);
      dark += 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2] < 140;
      reddish += p[0] > p[1];
    }
  EXPECT_LT(dark, f.W() * f.H() / 50);
  EXPECT_EQ(reddish, 0);
}

TEST_F(PondArt, SampleIsInvisible) {
  const Frame f(Pic("sample"), 0);
  EXPECT_EQ(f.AlphaSum(), 0);
}

// The game puts the ring's centre about 60 px above the frame's bottom, on the
// cell's centre; the rings, whole in every frame, are centred there.
TEST_F(PondArt, RipplesCentreWhereTheGameExpects) {
  for (const char* name : {"razvod1", "razvod2", "razvod3"}) {
    const auto& p = Pic(name);
    for (int n = 0; n < p.FrameCount(); ++n) {
      SCOPED_TRACE(std::string(name) + " frame " + std::to_string(n));
      const Frame f(p, n);
      TRect b{f.W(), f.H(), -1, -1};
      for (int y = 0; y < f.H(); ++y)
        for (int x = 0; x < f.W(); ++x)
          if (f.A(x, y) >= 16) b = {std::min(b.Left, x), std::min(b.Top, y), std::max(b.Right, x + 1), std::max(b.Bottom, y + 1)};
      ASSERT_GT(b.Right, b.Left);
      EXPECT_GT(b.Top, 0);
      EXPECT_LT(b.Bottom, f.H());
      EXPECT_NEAR((b.Left + b.Right) / 2.0, f.W() / 2.0, 2);
      EXPECT_NEAR((b.Top + b.Bottom) / 2.0, f.H() - 60, 3);
    }
  }
}

// Goo placed as the game places it, beside a sticky lily in the bottom row:
// it starts on the leaf, and its far end lies under the strained frog at every
// level, at most a little beyond a small frog's nose.
TEST_F(PondArt, GooRunsFromTheLeafToTheStrainedFrog) {
  const Frame lily(Pic("kuvshinka_liapuchka"), 0);
  const int cx = 320, cy = 575, lilyX = cx - lily.W() / 2, lilyY = cy - lily.H();
  struct Case {
    const char* name;
    int facing;  // 0 left, 1 right, 2 forward
  };
  for (const Case c : {Case{"liapuchka_l", 0}, {"liapuchka_p", 1}, {"liapuchka_c", 2}}) {
    const Frame g(Pic(c.name), 0);
    const int gx = c.facing == 0 ? lilyX + 80 - g.W() : lilyX;
    const int gy = c.facing == 2 ? lilyY + 62 - g.H() : lilyY;
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(Touch(g, gx, gy, lily, lilyX, lilyY)) << "not on the leaf";
    const TRect b = g.SolidBox();
    const int farEnd = c.facing == 0 ? gx + b.Left : c.facing == 1 ? gx + b.Right : gy + b.Top;
    for (int level = 1; level <= 5; ++level) {
      SCOPED_TRACE(level);
      const FrogAt fa = FrogOfLevel(level, cy);
      // The frog's picture is centred on its (X, Y), turned to face its way.
      if (c.facing == 0) {
        const double x = cx - 38 - fa.h;
        EXPECT_LE(farEnd, x + fa.h / 2.0 - 2);
        EXPECT_GE(farEnd, x - fa.h / 2.0 - 10);
      } else if (c.facing == 1) {
        const double x = cx + 25 + fa.h;
        EXPECT_GE(farEnd, x - fa.h / 2.0 + 2);
        EXPECT_LE(farEnd, x + fa.h / 2.0 + 10);
      } else {
        const double y = fa.restY - 18 - fa.h;
        EXPECT_LE(farEnd, y + fa.h / 2.0 - 2);
        EXPECT_GE(farEnd, y - fa.h / 2.0 - 10);
      }
    }
  }
}

// The strike's jaws (the snout points left, to the frog, from where the eyes
// waited) are open in some frame and shut again by frame n - 2 (the game ends
// the strike when the frame index rounds to n - 1); frame 0 shows the whole
// crocodile, nothing of it cut off by the frame.
TEST_F(PondArt, CrocodileBitesBeforeItsLastFrameAndStartsWhole) {
  const auto& p = Pic("kroko");
  const int n = p.FrameCount();
  auto jawSpan = [&](int k) {  // solid height of the snout's column, near its tip
    const Frame f(p, k);
    const int x = f.W() / 5;
    int top = f.H(), bottom = -1;
    for (int y = 0; y < f.H(); ++y)
      if (f.Solid(x, y)) top = std::min(top, y), bottom = std::max(bottom, y);
    return bottom - top;
  };
  const int shut = jawSpan(0);
  int widest = 0;
  for (int k = 1; k < n - 2; ++k) widest = std::max(widest, jawSpan(k));
  EXPECT_GT(widest, 2 * shut);
  EXPECT_LE(jawSpan(n - 2), shut + 4);
  EXPECT_LE(jawSpan(n - 1), shut + 4);

  const Frame first(p, 0);
  const TRect b = first.SolidBox();
  EXPECT_GT(b.Left, 0);
  EXPECT_GT(b.Top, 0);
  EXPECT_LT(b.Right, first.W());
  EXPECT_LT(b.Bottom, first.H());
  EXPECT_GT(b.Width(), 0.8 * first.W());
}

// Frame 0 is the empty bottle, each frame holds at least as much as the one
// before, and the last is full.
TEST_F(PondArt, BottleFillsFrameByFrame) {
  const auto& p = Pic("energi");
  const Frame empty(p, 0), full(p, p.FrameCount() - 1);
  int prev = -1;
  for (int k = 0; k < p.FrameCount(); ++k) {
    const int solid = Frame(p, k).SolidIn(0, 0, empty.W() - 1, empty.H() - 1);
    EXPECT_GE(solid, prev) << "frame " << k;
    prev = solid;
  }
  const int inside = full.SolidIn(0, 0, full.W() - 1, full.H() - 1) - empty.SolidIn(0, 0, empty.W() - 1, empty.H() - 1);
  EXPECT_GT(inside, full.W() * full.H() / 3);
}

// Squeezed to 60 % or 90 % of its width the plate keeps a round cap at each
// end and a solid middle from end to end.
TEST_F(PondArt, PanelEndsSurviveTheSqueeze) {
  const Frame f(Pic("panel"), 0);
  for (double k : {0.6, 0.9, 1.0}) {
    SCOPED_TRACE(k);
    const int w = static_cast<int>(f.W() * k);
    auto at = [&](int x, int y) { return f.Solid(static_cast<int>((x + 0.5) / k), y); };
    const int mid = f.H() / 2;
    EXPECT_TRUE(at(2, mid) && at(w - 3, mid));
    for (int x = 2; x < w - 2; ++x) ASSERT_TRUE(at(x, mid)) << x;
    // Round caps: the corners are clear and the ends are mirror images.
    EXPECT_FALSE(at(0, 0) || at(w - 1, 0) || at(0, f.H() - 1) || at(w - 1, f.H() - 1));
    for (int y = 0; y < f.H(); ++y) EXPECT_EQ(at(3, y), at(w - 4, y)) << y;
  }
}

}  // namespace
}  // namespace pondaro
