// A scripted player with a short, honest strategy (it looks at the pond as a
// player does and acts only through keys) crosses seeded ponds to the feeding
// stage: a pond that cannot be crossed fairly fails here.
#include "game/game_fixture.h"
#include "game/lilies.h"

namespace pondaro::test {
namespace {

class ScriptedPlayer : public GameTest {
 protected:
  bool StoneAt(int column, int row) const { return column == 1 && row == form->Pond.StoneRow; }
  // A cell to land on and stand a while: afloat and harmless; a crocodile's lily
  // only with a way on from it.
  bool Safe(int column, int row, bool lookOn = true) {
    if (StoneAt(column, row)) return true;
    if (column < 1 || column > 4) return false;
    const TKuvshinka* l = LilyAt(column, row);
    if (!l) return false;
    const uint8_t k = form->Pond.LilyGrid.Kind(column, row);
    if (IsSimpleKind(k)) return l->FramePos < 0.5;
    if (k == kind::Crocodile) return lookOn && WayOn(column, row);
    return k == kind::Springy || k == kind::Sticky;
  }
  // A safe cell to go on to from (column, row), as it will be once the frog stands there.
  bool WayOn(int column, int row) {
    const bool forward = form->Pond.StoneRow + (4 - row) < 4;
    return (forward && Safe(column, row - 1, false)) || Safe(column - 1, row, false) || Safe(column + 1, row, false);
  }
  // Where a forward jump from (column, 4) lands.
  int LandingRow(int column) {
    const bool springy = form->Pond.LilyGrid.Kind(column, 4) == kind::Springy;
    return springy && form->Pond.StoneRow + 2 <= 4 ? 2 : 3;
  }
  bool AtRest() {
    const TPlayerSprite* frog = nullptr;
    form->Root().ForEach<TPlayerSprite>([&](TPlayerSprite* p) { frog = p->Dying ? frog : p; });
    return frog && !frog->MovingLeft && !frog->MovingRight && !form->Pond.Scrolling && form->Frog.FrogControls &&
           !form->Frog.FrogEaten;
  }
  // Faces `key` (Left, Right, Up) and jumps: a short tap of each, as a player does.
  void Jump(int key) {
    Hold(key);
    Tick();
    Release(key);
    Hold(vk::Space);
    Tick(3);
    Release(vk::Space);
  }
  // One decision at rest; false to wait a tick.
  bool Act() {
    const int c = form->Frog.FrogColumn + 1;
    const uint8_t here = form->Pond.LilyGrid.Kind(c, 4);
    auto hop = [&](int side) {
      Jump(side < 0 ? vk::Left : vk::Right);
      return true;
    };
    if (form->Pond.StoneRow == 4) {
      if (c > 1 && Safe(c - 1, 4)) return hop(-1);  // the bank is to the left
    } else {
      // The bank lies in the first column: come near it before the last row.
      if (form->Pond.StoneRow == 3 && c > 2 && Safe(c - 1, 4) && Safe(c - 1, 3)) return hop(-1);
      if (Safe(c, LandingRow(c))) return Jump(vk::Up), true;
      // Sideways to a cell with a way on, nearer the stone's column first.
      for (int side : {-1, +1})
        if (Safe(c + side, 4) && Safe(c + side, 3)) return hop(side);
    }
    // Sinking soon, a crocodile waking, a hunter closing: anywhere still afloat,
    // forward first; a hunter only to pass over it at once.
    const TKuvshinka* l = LilyAt(c, 4);
    const bool leave = here == kind::Crocodile || here == kind::Hunter || (IsSimpleKind(here) && l && l->FramePos >= 0.4);
    if (!leave) return false;
    const int ahead = LandingRow(c);
    if (form->Pond.StoneRow < 4 && (Afloat(c, ahead) || PassOver(c, ahead))) return Jump(vk::Up), true;
    for (int side : {-1, +1})
      if (Afloat(c + side, 4)) return hop(side);
    for (int side : {-1, +1})
      if (PassOver(c + side, 4)) return hop(side);
    return false;
  }
  // A hunter lily with a safe way on from it (its forward cell or a side of it, as
  // they will be once the frog stands there).
  bool PassOver(int column, int row) {
    if (column < 1 || column > 4 || form->Pond.LilyGrid.Kind(column, row) != kind::Hunter) return false;
    const TKuvshinka* l = LilyAt(column, row);
    return l && l->FramePos < 0.5 && WayOn(column, row);
  }
  // Not safe for long, but not the water at once either.
  bool Afloat(int column, int row) {
    if (Safe(column, row)) return true;
    const TKuvshinka* l = column >= 1 && column <= 4 ? LilyAt(column, row) : nullptr;
    return l && IsSimpleKind(form->Pond.LilyGrid.Kind(column, row)) && l->FramePos < 1;
  }
  // Plays a crossing of `level` from seed `seed`; the lives it cost, or -1 when it never got across.
  int Cross(int level, uint32_t seed) {
    if (!form) Make();
    form->ChangeScene(2);
    form->ChangeScene(3);
    form->Seed(seed);
    form->Level = level;
    form->Lives = 9;  // room to learn a pond: what is measured is getting across
    form->StartLevel();
    int lost = 0;
    for (int t = 0; t < 6000 && form->Scene == 3; ++t) {
      form->LevelBanner = false;  // a lost life's banner: the player waits it out
      const int lives = form->Lives;
      if (!(AtRest() && Act())) Tick();
      lost += form->Lives < lives;
    }
    return form->Scene == 4 ? lost : -1;
  }
};

TEST_F(ScriptedPlayer, CrossesLevelsOneAndThreeOfSeveralPonds) {
  int lost = 0;
  for (int level : {1, 3})
    for (uint32_t seed = 1; seed <= 8; ++seed) {
      const int n = Cross(level, seed);
      EXPECT_GE(n, 0) << "level " << level << ", seed " << seed << ": not across";
      lost += std::max(n, 0);
    }
  // Measured: 8 lives in these 16 crossings; a rule that kills unfairly shows here.
  EXPECT_LE(lost, 12);
  std::printf("scripted player: 16 crossings, %d lives lost\n", lost);
}

}  // namespace
}  // namespace pondaro::test
