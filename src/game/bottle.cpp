#include "game/bottle.h"

#include <algorithm>
#include <cmath>

#include "app/main_form.h"

namespace pondaro {

TBottle::TBottle(TMainForm& form) : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find("energi");
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = 800 - Width;
  Y = 0;
  SetZ(905);
  form.Pond.Starved = false;
}

void TBottle::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  TPond& pond = Form.Pond;
  if (pond.Hunger < 0) pond.Hunger = 0;
  // Hunger is a plain count: at level 1000 a frame is a thousand jumps.
  Frame = pond.Hunger / std::max(Form.Level, 1);
  pond.BottleEmpty = Frame == 0;
  if (Frame > Image->FrameCount() - 1) pond.Starved = true;
  if (Frame > PrevFrame) Form.PlaySound("bottle_up");
  if (Frame < PrevFrame) Form.PlaySound("bottle_down");
  PrevFrame = Frame;
}

// An overflowing bottle shows full rather than nothing.
void TBottle::Paint() {
  if (!Engine || !Engine->Surface) return;
  const int n = std::min(Frame, Image->FrameCount() - 1);
  Image->Draw(*Engine->Surface, static_cast<int>(std::lround(X)), static_cast<int>(std::lround(Y)), n);
}

TPanel::TPanel(TMainForm& form, double x, double widening) : TImageSprite(&form.Root()) {
  Image = &form.ImageList.Find("panel");
  Width = Image->FrameWidth() / 2 + static_cast<int>(std::lround(widening * 30));
  Height = Image->FrameHeight();
  X = x;
  Y = 0;
  SetZ(905);
}

void TMainForm::CreateBottleAndPanels() {
  new TBottle(*this);
  new TPanel(*this, 140, 1);
  new TPanel(*this, 525, 3);
  new TPanel(*this, 335, 1);
}

}  // namespace pondaro
