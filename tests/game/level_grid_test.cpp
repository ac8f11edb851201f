#include <gtest/gtest.h>

#include "game/level.h"

namespace pondaro::test {
namespace {

TEST(LilyGrid, CellsPastTheGridReadAsEmptyAndTakeNoWrites) {
  TLilyGrid g;
  g.SetKind(2, 3, kind::Hunter);
  g.SetBonus(2, 3, bonus::Coin);
  for (auto [c, r] : {std::pair{0, 3}, {5, 3}, {2, -2}, {2, 5}, {2, 9}}) {
    g.SetKind(c, r, kind::Sticky);
    g.SetBonus(c, r, bonus::Life);
    EXPECT_EQ(g.Kind(c, r), kind::Simple1);
    EXPECT_EQ(g.Bonus(c, r), bonus::None);
  }
  EXPECT_EQ(g.Kind(2, 3), kind::Hunter);
  EXPECT_EQ(g.Bonus(2, 3), bonus::Coin);
}

TEST(LilyGrid, CellPositionsAndRippleSizes) {
  EXPECT_DOUBLE_EQ(CellPos(1, 4).X, 170);
  EXPECT_DOUBLE_EQ(CellPos(4, 4).X, 620);
  EXPECT_DOUBLE_EQ(CellPos(1, 4).Y, 575);
  EXPECT_DOUBLE_EQ(CellPos(1, -1).Y, -175);
  const std::pair<uint8_t, int> sizes[] = {{0, 1}, {10, 2}, {20, 3}, {1, 3}, {2, 3}, {3, 2}, {4, 1}};
  for (auto [k, s] : sizes) EXPECT_EQ(RippleSizeOf(k), s) << int(k);
}

}  // namespace
}  // namespace pondaro::test
