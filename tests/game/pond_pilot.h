// A player's short, honest strategy for the crossing: it looks at the pond as a
// player does and says which way to jump, if at all. Whoever uses it acts only
// through keys.
#pragma once
#include <optional>

#include "app/main_form.h"
#include "game/frog.h"
#include "game/lilies.h"

namespace pondaro::test {

class PondPilot {
 public:
  explicit PondPilot(TMainForm& form) : f_(form) {}

  // At rest and free to jump.
  bool AtRest() const {
    const TPlayerSprite* frog = nullptr;
    f_.Root().ForEach<TPlayerSprite>([&](TPlayerSprite* p) { frog = p->Dying ? frog : p; });
    return frog && !frog->MovingLeft && !frog->MovingRight && !f_.Pond.Scrolling && f_.Frog.FrogControls &&
           !f_.Frog.FrogEaten;
  }

  // The key to face before jumping (Left, Right or Up), or nothing to wait a tick.
  std::optional<int> Decide() {
    const int c = f_.Frog.FrogColumn + 1;
    const uint8_t here = f_.Pond.LilyGrid.Kind(c, 4);
    if (f_.Pond.StoneRow == 4) {
      // The bank is to the left; a hunter on the way is passed over at once.
      if (c > 1 && (Safe(c - 1, 4) || PassOver(c - 1, 4))) return vk::Left;
    } else {
      // The bank lies in the first column: come near it before the last row.
      if (f_.Pond.StoneRow == 3 && c > 2 && Safe(c - 1, 4) && Safe(c - 1, 3)) return vk::Left;
      if (Safe(c, LandingRow(c))) return vk::Up;
      // Sideways to a cell with a way on, nearer the stone's column first.
      for (int side : {-1, +1})
        if (Safe(c + side, 4) && Safe(c + side, 3)) return Side(side);
    }
    // Sinking soon, a crocodile waking, a hunter closing: anywhere still afloat,
    // forward first; a hunter only to pass over it at once.
    const TKuvshinka* l = LilyAt(c, 4);
    const bool leave =
        here == kind::Crocodile || here == kind::Hunter || (IsSimpleKind(here) && l && l->FramePos >= 0.4);
    if (!leave) return std::nullopt;
    const int ahead = LandingRow(c);
    if (f_.Pond.StoneRow < 4 && (Afloat(c, ahead) || PassOver(c, ahead))) return vk::Up;
    for (int side : {-1, +1})
      if (Afloat(c + side, 4)) return Side(side);
    for (int side : {-1, +1})
      if (PassOver(c + side, 4)) return Side(side);
    return std::nullopt;
  }

 private:
  static int Side(int side) { return side < 0 ? vk::Left : vk::Right; }
  const TKuvshinka* LilyAt(int column, int row) const {
    const TKuvshinka* found = nullptr;
    f_.Root().ForEach<TKuvshinka>([&](TKuvshinka* l) {
      if (l->Column == column && l->Row == row && !l->Dying) found = l;
    });
    return found;
  }
  bool StoneAt(int column, int row) const { return column == 1 && row == f_.Pond.StoneRow; }
  // A cell to land on and stand a while: afloat and harmless; a crocodile's lily
  // only with a way on from it.
  bool Safe(int column, int row, bool lookOn = true) const {
    if (StoneAt(column, row)) return true;
    if (column < 1 || column > 4) return false;
    const TKuvshinka* l = LilyAt(column, row);
    if (!l) return false;
    const uint8_t k = f_.Pond.LilyGrid.Kind(column, row);
    if (IsSimpleKind(k)) return l->FramePos < 0.5;
    if (k == kind::Crocodile) return lookOn && WayOn(column, row);
    return k == kind::Springy || k == kind::Sticky;
  }
  // A safe cell to go on to from (column, row), as it will be once the frog stands there.
  bool WayOn(int column, int row) const {
    const bool forward = f_.Pond.StoneRow + (4 - row) < 4;
    return (forward && Safe(column, row - 1, false)) || Safe(column - 1, row, false) ||
           Safe(column + 1, row, false);
  }
  // Where a forward jump from (column, 4) lands.
  int LandingRow(int column) const {
    const bool springy = f_.Pond.LilyGrid.Kind(column, 4) == kind::Springy;
    return springy && f_.Pond.StoneRow + 2 <= 4 ? 2 : 3;
  }
  // A hunter lily with a safe way on from it.
  bool PassOver(int column, int row) const {
    if (column < 1 || column > 4 || f_.Pond.LilyGrid.Kind(column, row) != kind::Hunter) return false;
    const TKuvshinka* l = LilyAt(column, row);
    return l && l->FramePos < 0.5 && WayOn(column, row);
  }
  // Not safe for long, but not the water at once either.
  bool Afloat(int column, int row) const {
    if (Safe(column, row)) return true;
    const TKuvshinka* l = column >= 1 && column <= 4 ? LilyAt(column, row) : nullptr;
    return l && IsSimpleKind(f_.Pond.LilyGrid.Kind(column, row)) && l->FramePos < 1;
  }

  TMainForm& f_;
};

}  // namespace pondaro::test
