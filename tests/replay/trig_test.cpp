// The rules' own sine and cosine: on every angle the game uses, within two units in
// the last place of 1.0 of the library's (what the game does with them, a weave of
// at most 50 pixels and a tongue of 430, never shows the difference).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "game/trig.h"

namespace pondaro::test {
namespace {

// The difference in units in the last place of 1.0.
double Ulps(double a, double b) { return std::fabs(a - b) / std::numeric_limits<double>::epsilon(); }

TEST(GameTrig, StaysWithinTwoUlpsOfTheLibraryOnTheGamesAngles) {
  double worst = 0;
  // The insects' weave: Phase / divisor for phases up to a crossing's worth, and
  // the tongue: the aim from 120 to 240 degrees in the game's steps and between.
  for (int phase = 0; phase <= 20000; ++phase)
    for (int divisor : {10, 30, 50}) {
      const double x = static_cast<double>(phase) / divisor;
      worst = std::max({worst, Ulps(GameSin(x), std::sin(x)), Ulps(GameCos(x), std::cos(x))});
    }
  for (double aim = 120; aim <= 240; aim += 0.0625) {
    const double a = (aim - 90) * std::numbers::pi / 180;
    worst = std::max({worst, Ulps(GameSin(a), std::sin(a)), Ulps(GameCos(a), std::cos(a))});
  }
  EXPECT_LE(worst, 2.0);
  std::printf("game trig: worst %.2f ulp from the library\n", worst);
}

TEST(GameTrig, KnownValuesAndSymmetry) {
  EXPECT_EQ(GameSin(0.0), 0.0);
  EXPECT_EQ(GameCos(0.0), 1.0);
  EXPECT_NEAR(GameSin(std::numbers::pi / 2), 1.0, 1e-16);
  EXPECT_NEAR(GameCos(std::numbers::pi), -1.0, 1e-16);
  for (double x : {0.3, 1.7, 12.5, 400.25}) {
    EXPECT_EQ(GameSin(-x), -GameSin(x)) << x;
    EXPECT_EQ(GameCos(-x), GameCos(x)) << x;
  }
  EXPECT_TRUE(std::isnan(GameSin(INFINITY)));
  EXPECT_TRUE(std::isnan(GameCos(NAN)));
  // Far out it still answers, in range.
  EXPECT_LE(std::fabs(GameSin(1e12)), 1.0);
}

}  // namespace
}  // namespace pondaro::test
