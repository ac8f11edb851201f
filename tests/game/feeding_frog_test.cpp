#include <cmath>

#include "feeding_fixture.h"

namespace pondaro::test {
namespace {

TEST_F(FeedingTest, TongueShootsOutIn14TicksAndComesBackIn7WithItsSoundOnlyWhileFiring) {
  auto& f = Enter(1);
  Tick();
  EXPECT_EQ(Starts("iazik"), 0);
  keyboard.down.insert(vk::Space);
  Tick(13);
  EXPECT_EQ(f.Feeding.TongueLength, 390);
  EXPECT_TRUE(f.Feeding.TongueOut);
  Tick();
  EXPECT_EQ(f.Feeding.TongueLength, 400);
  Tick(3);
  EXPECT_EQ(f.Feeding.TongueLength, 400);
  EXPECT_EQ(Starts("iazik"), 17);
  keyboard.down.erase(vk::Space);
  Tick(6);
  EXPECT_EQ(f.Feeding.TongueLength, 40);
  Tick();
  EXPECT_EQ(f.Feeding.TongueLength, 0);
  EXPECT_EQ(Starts("iazik"), 17);
  // A mouse button fires as well.
  f.FireHeld = true;
  Tick();
  EXPECT_EQ(f.Feeding.TongueLength, 30);
}

TEST_F(FeedingTest, BodyTurnsAboutTheMouthAndTheTipRidesTheEndAlongTheAim) {
  auto& f = Enter(1);
  struct Case {
    double offset;  // the aim is 180 + offset while the mouse has not moved
    int bodyTurn, tipTurn;
  };
  for (const Case& c : {Case{-60, 85, 213}, Case{0, 128, 0}, Case{60, 171, 43}}) {
    for (int length : {0, 400}) {
      f.AimAngleOffset = c.offset;
      f.FireHeld = length > 0;
      Tick(15);
      ASSERT_EQ(f.Feeding.TongueLength, length);
      TickFresh();
      const double x = f.Feeding.EatFrogX;
      const auto body = DrawsOf("iazik");
      ASSERT_EQ(body.size(), 1u);
      EXPECT_EQ(body[0].angle, c.bodyTurn) << c.offset;
      EXPECT_EQ(body[0].fx, 0);
      EXPECT_EQ(body[0].fy, 0);
      EXPECT_EQ(body[0].cx, std::lround(x + 70));
      EXPECT_EQ(body[0].cy, 500);
      EXPECT_EQ(body[0].h, f.ImageList.Find("iazik").FrameHeight() + length);
      const auto tip = DrawsOf("konec_iazika");
      ASSERT_EQ(tip.size(), 1u);
      EXPECT_EQ(tip[0].angle, c.tipTurn) << c.offset;
      EXPECT_EQ(tip[0].fx, 0.5);
      const double a = (180 + c.offset - 90) * M_PI / 180, reach = length + 30;
      EXPECT_EQ(tip[0].cx, std::lround(x + 68 - std::cos(a) * reach)) << c.offset << " " << length;
      EXPECT_EQ(tip[0].cy, std::lround(500 - std::sin(a) * reach)) << c.offset << " " << length;
    }
  }
  // Fully left with the tongue in: 26 px left of and 15 px above the tip's start.
  auto* tip = First<TKonec_Iazik>();
  f.AimAngleOffset = -60;
  f.FireHeld = false;
  Tick(8);
  EXPECT_NEAR(tip->X, f.Feeding.EatFrogX + 68 - 25.98, 0.01);
  EXPECT_NEAR(tip->Y, 500 - 15, 1e-9);
}

TEST_F(FeedingTest, AimKeysTurnFiveDegreesATickUpToTheBounds) {
  auto& f = Enter(1);
  keyboard.down.insert(vk::Up);
  Tick(30);
  EXPECT_EQ(f.AimAngle, 120);
  EXPECT_EQ(f.AimAngleOffset, -60);
  keyboard.down.erase(vk::Up);
  keyboard.down.insert(vk::Down);
  Tick(40);
  EXPECT_EQ(f.AimAngle, 240);
  EXPECT_EQ(f.AimAngleOffset, 60);
}

TEST_F(FeedingTest, FrogWalksWithinTheScreenHoppingAndTheMouthRisesWithTheHop) {
  auto& f = Enter(1);
  auto* frog = First<TPlayerSpriteEat>();
  ASSERT_NE(frog, nullptr);
  EXPECT_EQ(frog->X, 400 - frog->Width / 2.0);
  EXPECT_EQ(frog->Y, 600 - frog->Height);
  keyboard.down.insert(vk::Left);
  // Frames 0, 1, 2, 3 at 0.32 a tick, then the landing back on frame 0.
  const int lifts[] = {0, 0, 0, 0, 25, 25, 25, 65, 65, 65, 65, 65, 65, 0};
  for (int i = 0; i < 14; ++i) {
    Tick();
    EXPECT_EQ(f.Feeding.TongueLift, lifts[i]) << i;
    EXPECT_EQ(First<TIazik>()->Y, 500 - lifts[i]) << i;
  }
  Tick(100);
  EXPECT_EQ(frog->X, 0);
  EXPECT_EQ(f.Feeding.EatFrogX, 0);
  keyboard.down.erase(vk::Left);
  keyboard.down.insert('D');
  Tick(200);
  EXPECT_EQ(frog->X, 800 - frog->Width);
  keyboard.down.erase('D');
  Tick(20);
  EXPECT_EQ(f.Feeding.TongueLift, 0);
  EXPECT_EQ(frog->FramePos, 0);
}

}  // namespace
}  // namespace pondaro::test
