// The crossing's faults that ended a game through no mistake of the player's.
#include "game/bonuses.h"
#include "game/crocodile.h"
#include "game/game_fixture.h"
#include "game/lilies.h"
#include "game/water.h"

namespace pondaro::test {
namespace {

class FairPlay : public GameTest {
 protected:
  // Simple lilies that stay afloat on the whole row (the stone's cell keeps the stone).
  void CalmRow(int row) {
    for (int c = 1; c <= 4; ++c) {
      if (c == 1 && row == form->Pond.StoneRow) continue;
      SetKind(c, row, kind::Simple1);
      TKuvshinka* l = LilyAt(c, row);
      l->FramePos = l->FrameSpeed = l->BaseSpeed = 0;
    }
  }
  void ExpectAtRestOnCell() {
    EXPECT_DOUBLE_EQ(frog()->X, CellPos(form->Frog.FrogColumn + 1, 4).X);
    EXPECT_DOUBLE_EQ(frog()->Y, frog()->RestY);
  }
};

TEST_F(FairPlay, AnOrdinaryTapHopsOnceAndAHeldKeyHopsAgainOnlyAfterLanding) {
  EnterPond(1, 3);
  CalmRow(4);
  Hold(vk::Left);
  Tick();
  Release(vk::Left);
  Hold(vk::Space);
  Tick(4);  // a 120 ms tap
  Release(vk::Space);
  Tick(40);
  EXPECT_EQ(form->Frog.FrogColumn, 2);
  ExpectAtRestOnCell();

  // Held on: the next hop starts from the landing, never in the air.
  Hold(vk::Space);
  Tick(30);
  EXPECT_EQ(form->Frog.FrogColumn, 1) << "no second hop in the air";
  EXPECT_TRUE(frog()->MovingLeft);
  Tick(2);
  EXPECT_EQ(form->Frog.FrogColumn, 0);
}

TEST_F(FairPlay, TheFrogLeavesAStickyLilyFromItsCellAndStrainsNoFurtherThanALevel4Frog) {
  EnterPond(1, 1);
  CalmRow(4);
  SetKind(2, 4, kind::Sticky);
  for (int attempt = 0; attempt < 4; ++attempt) {
    Attempt(1);
    Tick(15);  // the lily pulls: the strained pose
  }
  EXPECT_EQ(form->Frog.FrogColumn, 2);
  Tick(40);
  ExpectAtRestOnCell();

  struct {
    int facing;
    double dx, dy;
  } poses[] = {{0, -38 - 104, 0}, {1, 25 + 104, 0}, {2, 0, -18 - 104}};
  for (auto p : poses) {
    EnterPond(5, 1);
    SetKind(2, 4, kind::Sticky);
    Attempt(p.facing);
    Tick(15);
    EXPECT_DOUBLE_EQ(frog()->X, CellPos(2, 4).X + p.dx) << p.facing;
    EXPECT_DOUBLE_EQ(frog()->Y, frog()->RestY + p.dy) << p.facing;
  }
}

// Under AddressSanitizer a goo that outlived its lily read freed memory.
TEST_F(FairPlay, GooGoesWithItsLilyByEveryRoad) {
  enum Road { Crocodile, Rebuild, Scroll };
  for (Road road : {Crocodile, Rebuild, Scroll}) {
    EnterPond(2, 1);
    CalmRow(4);
    SetKind(2, 4, kind::Sticky);
    SetKind(2, 3, kind::Simple1);
    Attempt(road == Scroll ? 2 : 0);
    Tick(12);
    ASSERT_EQ(Count<TLiapu>(), 1) << road;
    switch (road) {
      case Crocodile: {
        // Eyes about to strike the frog's cell.
        form->Frog.FrogControls = false;
        auto* eyes = new TVeki_Kroko(*form, CellPos(2, 4).X, CellPos(2, 4).Y, 4, 2);
        eyes->FrameChanges = 4;
        eyes->FrameSpeed = 1.0 / 16;  // a frame a tick
        break;
      }
      case Rebuild: SetKind(2, 4, kind::Simple2); break;
      case Scroll:
        for (int attempt = 0; attempt < 3; ++attempt) {
          Tick(3);
          Attempt(2);
        }
        break;
    }
    Tick(road == Scroll ? 40 : 2);
    EXPECT_EQ(Count<TLiapu>(), 0) << road;
    EXPECT_FALSE(form->Frog.GooActive) << road;
  }
}

TEST_F(FairPlay, HoppingOffACrocodileLilyLeavesTheEyesBehind) {
  EnterPond(1, 1);
  CalmRow(4);
  SetKind(2, 4, kind::Crocodile);
  form->Lives = 3;
  Tick(100);  // the eyes are waking: three frame changes of four
  Attempt(1);
  Tick(40);
  EXPECT_TRUE(form->Frog.FrogControls) << "not frozen in the air";
  EXPECT_EQ(form->Frog.FrogColumn, 2);
  ExpectAtRestOnCell();
  Tick(60);
  EXPECT_EQ(Count<TKroko>(), 0);
  EXPECT_EQ(form->Lives, 3);
}

TEST_F(FairPlay, ACoinMadeDuringAScrollSitsOnItsLily) {
  EnterPond(3, 1);
  CalmRow(4);
  SetKind(2, 3, kind::Simple1);
  TKuvshinka* lily = LilyAt(2, 3);
  Attempt(2);
  Tick(10);
  ASSERT_TRUE(form->Pond.Scrolling);
  ASSERT_EQ(Count<TDollar>(), 0);
  // About to come up again: the coin is made at the top of its cycle.
  form->Pond.LilyGrid.SetBonus(2, 3, bonus::Coin);
  lily->FramePos = lily->FrameCount - 0.001;
  lily->FastPhase = true;
  lily->FrameSpeed = 0.0001;
  Tick();
  TDollar* coin = First<TDollar>();
  ASSERT_NE(coin, nullptr);
  for (int tick = 0; tick < 15; ++tick) {  // still scrolling
    EXPECT_DOUBLE_EQ(coin->Y + coin->Height, lily->Y + lily->Height) << tick;
    EXPECT_DOUBLE_EQ(coin->X, lily->X + lily->Width / 2 - coin->Width / 2) << tick;
    Tick();
  }
}

TEST_F(FairPlay, ThePondNeverCarriesTheFrogPastTheStone) {
  // A springy throw from the row before the stone's stops on the stone's row.
  EnterPond(1, 1);
  CalmRow(4);
  CalmRow(3);
  Attempt(2);
  Tick(40);
  ASSERT_EQ(form->Pond.StoneRow, 3);
  CalmRow(3);
  SetKind(2, 4, kind::Springy);
  Attempt(2);
  Tick(40);
  EXPECT_EQ(form->Pond.StoneRow, 4);

  // Beside the stone a forward jump is refused and costs nothing; the bank is to the left.
  CalmRow(4);
  const int score = form->Score, hunger = form->Pond.Hunger;
  Attempt(2);
  Tick(40);
  EXPECT_EQ(form->Pond.StoneRow, 4);
  EXPECT_EQ(form->Score, score);
  EXPECT_EQ(form->Pond.Hunger, hunger);
  Attempt(0);
  Tick(40);
  EXPECT_EQ(form->Scene, 4);
}

TEST_F(FairPlay, OnlyTheHunterLilyThatSwallowedTheFrogActsOnIt) {
  EnterPond(1, 1);
  form->Lives = 3;
  CalmRow(4);
  SetKind(2, 4, kind::Hunter);
  SetKind(1, 4, kind::Hunter);
  const int before = Played("kuv_eat");
  Tick(3);  // the lily starts to close
  Attempt(1);
  Tick(100);
  EXPECT_EQ(Played("kuv_eat"), before + 1) << "the escaped lily snaps once";
  EXPECT_EQ(form->Lives, 3);

  // Another hunter lily swallows the frog: its own swallow runs to its end.
  form->Frog.FrogColumn = 0;
  PutFrog(0);
  TKuvshinka* swallower = LilyAt(1, 4);
  Tick(12);
  ASSERT_TRUE(form->Frog.FrogEaten);
  EXPECT_FALSE(form->Pond.FrogDied) << "the closed lily beside it does not end the life";
  EXPECT_LT(swallower->FramePos, swallower->FrameCount - 1);
}

}  // namespace
}  // namespace pondaro::test
