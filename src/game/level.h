// The level's state outside the sprites: the lily grid, the scroll, the frog's
// and the feeding stage's shared values. The form holds one of each.
#pragma once
#include <cmath>
#include <cstdint>

namespace pondaro {

// Nearest whole number, halves to even.
inline int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// Lily kind codes of the grid.
namespace kind {
inline constexpr uint8_t Simple1 = 0, Simple2 = 10, Simple3 = 20, Hunter = 1, Springy = 2, Sticky = 3,
                         Crocodile = 4;
}  // namespace kind

// Bonus codes of the grid.
namespace bonus {
inline constexpr uint8_t None = 0, Life = 1, Coin = 2;
}  // namespace bonus

inline constexpr int kFirstRow = -1, kLastRow = 4;  // row 4 is the frog's
inline constexpr int kColumns = 4;                    // columns 1..4

inline bool IsSimpleKind(uint8_t k) { return k == kind::Simple1 || k == kind::Simple2 || k == kind::Simple3; }

// Ripple size class of a lily kind: 1 small, 2 middle, 3 large.
int RippleSizeOf(uint8_t k);

struct TPointD {
  double X = 0, Y = 0;
};

// The point a lily of cell (column, row) stands on: its bottom edge is centred there.
inline TPointD CellPos(int column, int row) {
  return {20.0 + 150.0 * column, 575.0 - 150.0 * (4 - row)};
}

struct TLilyCell {
  uint8_t Kind = kind::Simple1;
  uint8_t Bonus = bonus::None;
};

// Rows -1..4 by columns 1..4. Lilies and bonuses keep their row as the pond
// scrolls on, so they ask about cells past the grid: those read as an empty simple
// cell and take no writes.
class TLilyGrid {
 public:
  static bool Inside(int column, int row) {
    return column >= 1 && column <= kColumns && row >= kFirstRow && row <= kLastRow;
  }
  TLilyCell Cell(int column, int row) const { return Inside(column, row) ? cells_[row + 1][column - 1] : TLilyCell{}; }
  uint8_t Kind(int column, int row) const { return Cell(column, row).Kind; }
  uint8_t Bonus(int column, int row) const { return Cell(column, row).Bonus; }
  void SetKind(int column, int row, uint8_t k) {
    if (Inside(column, row)) cells_[row + 1][column - 1].Kind = k;
  }
  void SetBonus(int column, int row, uint8_t b) {
    if (Inside(column, row)) cells_[row + 1][column - 1].Bonus = b;
  }

 private:
  TLilyCell cells_[kLastRow - kFirstRow + 1][kColumns];
};

// The crossing: grid, scroll and the flags the lilies, the frog and the level
// logic share.
struct TPond {
  TLilyGrid LilyGrid;
  int64_t StoneRow = 0;
  int ScrollRows = 1;
  bool Scrolling = false;
  bool AdvanceOne = false, AdvanceTwo = false;
  bool FirstLayout = false;
  bool FrogGone = false;
  bool FrogDied = false;
  bool Starved = false;
  bool BottleEmpty = false;
  int Hunger = 0;
};

// The crossing frog's shared values.
struct TFrogState {
  int FrogColumn = 0;  // 0..3; the grid column is FrogColumn + 1
  int FrogFacing = 2;  // 0 left, 1 right, 2 forward
  int JumpEndFrame = 2;
  int RippleSizeHere = 1, RippleSizeAhead = 1;
  double FrogX = 0, FrogY = 0;
  int StickyTries = 0;
  bool FrogControls = true;
  bool CrocodileStruck = false;
  bool FrogEaten = false;
  bool GooActive = false;
};

// The feeding stage's shared values.
struct TFeeding {
  double EatFrogX = 600.0;
  double TongueBaseY = 500.0;
  int TongueLift = 0;
  int TongueLength = 0;
  bool TongueOut = false;
  bool StorkAllowed = false;
  bool StorkLegsSpawned = false, StorkLegsDown = false, StorkGone = false;
  bool BuzzSilenced = false;  // the insects' flight sounds are stopped by a pause
};

}  // namespace pondaro
