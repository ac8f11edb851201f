// Drawing only what changed, seen from the display behind it: which areas a frame
// sends and which calls are drawn again there. (Whether the pictures come out
// the same is the frame identity test's, tests/desktop/frame_identity_test.cpp.)
#include "sprites/dirty_display.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <utility>

#include "platform/recording_display.h"

namespace pondaro {
namespace {

using test::DrawCall;
using test::RecordingDisplay;

constexpr TRect kScreen{0, 0, 800, 600};
constexpr Color kBlack{0, 0, 0, 255};

TEST(DirtyRects, FewDisjointRectanglesCoverAllThatWasAdded) {
  std::mt19937 rng(7);
  const TRect screen{0, 0, 200, 150};
  for (int trial = 0; trial < 200; ++trial) {
    TDirtyRects areas(screen);
    std::vector<TRect> added;
    const int n = 1 + static_cast<int>(rng() % 30);
    for (int i = 0; i < n; ++i) {
      const int x = static_cast<int>(rng() % 240) - 20, y = static_cast<int>(rng() % 190) - 20;
      added.push_back(Bounds(x, y, 1 + static_cast<int>(rng() % 60), 1 + static_cast<int>(rng() % 60)));
      areas.Add(added.back());
    }
    const auto& rects = areas.Rects();
    ASSERT_LE(rects.size(), static_cast<size_t>(TDirtyRects::kMaxRects));
    for (size_t a = 0; a < rects.size(); ++a) {
      EXPECT_EQ(Intersection(rects[a], screen), rects[a]) << "trial " << trial;
      for (size_t b = a + 1; b < rects.size(); ++b) EXPECT_FALSE(OverlapRect(rects[a], rects[b])) << "trial " << trial;
    }
    for (const TRect& r : added)
      for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, 150); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, 200); ++x)
          ASSERT_TRUE(areas.Holds(Bounds(x, y, 1, 1))) << "trial " << trial << ": (" << x << ", " << y << ")";
  }
}

// Gives the number of the last picture destroyed to the next one, as SDL's display does.
struct ReusingDisplay : RecordingDisplay {
  TextureId freed = 0;
  TextureId CreateTexture(const Pixels& p, bool isOpaque) override {
    if (freed == 0) return RecordingDisplay::CreateTexture(p, isOpaque);
    textures[freed] = p;
    opaque[freed] = isOpaque;
    return std::exchange(freed, 0);
  }
  void DestroyTexture(TextureId id) override {
    RecordingDisplay::DestroyTexture(id);
    freed = id;
  }
};

class DirtyDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    real.updates = FrameUpdates::Areas;
    backdrop = dirty.CreateTexture(Pixels{800, 600, std::vector<uint8_t>(800 * 600 * 4, 255)}, true);
    ball = dirty.CreateTexture(Pixels{20, 20, std::vector<uint8_t>(20 * 20 * 4, 128)}, false);
  }
  // One frame: the backdrop, what `draw` adds, a text; what reached the real display.
  std::vector<DrawCall> Frame(const std::function<void()>& draw, const std::string& text = "Score 1") {
    real.calls.clear();
    dirty.BeginFrame();
    dirty.Fill(kBlack);
    dirty.Draw(backdrop, Bounds(0, 0, 800, 600), 0, 0);
    draw();
    dirty.DrawText(10, 10, text, 20, Color{255, 255, 0, 255});
    dirty.EndFrame();
    return real.calls;
  }
  void Ball(int x, int y) { dirty.Draw(ball, Bounds(0, 0, 20, 20), x, y); }

  ReusingDisplay real;
  TDirtyDisplay dirty{real};
  TextureId backdrop = 0, ball = 0;
};

TEST_F(DirtyDisplayTest, OnlyWhatChangedIsDrawnAgainAndAStillFrameNotAtAll) {
  EXPECT_EQ(Frame([&] { Ball(100, 100); }).size(), 4u);
  EXPECT_EQ(dirty.Sent(), std::vector<TRect>{kScreen}) << "the first frame is drawn whole";
  const int frames = real.frames;

  EXPECT_TRUE(Frame([&] { Ball(100, 100); }).empty());
  EXPECT_TRUE(dirty.Sent().empty());
  EXPECT_EQ(real.frames, frames) << "a frame that changed nothing is not shown";

  // The ball moves: its old and new places, with what lies under them, in order.
  const auto calls = Frame([&] { Ball(110, 100); });
  EXPECT_EQ(dirty.Sent(), std::vector<TRect>{Bounds(100, 100, 30, 20)});
  EXPECT_EQ(real.clip, TRect{}) << "the limit is lifted at the end";
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].kind, DrawCall::Fill);
  EXPECT_EQ(calls[1].texture, backdrop);
  EXPECT_EQ(calls[2].dst, Bounds(110, 100, 20, 20));

  // A new text: its area and nothing else.
  EXPECT_EQ(Frame([&] { Ball(110, 100); }, "Score 25").back().text, "Score 25");
  EXPECT_EQ(dirty.Sent(), std::vector<TRect>{Bounds(10, 10, 8 * 10, 20)});

  // Two balls trading depth: the area where the one now on top lies.
  Frame([&] { Ball(300, 300), Ball(310, 305); }, "Score 25");
  Frame([&] { Ball(310, 305), Ball(300, 300); }, "Score 25");
  EXPECT_EQ(dirty.Sent(), std::vector<TRect>{Bounds(300, 300, 20, 20)});
}

TEST_F(DirtyDisplayTest, AScaledPictureCrossingAnAreaIsDrawnWhole) {
  const auto big = [&] { dirty.DrawStretched(ball, Bounds(0, 0, 20, 20), Bounds(300, 300, 100, 100), 255); };
  Frame([&] { big(), Ball(350, 350); });
  Frame([&] { big(), Ball(352, 350); });
  EXPECT_EQ(dirty.Sent(), std::vector<TRect>{Bounds(300, 300, 100, 100)});
  // Away from it, it is not drawn again.
  Frame([&] { big(), Ball(352, 350), Ball(600, 50); });
  EXPECT_EQ(dirty.Sent(), std::vector<TRect>{Bounds(600, 50, 20, 20)});
}

TEST_F(DirtyDisplayTest, APictureUploadedAgainUnderItsNumberIsDrawnAgain) {
  Frame([&] { Ball(100, 100); });
  dirty.DestroyTexture(ball);
  ASSERT_EQ(dirty.CreateTexture(Pixels{20, 20, std::vector<uint8_t>(20 * 20 * 4, 7)}, false), ball);
  Frame([&] { Ball(100, 100); });
  EXPECT_EQ(dirty.Sent(), std::vector<TRect>{Bounds(100, 100, 20, 20)});
}

TEST_F(DirtyDisplayTest, DisplaysThatTakeWholeFramesGetThem) {
  Frame([&] { Ball(100, 100); });
  real.updates = FrameUpdates::Whole;  // a GPU: changed frames whole, still ones not at all
  EXPECT_TRUE(Frame([&] { Ball(100, 100); }).empty());
  EXPECT_EQ(Frame([&] { Ball(101, 100); }).size(), 4u);
  EXPECT_EQ(dirty.Sent(), std::vector<TRect>{kScreen});
  real.updates = FrameUpdates::Every;  // every frame whole (PONDARO_FULL_REDRAW)
  EXPECT_EQ(Frame([&] { Ball(101, 100); }).size(), 4u);

  // A draw that went past the frames leaves the picture unknown: the next is whole.
  real.updates = FrameUpdates::Areas;
  dirty.Draw(ball, Bounds(0, 0, 20, 20), 500, 500);
  EXPECT_EQ(real.calls.back().dst, Bounds(500, 500, 20, 20));
  EXPECT_EQ(Frame([&] { Ball(101, 100); }).size(), 4u);
  EXPECT_EQ(dirty.Sent(), std::vector<TRect>{kScreen});
}

}  // namespace
}  // namespace pondaro
