#include "game/lilies.h"

#include <cmath>

#include "app/main_form.h"
#include "game/bonuses.h"
#include "game/crocodile.h"
#include "game/water.h"

namespace pondaro {

namespace {

const char* KindNameOf(uint8_t k) {
  switch (k) {
    case kind::Hunter: return "hunter";
    case kind::Springy: return "pruginka";
    case kind::Sticky: return "liapuchka";
    case kind::Crocodile: return "kroko_yes";
    default: return "simple";
  }
}

std::string ImageOf(uint8_t k) {
  switch (k) {
    case kind::Simple2: return "kuvshinka_simple_2";
    case kind::Simple3: return "kuvshinka_simple_3";
    case kind::Hunter:
    case kind::Springy:
    case kind::Sticky: return std::string("kuvshinka_") + KindNameOf(k);
    default: return "kuvshinka_simple_1";  // variant 1 and the crocodile lily
  }
}

}  // namespace

TKuvshinka::TKuvshinka(TMainForm& form, int column, int row, uint8_t kindCode)
    : TImageSprite(&form.Root()), Form(form) {
  KindName = KindNameOf(kindCode);
  Image = &form.ImageList.Find(ImageOf(kindCode));
  const TPointD p = CellPos(column, row);
  if (kindCode == kind::Crocodile) new TVeki_Kroko(form, p.X, p.Y, row, column);
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = p.X - Width / 2;
  Y = p.Y - Height;
  SetZ(3);
  Column = column;
  Row = row;
  FramePos = 0;
  FrameCount = Image->FrameCount();
  FrameLooped = false;
  BaseSpeed = 0;
  if (KindName == "simple") {
    FrameLooped = true;
    // The frog's starting row begins at rest and half as fast as the rest.
    if (row == 4) {
      BaseSpeed = (form.Random(5) + 1) / 10000.0;
    } else {
      FramePos = form.Random(FrameCount);
      BaseSpeed = (form.Random(5) + 1) / 5000.0;
    }
  }
  FastPhase = true;
  FrameSpeed = BaseSpeed;
  EatSoundArmed = true;
}

// Rest at frame 0 (the bonus shows), sink fast, stay under at frame n - 2, come up fast.
void TKuvshinka::SinkingCycle() {
  const int n = FrameCount;
  if (FramePos >= 0 && FramePos < 1 && FastPhase) {
    FastPhase = false;
    FrameSpeed = BaseSpeed / 3;
    const uint8_t b = Form.Pond.LilyGrid.Bonus(Column, Row);
    if (b == bonus::Life) new TLife(Form, *this);
    if (b == bonus::Coin) new TDollar(Form, *this);
  }
  if (FramePos >= 1 && FramePos < n - 2 && !FastPhase) {
    FastPhase = true;
    FrameSpeed = BaseSpeed * 5;
    const int row = Row, column = Column;
    auto onThisLily = [row, column](auto* b) {
      if (b->Row == row && b->Column == column) b->Dead();
    };
    Form.Root().ForEach<TDollar>(onThisLily);
    Form.Root().ForEach<TLife>(onThisLily);
  }
  if (FramePos >= n - 2 && FramePos < n - 1 && FastPhase) {
    FastPhase = false;
    FrameSpeed = BaseSpeed / 3;
  }
  if (FramePos >= n - 1 && !FastPhase) {
    FastPhase = true;
    FrameSpeed = BaseSpeed * 5;
  }
}

void TKuvshinka::RemoveGoo() {
  Form.Root().ForEach<TLiapu>([](TLiapu* g) { g->Dead(); });
  Form.Frog.GooActive = false;
}

void TKuvshinka::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  PhaseSnapshot = FramePos;
  const int n = FrameCount;
  TPond& pond = Form.Pond;
  // Moved with the pond first: a bonus or goo made this tick is placed from here.
  if (pond.Scrolling) Y += 5 * pond.ScrollRows;
  if (KindName == "simple") SinkingCycle();
  if (KindName == "hunter") {
    // It snaps shut once, and only the lily that swallowed the frog ends its life,
    // when the swallow is over; a frog that jumped off in time is not taken.
    if (FramePos > 1 && EatSoundArmed) {
      Form.PlaySound("kuv_eat");
      EatSoundArmed = false;
    }
    if (FramePos == n - 1 && HoldsFrog) pond.FrogDied = true;
  }
  if (KindName == "liapuchka") {
    if (FramePos == n - 1) {
      RemoveGoo();
      FrameSpeed = 0;
      FramePos = 0;
    }
    // One goo sprite per lily; it follows the frog's facing itself.
    if (FramePos > 1 && !Form.Frog.GooActive) new TLiapu(Form, *this);
  }
  if (Y > 600) Dead();  // its goo goes with it
}

TVeki_Kroko::TVeki_Kroko(TMainForm& form, double x, double y, int row, int column)
    : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find("kroco_yes");
  PixelExact = true;
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = x;
  Y = y - Height - 40;
  SetZ(4);
  Row = row;
  Column = column;
  LastFrame = 0;
  FramePos = 0;
  FrameCount = Image->FrameCount();
  FrameLooped = true;
  FrameSpeed = 0;
}

void TVeki_Kroko::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  if (Form.Pond.Scrolling) Y += 5 * Form.Pond.ScrollRows;
  // Eyes that have frozen the frog stay until they strike, wherever they are.
  if (Y > 600 && FrameChanges < 4) {
    Dead();
    return;
  }
  const int frame = static_cast<int>(std::trunc(FramePos));
  if (frame != LastFrame) {
    LastFrame = frame;
    ++FrameChanges;
  }
  if (FrameChanges == 4) Form.Frog.FrogControls = false;
  if (FrameChanges == 5 && !Dying) {
    const int frogColumn = Form.Frog.FrogColumn + 1;
    Form.Root().ForEach<TKuvshinka>([frogColumn](TKuvshinka* l) {
      if (l->Column == frogColumn && l->Row == 4) l->Dead();
    });
    Dead();
    Form.Frog.CrocodileStruck = true;
    new TKroko(Form, 4, Column);
  }
}

TStone::TStone(TMainForm& form, double y) : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find("stone");
  PixelExact = true;
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = 0;
  Y = y;
  SetZ(2);
}

void TStone::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  if (Form.Pond.Scrolling) Y += 5 * Form.Pond.ScrollRows;
}

// Beneath every other pond sprite, logs made during play included.
TScrollBackground::TScrollBackground(TMainForm& form) : TBackgroundSprite(&form.Root()), Form(form) {
  SetMapDimensions(1, 1);
  Image = &form.ImageList.Find("bg1");
  X = 0;
  Y = 0;
  SetZ(0);
  Tile = true;
}

void TScrollBackground::Advance(int) {
  if (!Form.Pond.Scrolling) return;
  Y += 5 * Form.Pond.ScrollRows;
  // The water repeats every picture height; keeping Y small keeps it exact.
  if (Image && Image->FrameHeight() > 0 && Y >= Image->FrameHeight()) Y -= Image->FrameHeight();
}

}  // namespace pondaro
