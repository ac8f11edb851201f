#include "game/bonuses.h"

#include "app/main_form.h"
#include "game/frog.h"

namespace pondaro {

TBonus::TBonus(TMainForm& form, const char* image, int row, int column) : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find(image);
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  const TPointD p = CellPos(column, row);
  X = p.X - Width / 2;
  Y = p.Y - Height;
  Row = row;
  Column = column;
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
