#include "sprites/background_sprite.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <utility>

#include "platform/recording_display.h"

namespace pondaro {
namespace {

using test::DrawCall;

class BackgroundSpriteTest : public ::testing::Test {
 protected:
  void SetUp() override { root.SetSurface(&display); }
  // Frames of w x h side by side; drawing never looks at the pixels.
  void Prepare(int frames, int w, int h) {
    item.Picture = Pixels{frames * w, h, {}};
    item.PatternWidth = w;
    item.PatternHeight = h;
    item.Texture = display.CreateTexture(item.Picture, true);
  }
  TBackgroundSprite* Backdrop(int columns, int rows, bool tile) {
    auto* b = new TBackgroundSprite(&root);
    b->Image = &item;
    b->SetMapDimensions(columns, rows);
    b->Tile = tile;
    return b;
  }
  // (left, top, frame left in the picture) of the draws that reach the surface.
  std::set<std::tuple<int, int, int>> OnSurface() const {
    std::set<std::tuple<int, int, int>> out;
    for (const auto& c : display.calls)
      if (OverlapRect(c.dst, Bounds(0, 0, 800, 600))) out.insert({c.dst.Left, c.dst.Top, c.src.Left});
    return out;
  }
  test::RecordingDisplay display;
  TPictureCollectionItem item;
  TSpriteEngine root;
};

TEST_F(BackgroundSpriteTest, TiledFrameCoversTheSurfaceWithOneRowAndColumnSpare) {
  Prepare(1, 100, 600);
  auto* b = Backdrop(1, 1, true);
  EXPECT_FALSE(b->Collides);
  EXPECT_EQ(b->BoxRect(), Bounds(0, 0, 800, 600));
  b->Y = -5;
  root.Draw();
  // cx = 10, cy = 3: columns -1..10, rows -1..3, every cell drawn 1:1.
  ASSERT_EQ(display.calls.size(), 12u * 5u);
  std::set<int> tops, lefts;
  for (const auto& c : display.calls) {
    EXPECT_EQ(c.kind, DrawCall::Plain);
    tops.insert(c.dst.Top);
    lefts.insert(c.dst.Left);
  }
  EXPECT_EQ(tops, (std::set<int>{-605, -5, 595, 1195, 1795}));
  EXPECT_EQ(*lefts.begin(), -100);
  EXPECT_EQ(*lefts.rbegin(), 1000);
  const auto atMinus5 = OnSurface();
  EXPECT_EQ(atMinus5.size(), 16u);  // rows at -5 and 595, columns 0..7

  // One frame height further down shows the same picture.
  display.calls.clear();
  b->Y = 595;
  root.Draw();
  EXPECT_EQ(OnSurface(), atMinus5);
}

TEST_F(BackgroundSpriteTest, TiledMapRepeatsCellsAndSkipsEmptyOnes) {
  Prepare(2, 100, 600);
  auto* b = Backdrop(2, 1, true);
  b->Map = {1, 0};
  b->X = -150;  // cell 0 starts at -150, cell 1 at -50, cell 0 again at 50 ...
  root.Draw();
  const auto drawn = OnSurface();
  EXPECT_TRUE(drawn.count({-50, 0, 0}));  // cell 1: frame 0
  EXPECT_TRUE(drawn.count({50, 0, 100}));  // cell 0: frame 1
  EXPECT_TRUE(drawn.count({650, 0, 100}));
  EXPECT_TRUE(drawn.count({750, 0, 0}));
  EXPECT_FALSE(drawn.count({50, 0, 0}));

  display.calls.clear();
  b->Map = {-1, 0};
  root.Draw();
  for (const auto& c : display.calls) EXPECT_EQ((c.dst.Left + 150) % 200, 100) << c.dst.Left;

  // The same down the rows: row 0 starts at -900, row 1 at -300, row 0 again at 300.
  display.calls.clear();
  b->SetMapDimensions(1, 2);
  b->Map = {1, 0};
  b->X = 0;
  b->Y = -900;
  root.Draw();
  std::set<std::pair<int, int>> rows;
  for (const auto& [left, top, src] : OnSurface()) rows.insert({top, src});
  EXPECT_EQ(rows, (std::set<std::pair<int, int>>{{-300, 0}, {300, 100}}));
}

TEST_F(BackgroundSpriteTest, UntiledMapDrawsEachCellWhereItLies) {
  Prepare(3, 100, 100);
  auto* b = Backdrop(3, 2, false);
  b->Map = {0, 1, 2, 2, -1, 0};
  b->X = -150;  // the first column lies wholly left of the surface
  b->Y = 250;
  EXPECT_EQ(b->BoxRect(), Bounds(-150, 250, 300, 200));
  root.Draw();
  std::set<std::tuple<int, int, int>> all;
  for (const auto& c : display.calls) all.insert({c.dst.Left, c.dst.Top, c.src.Left});
  EXPECT_EQ(all, (std::set<std::tuple<int, int, int>>{
                     {-50, 250, 100}, {50, 250, 200}, {50, 350, 0}}));

  display.calls.clear();
  b->Image = nullptr;
  EXPECT_EQ(b->BoxRect(), TRect{});
  b->Paint();
  EXPECT_TRUE(display.calls.empty());
}

TEST_F(BackgroundSpriteTest, MapSizingAndCells) {
  Prepare(1, 10, 10);
  auto* b = Backdrop(2, 3, false);
  EXPECT_EQ(b->Map, std::vector<int>(6, 0));
  EXPECT_EQ(b->SolidMap, std::vector<bool>(6, true));
  b->Map[5] = 7;
  b->SetMapDimensions(2, 3);  // same size keeps the cells
  EXPECT_EQ(b->CellFrame(1, 2), 7);
  EXPECT_EQ(b->CellFrame(2, 0), -1);
  EXPECT_EQ(b->CellFrame(0, -1), -1);
  EXPECT_FALSE(b->SolidAt(0, 3));
  b->SetMapDimensions(4, 0);
  EXPECT_EQ(b->MapColumns, 0);
  EXPECT_EQ(b->MapRows, 0);
  EXPECT_TRUE(b->Map.empty());
  EXPECT_EQ(b->CellFrame(0, 0), -1);
}

TEST_F(BackgroundSpriteTest, HitTestFindsSolidCellsUnderTheOtherBox) {
  Prepare(1, 10, 10);
  auto* b = Backdrop(2, 2, false);
  b->X = b->Y = 100;
  b->SolidMap = {true, false, false, false};
  auto* other = new TSprite(&root);
  other->Width = other->Height = 4;
  other->X = other->Y = 112;  // inside cell (1, 1)
  EXPECT_FALSE(b->HitTest(other));
  other->X = 108;  // straddles cells (0, 1) and (1, 1), neither solid
  EXPECT_FALSE(b->HitTest(other));
  other->Y = 107;  // now overlaps cell (0, 0)
  EXPECT_TRUE(b->HitTest(other));

  // Turned on, it takes part in queries like any sprite.
  b->Collides = true;
  EXPECT_EQ(other->Collision(), 1);
  other->Y = 112;
  EXPECT_EQ(other->Collision(), 0);
  b->Image = nullptr;  // nothing to test against: the box decides
  EXPECT_TRUE(b->HitTest(other));
}

}  // namespace
}  // namespace pondaro
