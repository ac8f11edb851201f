#include <cmath>
#include <functional>

#include "feeding_fixture.h"

namespace pondaro::test {
namespace {

struct InsectCase {
  const char* name;
  std::function<TEat*(TMainForm&)> make;
  int points, ease;
  bool gulpWhenEaten;
};
const InsectCase kInsects[] = {
    {"midge", [](TMainForm& f) -> TEat* { return new TMushka(f); }, 5, 1, true},
    {"fly", [](TMainForm& f) -> TEat* { return new TMuha(f); }, 10, 2, true},
    {"mosquito", [](TMainForm& f) -> TEat* { return new TKomar(f); }, 15, 2, true},
    {"pond skater", [](TMainForm& f) -> TEat* { return new TVodomerka(f); }, 20, 3, false},
    {"bee", [](TMainForm& f) -> TEat* { return new TPchel(f); }, 25, 3, true},
};

TEST_F(FeedingTest, EachInsectComesInBeyondItsEdgeFliesItsBandAndLeavesOnePixelPastTheOther) {
  auto& f = Enter(5);
  f.Pond.BottleEmpty = true;
  for (const InsectCase& c : kInsects) {
    bool seen[2] = {false, false};
    for (int n = 0; n < 40; ++n) {
      TEat* e = c.make(f);
      const TInsectKind& k = e->Kind;
      const bool left = e->Direction == 1;
      seen[e->Direction] = true;
      ASSERT_EQ(e->Image, &f.ImageList.Find(left ? k.Image : k.MirrorImage)) << c.name;
      EXPECT_EQ(e->X, left ? 800 : -e->Width) << c.name;
      EXPECT_TRUE(Playing(k.Sound)) << c.name;
      ASSERT_GE(e->Speed, k.SpeedFrom);
      ASSERT_LE(e->Speed, k.SpeedFrom + 2);
      for (int step = 1; step <= 3; ++step) {
        e->Advance(16);
        EXPECT_EQ(e->X, left ? 800 - step * e->Speed : -e->Width + step * e->Speed) << c.name;
        if (k.WeaveDivisor) {
          EXPECT_GE(e->BaseY, 110);
          EXPECT_LT(e->BaseY, 340);
          EXPECT_LE(std::abs(e->Y - e->BaseY), e->Amplitude);
          EXPECT_LT(e->Amplitude, 50);
        } else {
          EXPECT_GE(e->Y, k.YFrom);
          EXPECT_LT(e->Y, k.YFrom + k.YRange);
        }
      }
      // Up to the far edge exactly, then one step past it.
      e->X = left ? -e->Width + e->Speed : 800 - e->Speed;
      const int food = Starts("food");
      e->Advance(16);
      EXPECT_FALSE(e->Dying) << c.name << " at " << e->X;
      e->Advance(16);
      EXPECT_TRUE(e->Dying) << c.name << " at " << e->X;
      // Only the pond skater gulps as it gets away.
      EXPECT_EQ(Starts("food") - food, c.gulpWhenEaten ? 0 : 1) << c.name;
      f.SpriteEngine.Dead();
      EXPECT_FALSE(Playing(k.Sound)) << c.name;
    }
    EXPECT_TRUE(seen[0] && seen[1]) << c.name << " flies both ways";
  }
}

// Puts an insect still, its frame centred on (x, y).
TEat* Hover(TEat* e, double x, double y) {
  e->Speed = 0;
  e->Amplitude = 0;
  e->FrameSpeed = 0;
  e->X = x - e->Width / 2.0;
  e->Y = e->BaseY = static_cast<int>(y - e->Height / 2.0);
  return e;
}

TEST_F(FeedingTest, OnlyTheTipEatsAndEveryInsectItTouchesScoresAndEasesTheHungerDownToZero) {
  auto& f = Enter(1);  // only midges come by themselves
  WithoutBottle();
  f.FireHeld = true;
  Tick(15);  // the tongue straight up, 400 long; the tip 430 above the mouth
  const double tx = f.Feeding.EatFrogX + 68 + 8, ty = 500 - 430 + 8;
  // Eaten insects are gone after the tick, so the score tells who was eaten.
  Hover(new TMushka(f), tx, ty);
  Hover(new TPchel(f), tx, ty);
  Hover(new TMuha(f), f.Feeding.EatFrogX + 68, 300);  // on the tongue's body
  Hover(new TMuha(f), f.Feeding.EatFrogX + 70, 540);  // on the frog
  f.Score = 100;
  f.Pond.Hunger = 2;
  f.Pond.BottleEmpty = true;
  const int food = Starts("food");
  Tick();
  EXPECT_EQ(f.Score, 100 + 5 + 25);
  EXPECT_EQ(f.Pond.Hunger, 0);
  EXPECT_EQ(Starts("food") - food, 2);
  EXPECT_FALSE(Playing("pchel"));
  EXPECT_TRUE(Playing("muha"));

  // Each kind's points and hunger; the pond skater eaten makes no gulp.
  for (const InsectCase& c : kInsects) {
    f.Pond.Hunger = 10;
    const int gulps = Starts("food"), score = f.Score;
    Hover(c.make(f), tx, ty);
    Tick();
    EXPECT_EQ(f.Score - score, c.points) << c.name;
    EXPECT_EQ(f.Pond.Hunger, 10 - c.ease) << c.name;
    EXPECT_EQ(Starts("food") - gulps, c.gulpWhenEaten ? 1 : 0) << c.name;
  }
}

}  // namespace
}  // namespace pondaro::test
