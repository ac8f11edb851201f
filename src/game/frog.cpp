#include "game/frog.h"

#include <algorithm>
#include <cmath>

#include "app/main_form.h"
#include "game/lilies.h"
#include "game/water.h"

namespace pondaro {

namespace {

constexpr double kBreathing = 0.002;     // frames per move unit at rest
constexpr double kLilyStart = 1.0 / 150;  // a hunter, springy or sticky lily set going
constexpr int kStrainReach = 104;          // the level-4 frog's height

}  // namespace

TPlayerSprite::TPlayerSprite(TMainForm& form) : TImageSprite(&form.Root()), Form(form) {
  TFrogState& f = form.Frog;
  f.FrogColumn = form.Random(4);
  Image = &form.ImageList.Find("frog");
  const TPointD cell = CellPos(f.FrogColumn + 1, 4);
  // The frog grows up to level 5, then keeps its picture's size.
  const int64_t level = std::max<int64_t>(form.Level, 1);
  if (level < 5) {
    Width = static_cast<int>(11 * (level - 1) + 34);
    Height = static_cast<int>(17 * (level - 1) + 53);
    RestY = cell.Y - 30 - (2 * level - 2);
  } else {
    Width = Image->FrameWidth();
    Height = Image->FrameHeight();
    RestY = cell.Y - 50;
  }
  X = cell.X;
  Y = RestY;
  SetZ(5);
  f.FrogFacing = 2;
  f.JumpEndFrame = 2;
  FramePos = 1.0;
  FrameCount = Image->FrameCount();
  FrameLooped = false;
  FrameSpeed = kBreathing;
  f.FrogX = X;
  f.FrogY = Y;
  SideProgress = 0;
  MovingLeft = MovingRight = false;
  f.RippleSizeHere = 1;
  form.PlaySound("frog_bir");
}

// Drawn about its centre, which is its position; facing up, left or right.
void TPlayerSprite::Paint() {
  if (!Engine || !Engine->Surface) return;
  int angle;
  switch (Form.Frog.FrogFacing) {
    case 0: angle = 192; break;
    case 1: angle = 64; break;
    case 2: angle = 0; break;
    default: return;
  }
  Image->DrawRotate(*Engine->Surface, static_cast<int>(std::lround(X)), static_cast<int>(std::lround(Y)), Width,
                    Height, static_cast<int>(std::trunc(FramePos)), angle);
}

void TPlayerSprite::Turn() {
  TFrogState& f = Form.Frog;
  const TInputStates& in = Form.Input;
  auto face = [&](bool held, uint8_t& countdown, int facing) {
    if (!held || countdown != 0) return;
    if (f.FrogFacing != facing) f.StickyTries = 0;
    f.FrogFacing = facing;
    countdown = 3;
  };
  face(in.isLeft, Form.Countdown2, 0);
  face(in.isRight, Form.Countdown3, 1);
  face(in.isUp, Form.Countdown4, 2);
}

void TPlayerSprite::MoveSideways() {
  TFrogState& f = Form.Frog;
  if (SideProgress < 150) {
    if (MovingLeft) {
      FramePos = FrameCount - 1;
      SideProgress += 5;
      X -= 5;
    }
    if (MovingRight) {
      FramePos = FrameCount - 1;
      SideProgress += 5;
      X += 5;
    }
    return;
  }
  if (MovingLeft) {
    FramePos = 1.0;
    MovingLeft = false;
    new TRazvod(Form, f.RippleSizeHere, f.FrogColumn + 1);
  }
  if (MovingRight) {
    FramePos = 1.0;
    MovingRight = false;
    new TRazvod(Form, f.RippleSizeHere, f.FrogColumn + 1);
  }
}

void TPlayerSprite::SpringLilies(int column) {
  Form.Root().ForEach<TKuvshinka>([column](TKuvshinka* l) {
    if (l->Row == 4 && l->Column == column) l->FrameSpeed = kLilyStart;
  });
}

// Every attempt scores, costs energy and ripples the water, even one that a
// sticky lily holds back.
void TPlayerSprite::Jump() {
  TFrogState& f = Form.Frog;
  TPond& pond = Form.Pond;
  Form.Score += 5;
  new TRazvod(Form, f.RippleSizeHere, f.FrogColumn + 1);
  f.JumpEndFrame = FrameCount - 1;
  FrameSpeed = 0.1;
  pond.Hunger += 1;
  Form.FireHeld = false;
  Form.Countdown5 = 3;
  const int column = f.FrogColumn + 1;
  const uint8_t here = pond.LilyGrid.Kind(column, 4);
  const bool held = here == kind::Sticky && f.StickyTries < 3;
  if (!held) {
    // Every hop starts from the frog's rest on its cell, the strained pose included.
    X = CellPos(column, 4).X;
    Y = RestY;
  }
  if (f.FrogFacing == 0 || f.FrogFacing == 1) {
    pond.ScrollRows = 1;
    if (held) {
      SpringLilies(column);
      ++f.StickyTries;
      return;
    }
    f.StickyTries = 0;
    // Leaving a crocodile lily sideways leaves its eyes behind, as a forward jump does.
    StopEyes(0);
    SideProgress = 0;
    if (f.FrogFacing == 0) {
      MovingLeft = true;
      f.FrogColumn -= 1;
    } else {
      MovingRight = true;
      f.FrogColumn += 1;
    }
    return;
  }
  if (here == kind::Springy) {
    // A throw that would carry the frog past the far bank lands it there instead.
    if (pond.StoneRow + 2 <= kLastRow) pond.AdvanceTwo = true;
    SpringLilies(column);
  }
  if (held) {
    SpringLilies(column);
    ++f.StickyTries;
    return;
  }
  f.StickyTries = 0;
  if (!pond.AdvanceTwo) pond.AdvanceOne = true;
  // The eyes move with their lily's row at once; the lilies follow at the scroll's end.
  const int rows = pond.AdvanceOne ? 1 : 2;
  Form.Root().ForEach<TVeki_Kroko>([rows](TVeki_Kroko* e) { e->Row += rows; });
}

void TPlayerSprite::StopEyes(int keepColumn) {
  Form.Root().ForEach<TVeki_Kroko>([keepColumn](TVeki_Kroko* e) {
    if (e->Column == keepColumn && e->Row == 4) {
      e->FrameSpeed = 0.002;
    } else {
      e->FrameSpeed = 0;
      e->FramePos = 0;
      e->FrameChanges = 0;
    }
  });
}

void TPlayerSprite::Land(TKuvshinka& lily, int kindCode) {
  TFrogState& f = Form.Frog;
  TPond& pond = Form.Pond;
  const int column = f.FrogColumn + 1;
  if (IsSimpleKind(static_cast<uint8_t>(kindCode))) {
    if (lily.PhaseSnapshot >= 2) {
      pond.FrogGone = true;
      Dead();
      new TBrizgi(Form);
    }
  } else if (kindCode == kind::Hunter) {
    lily.FrameSpeed = kLilyStart;
    if (lily.FramePos > 1) {
      lily.HoldsFrog = true;
      f.FrogEaten = true;
      pond.FrogGone = true;
      Dead();
    }
  } else if (kindCode == kind::Crocodile) {
    StopEyes(column);
  } else if (kindCode == kind::Sticky) {
    const TPointD cell = CellPos(column, 4);
    if (lily.PhaseSnapshot >= 1 && lily.PhaseSnapshot < 3) {
      // The strained pose, pulled away from the lily towards where it faces. The
      // pull is a level-4 frog's at most: the full-grown frog stays by its goo.
      const int pull = std::min(Height, kStrainReach);
      FramePos = 3.0;
      if (f.FrogFacing == 0) X = cell.X - 38 - pull;
      if (f.FrogFacing == 1) X = cell.X + 25 + pull;
      if (f.FrogFacing == 2) Y = RestY - 18 - pull;
    } else {
      FramePos = 1.0;
      X = cell.X;
      Y = RestY;
    }
  }
  if (kindCode != kind::Crocodile) StopEyes(0);
}

void TPlayerSprite::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  TFrogState& f = Form.Frog;
  TPond& pond = Form.Pond;
  f.RippleSizeHere = RippleSizeOf(pond.LilyGrid.Kind(f.FrogColumn + 1, 4));
  f.RippleSizeAhead = RippleSizeOf(pond.LilyGrid.Kind(f.FrogColumn + 1, 3));

  if (FramePos >= f.JumpEndFrame && !pond.Scrolling) {
    f.JumpEndFrame = 2;
    FramePos = 0;
    if (!MovingLeft && !MovingRight && !f.GooActive) Form.PlaySound("kvak");
    FrameSpeed = kBreathing;
  }
  if (f.CrocodileStruck || !f.FrogControls) return;

  if (!f.FrogEaten) Turn();
  if (f.StickyTries == 0) MoveSideways();
  const bool fire = Form.Input.isButton[1] || Form.FireHeld;
  const bool atEdge = (f.FrogColumn == 0 && f.FrogFacing == 0) || (f.FrogColumn == 3 && f.FrogFacing == 1);
  // Beside the stone the far bank is reached sideways: the pond goes no further.
  const bool pastBank = f.FrogFacing == 2 && pond.StoneRow >= kLastRow;
  // One press, one hop: a key still held hops again only once the frog has landed.
  const bool hopping = MovingLeft || MovingRight;
  if (fire && !f.FrogEaten && Form.Countdown5 == 0 && !pond.Scrolling && !hopping && !atEdge && !pastBank) Jump();

  f.FrogX = X;
  f.FrogY = Y;
  X = std::clamp(X, 170.0, 620.0);
  if (f.FrogColumn > 3) f.FrogColumn = 3;

  if (!MovingLeft && !MovingRight && !pond.Scrolling) {
    const int column = f.FrogColumn + 1;
    const int kindCode = pond.LilyGrid.Kind(column, 4);
    Form.Root().ForEach<TKuvshinka>([&](TKuvshinka* l) {
      if (l->Row == 4 && l->Column == column && !Dying) Land(*l, kindCode);
    });
  }
  if (pond.Starved || pond.FrogGone) Dead();
  Collision();
}

void TPlayerSprite::Touched(TSprite* sprite, bool& Done) {
  const TPond& pond = Form.Pond;
  if (dynamic_cast<TStone*>(sprite) && pond.ScrollRows != 2 && !pond.Scrolling && Form.Frog.StickyTries == 0)
    Form.NormalRound = false;
  Done = false;
}

}  // namespace pondaro
