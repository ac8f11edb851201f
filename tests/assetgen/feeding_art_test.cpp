// The feeding stage's pictures as the build generates them: the sizes and shapes
// that the game's positions and the pixel-exact catch rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "desktop/sdl_picture.h"
#include "sprites/image_list.h"

namespace pondaro::test {
namespace {

class FeedingArt : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    images_ = new TPictureCollection;
    SdlPictureDecoder decoder;
    images_->LoadFromFile(std::string(PONDARO_GAME_DIR) + "/Data/Graphic.dxg", decoder);
  }
  static void TearDownTestSuite() {
    delete images_;
    images_ = nullptr;
  }
  static const TPictureCollectionItem& Get(const std::string& name) { return images_->Find(name); }
  static int Alpha(const TPictureCollectionItem& p, int frame, int x, int y) {
    const TRect r = p.FrameRectOf(frame);
    return p.Picture.AlphaAt(r.Left + x, r.Top + y);
  }
  static bool Opaque(const TPictureCollectionItem& p, int frame, int x, int y) { return Alpha(p, frame, x, y) >= 128; }
  static int CountOpaque(const TPictureCollectionItem& p, int frame, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += Opaque(p, frame, x, y);
    return n;
  }
  // Nothing cut off: the outermost rows and columns are clear.
  static bool ClearBorder(const TPictureCollectionItem& p, int frame, bool bottomToo = true) {
    const int w = p.FrameWidth(), h = p.FrameHeight();
    for (int x = 0; x < w; ++x)
      if (Alpha(p, frame, x, 0) > 16 || (bottomToo && Alpha(p, frame, x, h - 1) > 16)) return false;
    for (int y = 0; y < h; ++y)
      if (Alpha(p, frame, 0, y) > 16 || Alpha(p, frame, w - 1, y) > 16) return false;
    return true;
  }
  // Whether two frames placed at these screen positions share an opaque pixel.
  static bool Touch(const TPictureCollectionItem& a, int fa, int ax, int ay, const TPictureCollectionItem& b, int fb,
                    int bx, int by) {
    for (int y = 0; y < a.FrameHeight(); ++y)
      for (int x = 0; x < a.FrameWidth(); ++x) {
        const int u = ax + x - bx, v = ay + y - by;
        if (u >= 0 && v >= 0 && u < b.FrameWidth() && v < b.FrameHeight() && Opaque(a, fa, x, y) && Opaque(b, fb, u, v))
          return true;
      }
    return false;
  }
  static TPictureCollection* images_;
};
TPictureCollection* FeedingArt::images_ = nullptr;

TEST_F(FeedingArt, FrogHidesTheTonguesRootUnderItsHeadAndSitsOnTheBottomEdge) {
  const auto& frog = Get("frogeat");
  ASSERT_EQ(frog.FrameCount(), 4);
  const int w = frog.FrameWidth(), h = frog.FrameHeight();
  EXPECT_NEAR(w, 140, 20);
  EXPECT_NEAR(h, 200, 20);
  const int lift[4] = {0, 25, 65, 65};
  for (int f = 0; f < 4; ++f) {
    const int mouthY = h - 100 - lift[f];
    EXPECT_TRUE(Opaque(frog, f, 70, mouthY)) << "frame " << f << ": the root must lie under the head";
    EXPECT_EQ(CountOpaque(frog, f, 66, std::max(0, mouthY - 40), 74, mouthY - 22), 0)
        << "frame " << f << ": the tongue leaves the head";
    EXPECT_TRUE(ClearBorder(frog, f, false)) << "frame " << f;
  }
  EXPECT_GT(CountOpaque(frog, 0, 0, h - 10, w, h), 40) << "sitting on the bottom edge";
}

TEST_F(FeedingArt, TongueBodyStretchesCleanlyAndTheTipIsARoundSolidPad) {
  const auto& body = Get("iazik");
  EXPECT_GE(body.FrameWidth(), 3);
  EXPECT_LE(body.FrameWidth(), 6);
  EXPECT_NEAR(body.FrameHeight(), 30, 6);
  for (int y = 1; y < body.FrameHeight(); ++y)
    for (int x = 0; x < body.FrameWidth(); ++x)
      ASSERT_EQ(Alpha(body, 0, x, y), Alpha(body, 0, x, 0)) << "every row alike, so stretching keeps it clean";
  const uint8_t* mid = &body.Picture.Rgba[(body.FrameWidth() / 2) * 4];
  EXPECT_EQ(mid[3], 255);
  EXPECT_GT(mid[0], mid[1] + 60) << "pink-red";

  const auto& tip = Get("konec_iazika");
  const int w = tip.FrameWidth(), h = tip.FrameHeight();
  EXPECT_GE(w, 12);
  EXPECT_LE(w, 18);
  EXPECT_GE(h, 12);
  EXPECT_LE(h, 18);
  EXPECT_GT(w, body.FrameWidth() * 2);
  EXPECT_TRUE(Opaque(tip, 0, w / 2, h / 2));
  EXPECT_GT(CountOpaque(tip, 0, 0, 0, w, h), w * h / 2);
  EXPECT_FALSE(Opaque(tip, 0, 0, 0));
  EXPECT_FALSE(Opaque(tip, 0, w - 1, 0));
}

TEST_F(FeedingArt, InsectsAreMirroredPairsWithBeatingWingsAndSolidBodiesFromMidgeToBee) {
  struct Insect {
    const char* name;
    int minFrames, maxWidth, minWidth;
  };
  const Insect insects[] = {
      {"mushka", 2, 34, 20}, {"muha", 2, 52, 26}, {"komar", 3, 52, 26}, {"vodomerka", 2, 56, 30}, {"pchel", 2, 56, 40}};
  int previousArea = 0;
  for (const Insect& in : insects) {
    const auto& left = Get(in.name);
    const auto& right = Get(std::string(in.name) + "_");
    const int w = left.FrameWidth(), h = left.FrameHeight(), n = left.FrameCount();
    ASSERT_EQ(right.FrameWidth(), w) << in.name;
    ASSERT_EQ(right.FrameHeight(), h) << in.name;
    ASSERT_EQ(right.FrameCount(), n) << in.name;
    EXPECT_GE(n, in.minFrames) << in.name;
    EXPECT_LE(n, 4) << in.name;
    EXPECT_LE(h, 60) << in.name;
    EXPECT_GE(w, in.minWidth) << in.name;
    EXPECT_LE(w, in.maxWidth) << in.name;
    EXPECT_GE(w * h, previousArea) << in.name << " is no smaller than the one before";
    previousArea = w * h;
    for (int f = 0; f < n; ++f) {
      int mismatched = 0, translucent = 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          mismatched += std::abs(Alpha(left, f, x, y) - Alpha(right, f, w - 1 - x, y)) > 24;
          const int a = Alpha(left, f, x, y);
          translucent += a > 30 && a < 200;
        }
      EXPECT_LE(mismatched, w * h / 100) << in.name << " frame " << f << " mirrored";
      EXPECT_GT(CountOpaque(left, f, 0, 0, w, h), w * h / 8) << in.name << " frame " << f;
      EXPECT_GT(translucent, 15) << in.name << " frame " << f << ": see-through wings";
      EXPECT_TRUE(ClearBorder(left, f)) << in.name << " frame " << f;
      int changed = 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) changed += Alpha(left, f, x, y) != Alpha(left, (f + 1) % n, x, y);
      EXPECT_GT(changed, 20) << in.name << " frames " << f << " and " << (f + 1) % n << " differ";
    }
  }
}

TEST_F(FeedingArt, StorkTurnsOnItsStepReachesTheFrogOnlyAtTheBottomAndItsLegStandsEitherSide) {
  const auto& stork = Get("aist");
  const int w = stork.FrameWidth(), h = stork.FrameHeight();
  EXPECT_EQ(h, 570);
  EXPECT_EQ(h % 30, 0);
  EXPECT_GE(w, 150);
  EXPECT_LE(w, 260);
  EXPECT_GE(stork.FrameCount(), 2);
  const auto& frog = Get("frogeat");
  // The frog at the start of the stage; the stork straight over it.
  const int frogX = 400 - frog.FrameWidth() / 2, frogY = 600 - frog.FrameHeight(), storkX = 400 - w / 2;
  for (int f = 0; f < stork.FrameCount(); ++f) {
    EXPECT_GT(CountOpaque(stork, f, w / 3, h - 4, w - w / 3, h), 0) << "the beak at the bottom, frame " << f;
    EXPECT_TRUE(Touch(stork, f, storkX, -30, frog, 0, frogX, frogY)) << "frame " << f;
    EXPECT_FALSE(Touch(stork, f, storkX, -150, frog, 0, frogX, frogY)) << "frame " << f;
  }

  const auto& leg = Get("aist_leng");
  const int lw = leg.FrameWidth(), lh = leg.FrameHeight();
  EXPECT_GE(lh, 600);
  EXPECT_LE(lw, 60);
  int mismatched = 0;
  for (int y = 0; y < lh; ++y)
    for (int x = 0; x < lw; ++x) mismatched += std::abs(Alpha(leg, 0, x, y) - Alpha(leg, 0, lw - 1 - x, y)) > 24;
  EXPECT_LE(mismatched, lw * lh / 200) << "the same picture stands at both edges";
  EXPECT_GT(CountOpaque(leg, 0, 0, lh - 6, lw, lh), 0) << "standing on the bottom edge at rest";
  EXPECT_GT(CountOpaque(leg, 0, 0, 30, lw, 40), 0) << "reaching up out of the screen";
}

}  // namespace
}  // namespace pondaro::test
