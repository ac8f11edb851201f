#include "game/bonuses.h"

#include "app/main_form.h"
#include "game/frog.h"
#include "game/lilies.h"

namespace pondaro {

TBonus::TBonus(TMainForm& form, const char* image, const TKuvshinka& lily)
    : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find(image);
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  // At rest this is the cell's point: the lily stands centred on it.
  X = lily.X + lily.Width / 2 - Width / 2;
  Y = lily.Y + lily.Height - Height;
  Row = lily.Row;
  Column = lily.Column;
  SetZ(4);
  PixelExact = true;
}

void TBonus::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  Collision();
  if (Form.Pond.Scrolling) Y += 5 * Form.Pond.ScrollRows;
  // Nothing can take it once it is below the pond's bottom edge.
  if (Y > 600) Dead();
}

void TBonus::Touched(TSprite* sprite, bool&) {
  if (Dying || !dynamic_cast<TPlayerSprite*>(sprite)) return;
  Collect();
  Dead();
  // The lily shows it no more when it next surfaces.
  Form.Pond.LilyGrid.SetBonus(Column, Row, bonus::None);
}

void TDollar::Collect() {
  Form.Score += 100;
  Form.PlaySound("dollar");
}

void TLife::Collect() {
  Form.Lives += 1;
  Form.PlaySound("life");
}

}  // namespace pondaro
