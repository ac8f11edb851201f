// The crossing: level set-up, the lily grid, the scroll and the level logic.
#include <algorithm>

#include "app/main_form.h"
#include "game/bottle.h"
#include "game/frog.h"
#include "game/lilies.h"
#include "game/scroll.h"
#include "game/water.h"

namespace pondaro {

int RippleSizeOf(uint8_t k) {
  switch (k) {
    case kind::Simple2:
    case kind::Sticky:
      return 2;
    case kind::Simple3:
    case kind::Hunter:
    case kind::Springy:
      return 3;
    default:
      return 1;
  }
}

namespace {

// One in five: a log somewhere on the visible pond. The draws go x, then y, then
// the log's own choice of picture.
void MaybeCreateLog(TMainForm& form) {
  if (form.Random(5) != 0) return;
  const double x = form.Random(525) + 100;
  const double y = form.Random(520) + 40;
  new TBrevno(form, x, y);
}

// The rest of a grid draw after `a`: the dangerous kinds by their bands.
uint8_t KindAbove(int a) {
  if (a <= 75) return kind::Hunter;
  if (a <= 85) return kind::Springy;
  if (a <= 95) return kind::Sticky;
  return kind::Crocodile;
}

uint8_t BonusDraw(TMainForm& form) {
  if (form.Random(20) != 0) return bonus::None;
  return form.Random(5) == 0 ? bonus::Life : bonus::Coin;
}

}  // namespace

void TMainForm::EnterCrossing() {
  Randomize();
  DXDraw().SetCursor(CursorShape::None);
  Frog.StickyTries = 0;
  if (MenuMusicRestart) {
    PlayMusic("2");
    MenuMusicRestart = false;
  }
  PlaySound("fon1");
  StartLevel();
}

// The order of creation is the order of moving: the scroll controller first.
void TMainForm::StartLevel() {
  Root().Clear();
  new TSample(*this);
  MaybeCreateLog(*this);
  MaybeCreateLog(*this);
  const int64_t level = std::max<int64_t>(Level, 1);
  new TStone(*this, 135.0 - 300.0 * static_cast<double>(level - 1));

  FireHeld = false;
  Pond.FrogDied = false;
  Feeding.TongueLength = 200;
  Feeding.StorkAllowed = true;
  Pond.StoneRow = 4 - 2 * level;
  Feeding.StorkGone = false;
  Frog.GooActive = false;
  Pond.FirstLayout = true;
  Pond.AdvanceOne = Pond.AdvanceTwo = false;
  Frog.CrocodileStruck = false;
  Frog.FrogEaten = false;
  Pond.Scrolling = false;
  Countdown2 = Countdown3 = Countdown4 = Countdown5 = Countdown6 = 0;
  Frog.FrogControls = true;
  LevelBanner = true;
  Pond.FrogGone = false;

  new TScrollBackground(*this);
  FillLilyGrid();
  CreateLilies();
  new TPlayerSprite(*this);
  CreateBottleAndPanels();
  EnableTimer(Timer1, false);
  SetTimerInterval(Timer1, 3300);
  EnableTimer(Timer1, true);
}

void TMainForm::FillLilyGrid() {
  Pond.Hunger = 0;
  TLilyGrid& g = Pond.LilyGrid;
  for (int r = -1; r <= 3; ++r)
    for (int c = 1; c <= kColumns; ++c) {
      g.SetBonus(c, r, bonus::None);
      const int a = Random(100);
      if (a < 61) {
        g.SetKind(c, r, static_cast<uint8_t>(Random(3) * 10));
        g.SetBonus(c, r, BonusDraw(*this));
      } else {
        g.SetKind(c, r, KindAbove(a));
      }
    }
  // The frog's first row: simple lilies only, so its first jump is a plain one.
  for (int c = 1; c <= kColumns; ++c) {
    g.SetKind(c, 4, static_cast<uint8_t>(Random(3) * 10));
    g.SetBonus(c, 4, bonus::None);
  }
}

void TMainForm::ShiftLilyGrid() {
  MaybeCreateLog(*this);
  MaybeCreateLog(*this);
  TLilyGrid& g = Pond.LilyGrid;
  for (int r = 4; r >= 0; --r)
    for (int c = 1; c <= kColumns; ++c) {
      g.SetKind(c, r, g.Kind(c, r - 1));
      g.SetBonus(c, r, g.Bonus(c, r - 1));
    }
  // Rows arriving in play hold more simple lilies, always of the first variant.
  for (int c = 1; c <= kColumns; ++c) {
    g.SetBonus(c, -1, bonus::None);
    const int a = Random(100);
    if (a < 71) {
      g.SetKind(c, -1, kind::Simple1);
      g.SetBonus(c, -1, BonusDraw(*this));
    } else {
      g.SetKind(c, -1, KindAbove(a));
    }
  }
}

void TMainForm::CreateLilies() {
  Frog.StickyTries = 0;
  auto create = [&](int c, int r) {
    if (c == 1 && r == Pond.StoneRow) return;  // the stone lies there
    new TKuvshinka(*this, c, r, Pond.LilyGrid.Kind(c, r));
  };
  if (Pond.FirstLayout) {
    Pond.FirstLayout = false;
    for (int r = 0; r <= 4; ++r)
      for (int c = 1; c <= kColumns; ++c) create(c, r);
    return;
  }
  // Row 0 still holds the lilies that came down from row -1, except after the
  // level's first scroll and after a two-row one: fill only its empty cells, so
  // no cell ever has two lilies.
  bool taken[kColumns + 1] = {};
  Root().ForEach<TKuvshinka>([&](TKuvshinka* l) {
    if (l->Row == 0 && l->Column >= 1 && l->Column <= kColumns && !l->Dying) taken[l->Column] = true;
  });
  for (int c = 1; c <= kColumns; ++c)
    if (!taken[c]) create(c, 0);
  for (int c = 1; c <= kColumns; ++c) create(c, -1);
}

void TMainForm::RebuildCell(int column, int row) {
  Root().ForEach<TKuvshinka>([&](TKuvshinka* l) {
    if (l->Column == column && l->Row == row) l->Dead();
  });
  Root().ForEach<TVeki_Kroko>([&](TVeki_Kroko* e) {
    if (e->Column == column && e->Row == row) e->Dead();
  });
  Root().Flush();
  if (column == 1 && row == Pond.StoneRow) return;
  new TKuvshinka(*this, column, row, Pond.LilyGrid.Kind(column, row));
}

void TMainForm::CrossingLogic() {
  if (!Pond.FrogGone) {
    if (NormalRound) {
      if (Pond.AdvanceOne) {
        Pond.StoneRow += 1;
        Pond.ScrollRows = 1;
        Pond.AdvanceOne = false;
        Pond.Scrolling = true;
      }
      if (Pond.AdvanceTwo) {
        Pond.StoneRow += 2;
        Pond.ScrollRows = 2;
        Pond.AdvanceTwo = false;
        Pond.Scrolling = true;
      }
    } else {
      Services.clock.Sleep(200);
      ChangeScene(4);
      return;
    }
  }
  if (Pond.FrogDied || Pond.Starved) {
    Services.clock.Sleep(500);
    if (Lives > 1) {
      Lives -= 1;
      StartLevel();
    } else {
      Services.clock.Sleep(200);
      GameOver = true;
    }
  }
  if (GameOver) ChangeScene(9);
}

void TMainForm::CrossingFrame() {
  const bool frozen = Paused || GameMainExit || LevelBanner || AppInactive;
  if (!frozen) SpriteEngine.Move(16);
  SpriteEngine.Dead();
  DXDraw().Fill(Color{0, 0, 0, 255});
  SpriteEngine.Draw();
  if (frozen)
    CrossingTexts(true);
  else
    Guarded([&] { CrossingLogic(); });
  CrossingTexts(false);
}

}  // namespace pondaro
