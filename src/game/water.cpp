#include "game/water.h"

#include "app/main_form.h"
#include "game/lilies.h"

namespace pondaro {

TWaterRing::TWaterRing(TMainForm& form, const std::string& image) : TImageSprite(&form.Root()), Form(form) {
  PixelExact = true;
  Image = &form.ImageList.Find(image);
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  FramePos = 0;
  FrameCount = Image->FrameCount();
  FrameLooped = false;
  FrameSpeed = 0.01;
}

// Frame by rounded position: the tick the ring asks to die shows nothing.
void TWaterRing::Paint() {
  if (!Engine || !Engine->Surface) return;
  Image->Draw(*Engine->Surface, RoundHalfEven(X), RoundHalfEven(Y), RoundHalfEven(FramePos));
}

TRazvod::TRazvod(TMainForm& form, int size, int column) : TWaterRing(form, "razvod" + std::to_string(size)) {
  const TPointD p = CellPos(column, 4);
  X = p.X - Width / 2.0 - 2;
  Y = p.Y - Height + (size == 2 ? 53 : 63);
  SetZ(2);
}

void TRazvod::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  LastFrame = RoundHalfEven(FramePos);
  if (LastFrame > FrameCount - 1) Dead();
  if (Form.Pond.Scrolling) Y += 5 * Form.Pond.ScrollRows;
}

TBrizgi::TBrizgi(TMainForm& form) : TWaterRing(form, "brizgi") {
  const TPointD p = CellPos(form.Frog.FrogColumn + 1, 4);
  X = p.X - Width / 2.0;
  Y = p.Y - Height + 30;
  SetZ(10);
  form.PlaySound("brizg");
}

// The life is lost only once the splash has played out.
void TBrizgi::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  if (LastFrame > FrameCount - 1) {
    Dead();
    Form.Pond.FrogDied = true;
  }
  LastFrame = RoundHalfEven(FramePos);
  if (Form.Pond.Scrolling) Y += 5 * Form.Pond.ScrollRows;
}

TBrevno::TBrevno(TMainForm& form, double x, double y) : TImageSprite(&form.Root()), Form(form) {
  PixelExact = true;
  Image = &form.ImageList.Find("brevno" + std::to_string(form.Random(2) + 1));
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = x;
  Y = y;
  SetZ(1);
}

void TBrevno::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  if (Form.Pond.Scrolling) Y += 5 * Form.Pond.ScrollRows;
  // Gone below the pond: no reason to keep it over a long game.
  if (Y > 600) Dead();
}

TLiapu::TLiapu(TMainForm& form, TKuvshinka& lily) : TImageSprite(&form.Root()), Form(form) {
  PixelExact = true;
  SetZ(4);
  Follow(lily);
  Place();
  form.Frog.GooActive = true;
}

void TLiapu::OnDead() { Form.Frog.GooActive = false; }

// Strands towards the side the frog pulls, anchored to the lily's box.
void TLiapu::Place() {
  static const char* const kImages[3] = {"liapuchka_l", "liapuchka_p", "liapuchka_c"};
  const TSprite* lily = Leader();
  const int facing = Form.Frog.FrogFacing;
  if (!lily || facing < 0 || facing > 2) return;
  Image = &Form.ImageList.Find(kImages[facing]);
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = facing == 0 ? lily->X + 80 - Width : lily->X;
  Y = facing == 2 ? lily->Y + 62 - Height : lily->Y;
}

void TLiapu::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  Place();
}

}  // namespace pondaro
