#include "game/crocodile.h"

#include "app/main_form.h"

namespace pondaro {

TKroko::TKroko(TMainForm& form, int row, int column) : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find("kroko");
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  const TPointD p = CellPos(column, row);
  X = p.X - 150;
  Y = p.Y - Height;
  SetZ(805);
  FramePos = 0;
  FrameCount = Image->FrameCount();
  FrameLooped = false;
  FrameSpeed = 1.0 / 30;
}

void TKroko::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  // "Or more": a picture with more frames than expected still ends the strike.
  if (RoundHalfEven(FramePos) >= FrameCount - 1) {
    Form.Pond.FrogDied = true;
    if (!soundPlayed_) Form.PlaySound("kroco");
    soundPlayed_ = true;
  }
}

}  // namespace pondaro
