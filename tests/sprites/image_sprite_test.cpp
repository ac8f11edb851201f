#include "sprites/image_sprite.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/recording_display.h"

namespace pondaro {
namespace {

using test::DrawCall;

Pixels Picture(int w, int h, const std::function<uint8_t(int, int)>& alpha) {
  Pixels p{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 4, 200)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.Rgba[(static_cast<size_t>(y) * w + x) * 4 + 3] = alpha(x, y);
  return p;
}

class ImageSpriteTest : public ::testing::Test {
 protected:
  void SetUp() override { root.SetSurface(&display); }
  void Prepare(TPictureCollectionItem& item, Pixels picture, int pw, int ph) {
    item.Picture = std::move(picture);
    item.PatternWidth = pw;
    item.PatternHeight = ph;
    item.Texture = display.CreateTexture(item.Picture, false);
  }
  TImageSprite* Sprite(TPictureCollectionItem& item, int x, int y, int w, int h) {
    auto* s = new TImageSprite(&root);
    s->Image = &item;
    s->X = x;
    s->Y = y;
    s->Width = w;
    s->Height = h;
    return s;
  }
  test::RecordingDisplay display;
  TSpriteEngine root;
};

TEST_F(ImageSpriteTest, AnimationStopsOnItsLastFrameOrWraps) {
  TImageSprite s(nullptr);
  s.FrameCount = 4;
  s.FrameSpeed = 0.1;
  std::vector<int> frames;
  for (int i = 0; i < 4; ++i) {
    s.Advance(16);
    frames.push_back(s.CurrentFrame());
  }
  EXPECT_EQ(frames, (std::vector<int>{1, 3, 3, 3}));
  EXPECT_DOUBLE_EQ(s.FramePos, 3);
  EXPECT_EQ(s.FrameSpeed, 0);

  s.FramePos = 1;  // running backwards stops on frame 0
  s.FrameSpeed = -0.1;
  s.Advance(16);
  EXPECT_EQ(s.FramePos, 0);
  EXPECT_EQ(s.FrameSpeed, 0);

  s.FrameLooped = true;
  s.FramePos = 3.5;
  s.FrameSpeed = 1.0 / 16;
  s.Advance(16);
  EXPECT_DOUBLE_EQ(s.FramePos, 0.5);
  s.FrameSpeed = -1.0 / 16;  // backwards wraps to the end
  s.Advance(16);
  EXPECT_DOUBLE_EQ(s.FramePos, 3.5);
  EXPECT_DOUBLE_EQ(s.FrameSpeed, -1.0 / 16);

  s.FrameCount = 0;
  s.Advance(16);
  EXPECT_EQ(s.FramePos, 0);
  s.FrameLooped = false;
  s.FramePos = 2;
  s.FrameSpeed = 0.5;
  s.Advance(16);
  EXPECT_EQ(s.FramePos, 0);
  EXPECT_EQ(s.FrameSpeed, 0);
}

TEST_F(ImageSpriteTest, PaintStretchesBlendsAndRotatesTheCurrentFrame) {
  TPictureCollectionItem item;
  Prepare(item, Picture(40, 20, [](int, int) { return 255; }), 20, 10);
  auto* s = Sprite(item, 0, 0, 30, 16);
  s->X = 10.7;
  s->Y = -3.2;
  s->FrameCount = 4;
  s->FramePos = 2.9;
  s->FirstFrame = 1;  // frame 3: bottom right
  root.Draw();
  s->Alpha = 100;
  root.Draw();
  s->Angle = 64;
  s->Y = -20;  // centre y = (-20 + -5) div 2, truncated
  s->Height = 15;
  s->Paint();
  s->Alpha = 300;
  s->Paint();
  s->FirstFrame = 2;  // frame 4 does not exist: nothing drawn
  s->Paint();

  const auto& c = display.calls;
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[0].kind, DrawCall::Stretched);
  EXPECT_EQ(c[0].src, Bounds(20, 10, 20, 10));
  EXPECT_EQ(c[0].dst, Bounds(10, -3, 30, 16));
  EXPECT_EQ(c[0].alpha, 255);
  EXPECT_EQ(c[1].kind, DrawCall::Stretched);
  EXPECT_EQ(c[1].alpha, 100);
  EXPECT_EQ(c[2].kind, DrawCall::Rotated);
  EXPECT_EQ(c[2].src, Bounds(20, 10, 20, 10));
  EXPECT_EQ(c[2].cx, 25);
  EXPECT_EQ(c[2].cy, -12);
  EXPECT_EQ(c[2].w, 30);
  EXPECT_EQ(c[2].h, 15);
  EXPECT_EQ(c[2].angle, 64);
  EXPECT_EQ(c[2].alpha, 100);
  EXPECT_EQ(c[3].alpha, 255);
}

TEST_F(ImageSpriteTest, TiledBoxWrapsAroundTheSurface) {
  TPictureCollectionItem item;
  auto* s = Sprite(item, 830, 610, 40, 20);
  EXPECT_EQ(s->BoxRect(), Bounds(830, 610, 40, 20));
  s->Tile = true;
  EXPECT_EQ(s->BoxRect(), Bounds(-10, -10, 40, 20));
  s->X = -50;
  s->Y = 600;  // exactly on the edge stays
  EXPECT_EQ(s->BoxRect(), Bounds(790, 600, 40, 20));
  s->X = -900;  // more than a whole period out
  EXPECT_EQ(s->BoxRect().Left, 780);
}

class PixelExactTest : public ImageSpriteTest {
 protected:
  void SetUp() override {
    ImageSpriteTest::SetUp();
    // 10 x 10 with transparent 3 x 3 corners; half-transparent (127) top row edge.
    Prepare(ring, Picture(10, 10,
                          [](int x, int y) -> uint8_t {
                            const bool cx = x < 3 || x > 6, cy = y < 3 || y > 6;
                            if (cx && cy) return 0;
                            return y == 0 ? 127 : 128;
                          }),
            0, 0);
    Prepare(dot, Picture(4, 4, [](int, int) { return 255; }), 0, 0);
    // Two frames of 4 x 4: the first opaque, the second clear.
    Prepare(strip, Picture(8, 4, [](int x, int) { return x < 4 ? 255 : 0; }), 4, 4);
    a = Sprite(ring, 0, 0, 20, 20);  // frame centred: pixels at (5, 5) - (15, 15)
    a->PixelExact = true;
  }
  TPictureCollectionItem ring, dot, strip;
  TImageSprite* a = nullptr;
};

TEST_F(PixelExactTest, OnlyOpaquePixelsCollide) {
  auto* b = Sprite(dot, 1, 1, 4, 4);  // boxes overlap, frames only touch
  EXPECT_EQ(a->Collision(), 0);
  b->X = b->Y = 4;  // covers the ring's (0..2, 0..2): its transparent corner
  EXPECT_EQ(a->Collision(), 0);
  b->X = 5;
  b->Y = 3;  // rows 0..1 at columns 0..3: (3, 1) has alpha 128
  EXPECT_EQ(a->Collision(), 1);
  b->X = 12;
  b->Y = 3;  // rows 0..1 at columns 7..9: the other corner
  EXPECT_EQ(a->Collision(), 0);
  b->X = 8;
  b->Y = 2;  // only row 0 (alpha 127) at columns 3..6
  EXPECT_EQ(a->Collision(), 0);

  // The test runs when either side asks for it.
  b->X = b->Y = 4;
  a->PixelExact = false;
  EXPECT_EQ(a->Collision(), 1);
  b->PixelExact = true;
  EXPECT_EQ(b->Collision(), 0);
  EXPECT_EQ(a->Collision(), 0);
}

TEST_F(PixelExactTest, UsesTheCurrentFrameAndTreatsMissingPixelsAsAHit) {
  auto* b = Sprite(strip, 8, 8, 4, 4);  // in the middle of the ring
  b->FrameCount = 2;
  EXPECT_EQ(a->Collision(), 1);
  b->FramePos = 1;
  EXPECT_EQ(a->Collision(), 0);
  strip.Picture.Rgba.clear();
  EXPECT_EQ(a->Collision(), 1);

  // Something other than a picture sprite collides on its box.
  strip.Picture = Picture(8, 4, [](int, int) { return 0; });
  auto* plain = new TSprite(&root);
  plain->Width = plain->Height = 3;
  EXPECT_EQ(a->Collision(), 1);
  EXPECT_EQ(plain->Collision(), 1);
}

}  // namespace
}  // namespace pondaro
