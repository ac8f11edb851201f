// The crossing frog: its size by level, its jumps and what each lily does to it.
#include "game/crocodile.h"
#include "game/game_fixture.h"
#include "game/lilies.h"
#include "game/water.h"

namespace pondaro::test {
namespace {

class Frog : public GameTest {
 protected:
  // Keeps the lily under the frog afloat (simple lilies sink in their cycle).
  void Afloat(int column) {
    if (TKuvshinka* l = LilyAt(column, 4)) {
      l->FramePos = 0;
      l->FrameSpeed = 0;
    }
  }
};

TEST_F(Frog, GrowsWithTheLevelUpToFive) {
  struct {
    int level, w, h;
    double y;
  } cases[] = {{1, 34, 53, 545}, {2, 45, 70, 543}, {4, 67, 104, 539}, {5, 78, 121, 525}, {9, 78, 121, 525}};
  for (auto c : cases) {
    EnterPond(c.level);
    EXPECT_EQ(frog()->Width, c.w) << c.level;
    EXPECT_EQ(frog()->Height, c.h) << c.level;
    EXPECT_DOUBLE_EQ(frog()->Y, c.y) << c.level;
    EXPECT_DOUBLE_EQ(frog()->X, CellPos(form->Frog.FrogColumn + 1, 4).X);
  }
}

TEST_F(Frog, AJumpOffTheGridIsRefusedAndCostsNothing) {
  for (auto [column, facing] : {std::pair{0, 0}, {3, 1}}) {
    EnterPond(1, column);
    const int ripples = Count<TRazvod>();
    Attempt(facing);
    EXPECT_EQ(form->Score, 0);
    EXPECT_EQ(form->Pond.Hunger, 0);
    EXPECT_EQ(Count<TRazvod>(), ripples);
    EXPECT_EQ(form->Frog.FrogColumn, column);
  }
}

TEST_F(Frog, ASidewaysJumpTakesThirtyTicksAndLeavesRipples) {
  EnterPond(1, 1);
  Afloat(2);
  Afloat(3);
  Attempt(1);
  EXPECT_EQ(form->Score, 5);
  EXPECT_EQ(form->Pond.Hunger, 1);
  EXPECT_EQ(form->Frog.FrogColumn, 2);
  EXPECT_EQ(Count<TRazvod>(), 1) << "the take-off";
  Tick(30);
  Afloat(3);
  EXPECT_DOUBLE_EQ(frog()->X, 320 + 150);
  EXPECT_TRUE(frog()->MovingRight) << "the flag goes on the tick after the last step";
  Tick();
  EXPECT_FALSE(frog()->MovingRight);
  EXPECT_EQ(Count<TRazvod>(), 2) << "the landing";
}

TEST_F(Frog, AStickyLilyHoldsThreeAttemptsAndTheFourthLeaves) {
  EnterPond(1, 1);
  SetKind(2, 4, kind::Sticky);
  Afloat(1);
  for (int attempt = 1; attempt <= 3; ++attempt) {
    Attempt(0);
    EXPECT_EQ(form->Frog.StickyTries, attempt);
    EXPECT_EQ(form->Frog.FrogColumn, 1);
    EXPECT_EQ(form->Score, 5 * attempt);
    EXPECT_EQ(form->Pond.Hunger, attempt);
    Tick(20);
    EXPECT_TRUE(form->Frog.GooActive) << "the goo holds the frog";
    EXPECT_EQ(Count<TLiapu>(), 1) << "one goo sprite per lily";
    // The lily plays out and takes its goo with it.
    Tick(40);
    EXPECT_FALSE(form->Frog.GooActive);
    EXPECT_EQ(Count<TLiapu>(), 0);
  }
  Attempt(0);
  EXPECT_EQ(form->Frog.StickyTries, 0);
  EXPECT_EQ(form->Frog.FrogColumn, 0);
}

TEST_F(Frog, AStickyLilyLeftForwardTakesItsGooAlongOffThePond) {
  EnterPond(2, 1);
  SetKind(2, 4, kind::Sticky);
  SetKind(2, 3, kind::Simple1);
  for (int attempt = 0; attempt < 4; ++attempt) {
    Attempt(2);
    Tick(3);
  }
  EXPECT_TRUE(form->Pond.Scrolling) << "the fourth attempt goes";
  EXPECT_TRUE(form->Frog.GooActive) << "the lily still pulls as it leaves";
  Tick(40);
  EXPECT_EQ(Count<TLiapu>(), 0);
  EXPECT_FALSE(form->Frog.GooActive);
}

TEST_F(Frog, AHunterLilyTakesTheFrogOnlyWhileItIsStillOnIt) {
  EnterPond(1, 1);
  SetKind(2, 4, kind::Hunter);
  form->Lives = 3;
  Tick(12);
  EXPECT_TRUE(form->Frog.FrogEaten);
  EXPECT_EQ(Count<TPlayerSprite>(), 0);
  Tick(60);
  EXPECT_EQ(form->Lives, 2) << "the closed lily took a life";

  EnterPond(1, 1);
  SetKind(2, 4, kind::Hunter);
  Afloat(3);
  form->Lives = 3;
  Tick(2);
  Attempt(1);  // away before the lily closes
  for (int i = 0; i < 80 && form->Lives == 3; ++i) {
    Afloat(3);
    Tick();
  }
  EXPECT_EQ(form->Lives, 3);
  EXPECT_FALSE(form->Frog.FrogEaten);
}

TEST_F(Frog, CrocodileEyesFreezeTheFrogThenTheCrocodileStrikes) {
  EnterPond(1, 1);
  SetKind(2, 4, kind::Crocodile);
  form->Lives = 3;
  int frozenAt = 0, struckAt = 0;
  for (int t = 1; t <= 400 && form->Lives == 3; ++t) {
    Tick();
    if (!frozenAt && !form->Frog.FrogControls) frozenAt = t;
    if (!struckAt && Count<TKroko>() == 1) struckAt = t;
  }
  // Four whole frames at 0.032 a tick freeze it, the fifth brings the crocodile.
  EXPECT_NEAR(frozenAt, 125, 2);
  EXPECT_NEAR(struckAt, 157, 2);
  EXPECT_EQ(form->Lives, 2);
}

TEST_F(Frog, ASunkenLilyDropsTheFrogAndTheSplashTakesTheLife) {
  EnterPond(1, 1);
  form->Lives = 3;
  TKuvshinka* lily = LilyAt(2, 4);
  ASSERT_NE(lily, nullptr);
  lily->FramePos = 2;
  lily->FrameSpeed = 0;
  Tick();
  EXPECT_TRUE(form->Pond.FrogGone);
  ASSERT_EQ(Count<TBrizgi>(), 1);
  const int frames = form->ImageList.Find("brizgi").FrameCount();
  int ticks = 1;
  while (form->Lives == 3 && ticks < 200) {
    Tick();
    ++ticks;
  }
  EXPECT_EQ(form->Lives, 2);
  // 0.16 frames a tick; the life goes a tick after the rounded frame passes the last.
  EXPECT_NEAR(ticks, 6.25 * frames - 3 + 1, 2);
}

}  // namespace
}  // namespace pondaro::test
