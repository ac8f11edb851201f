// The level set-up, the grid's lilies, the scroll and the crossing's end.
#include <map>

#include "game/bottle.h"
#include "game/game_fixture.h"
#include "game/lilies.h"
#include "game/scroll.h"

namespace pondaro::test {
namespace {

class Crossing : public GameTest {
 protected:
  // Cells holding more than one lily, and whether the stone's cell holds one.
  void ExpectOneLilyPerCellAndNoneAtTheStone() {
    std::map<std::pair<int, int>, int> lilies;
    form->Root().ForEach<TKuvshinka>([&](TKuvshinka* l) {
      if (!l->Dying) ++lilies[{l->Column, l->Row}];
    });
    for (auto& [cell, n] : lilies) {
      EXPECT_EQ(n, 1) << "cell " << cell.first << "," << cell.second;
      EXPECT_FALSE(cell.first == 1 && cell.second == form->Pond.StoneRow) << "a lily on the stone, row " << cell.second;
    }
  }
  // One forward jump from the frog's cell, played out until the pond is at rest
  // again (rows and positions only agree then). A lost life's banner is skipped.
  void JumpForward() {
    form->Frog.FrogFacing = 2;
    form->FireHeld = true;
    Tick();
    for (int i = 0; i < 100 && form->Scene == 3; ++i) {
      form->LevelBanner = false;
      if (!form->Pond.Scrolling && !form->Pond.AdvanceOne && !form->Pond.AdvanceTwo) break;
      Tick();
    }
  }
};

TEST_F(Crossing, TheStoneLiesTwoRowsPerLevelAhead) {
  struct {
    int level;
    int64_t row;
    double y;
  } cases[] = {{1, 2, 135}, {2, 0, -165}, {5, -6, -1065}, {1000, -1996, 135.0 - 300.0 * 999}};
  for (auto c : cases) {
    EnterPond(c.level);
    EXPECT_EQ(form->Pond.StoneRow, c.row) << c.level;
    ASSERT_NE(First<TStone>(), nullptr);
    EXPECT_DOUBLE_EQ(First<TStone>()->Y, c.y) << c.level;
  }
}

TEST_F(Crossing, StartLevelBuildsThePondInItsOrder) {
  EnterPond();
  const auto& list = form->Root().List();
  ASSERT_FALSE(list.empty());
  EXPECT_NE(dynamic_cast<TSample*>(list.front()), nullptr) << "the scroll controller moves first";
  EXPECT_EQ(Count<TPlayerSprite>(), 1);
  EXPECT_EQ(Count<TBottle>(), 1);
  EXPECT_EQ(Count<TPanel>(), 3);
  EXPECT_EQ(Count<TKuvshinka>(), 19);  // rows 0..4 but the stone's cell at row 2
  for (int c = 1; c <= 4; ++c) EXPECT_TRUE(IsSimpleKind(form->Pond.LilyGrid.Kind(c, 4)));
  EXPECT_EQ(form->Pond.Hunger, 0);
  ExpectOneLilyPerCellAndNoneAtTheStone();
}

TEST_F(Crossing, NeverTwoLiliesInACellOverManySeededScrolls) {
  for (uint32_t seed : {1u, 7u, 42u}) {
    EnterPond(3);
    form->Seed(seed);
    for (int jump = 0; jump < 12; ++jump) {
      // Keep the frog alive and moving: its own cell is always a simple lily at rest.
      SetKind(form->Frog.FrogColumn + 1, 3, kind::Simple1);
      if (jump % 4 == 3) SetKind(form->Frog.FrogColumn + 1, 3, kind::Springy);
      form->Pond.Hunger = 0;
      JumpForward();
      if (form->Scene != 3) break;
      ExpectOneLilyPerCellAndNoneAtTheStone();
      form->Root().ForEach<TKuvshinka>([&](TKuvshinka* l) {
        if (l->Row == 4 && IsSimpleKind(form->Pond.LilyGrid.Kind(l->Column, 4))) l->FramePos = 0;
      });
    }
  }
}

TEST_F(Crossing, AScrollEndsOnItsThirtyFirstTickWithTheRowsShiftedOnce) {
  EnterPond(2, 1);
  SetKind(2, 3, kind::Hunter);
  const double stoneY = First<TStone>()->Y;
  form->Frog.FrogFacing = 2;
  form->FireHeld = true;
  Tick();  // the jump; the logic turns it into a scroll at the end of this tick
  EXPECT_TRUE(form->Pond.Scrolling);
  EXPECT_EQ(form->Pond.StoneRow, 1);
  Tick(30);
  EXPECT_TRUE(form->Pond.Scrolling);
  EXPECT_DOUBLE_EQ(First<TStone>()->Y, stoneY + 150);
  EXPECT_EQ(form->Pond.LilyGrid.Kind(2, 3), kind::Hunter) << "not shifted yet";
  Tick();
  EXPECT_FALSE(form->Pond.Scrolling);
  EXPECT_DOUBLE_EQ(First<TStone>()->Y, stoneY + 150);
  EXPECT_EQ(form->Pond.LilyGrid.Kind(2, 4), kind::Hunter);
}

TEST_F(Crossing, ASpringyLilyScrollsTwoRowsInOneScroll) {
  EnterPond(3, 2);
  SetKind(3, 4, kind::Springy);
  SetKind(3, 2, kind::Hunter);
  const double stoneY = First<TStone>()->Y;
  JumpForward();
  EXPECT_EQ(form->Pond.StoneRow, 4 - 6 + 2);
  EXPECT_DOUBLE_EQ(First<TStone>()->Y, stoneY + 300);
  EXPECT_EQ(form->Pond.LilyGrid.Kind(3, 4), kind::Hunter);
  EXPECT_EQ(form->Pond.ScrollRows, 1);
  ExpectOneLilyPerCellAndNoneAtTheStone();
}

TEST_F(Crossing, TheFrogReachesTheStoneFromColumnOneAtLevelsOneToFive) {
  for (int level = 1; level <= 5; ++level) {
    for (int column : {0, 1}) {
      EnterPond(level, column);
      // Bring the stone to the bottom row: it scrolls with the pond.
      const int rows = 2 * level;
      form->Pond.StoneRow += rows;
      First<TStone>()->Y += 150.0 * rows;
      form->Root().ForEach<TKuvshinka>([](TKuvshinka* l) { l->Dead(); });
      form->Root().Flush();
      Tick();
      if (column == 0) {
        EXPECT_EQ(form->Scene, 4) << "level " << level;
      } else {
        EXPECT_EQ(form->Scene, 3) << "level " << level;
        EXPECT_TRUE(form->NormalRound);
      }
      form->ChangeScene(2);
    }
  }
}

TEST_F(Crossing, StarvingCostsALifeAndTheLastLifeEndsTheGameInTheSameTick) {
  EnterPond(1, 1);
  form->Lives = 2;
  const int frames = form->ImageList.Find("energi").FrameCount();
  form->Pond.Hunger = frames;  // one frame past full
  Tick();
  EXPECT_EQ(form->Lives, 1);
  EXPECT_EQ(form->Scene, 3);
  EXPECT_EQ(form->Pond.Hunger, 0) << "a new layout";
  form->LevelBanner = false;
  form->Pond.Hunger = frames;
  Tick();
  EXPECT_EQ(form->Scene, 9);
  EXPECT_EQ(form->Lives, 1) << "the last life is not taken off the count";
}

}  // namespace
}  // namespace pondaro::test
