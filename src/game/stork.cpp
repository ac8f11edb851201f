#include "game/stork.h"

#include "app/main_form.h"
#include "game/feeding_frog.h"

namespace pondaro {

namespace {
constexpr int kStep = 10;      // the legs, per tick
constexpr int kDiveStep = 30;  // the stork, per tick
}  // namespace

TNogaAist::TNogaAist(TMainForm& form, uint8_t side) : TImageSprite(&form.Root()), Form(form) {
  PixelExact = true;
  Image = &form.ImageList.Find("aist_leng");
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = side == 1 ? 0 : 800 - Width;
  Y = -Height;
  SetZ(800);
}

void TNogaAist::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  TFeeding& f = Form.Feeding;
  Y += f.StorkGone ? -kStep : kStep;
  // Gone once fully above the screen again, whatever the picture's height.
  if (f.StorkGone && Y <= -Height) Dead();
  if (Y > 600 - Height) {
    Y = 600 - Height;
    f.StorkLegsDown = true;
  }
}

TAist::TAist(TMainForm& form) : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find("aist");
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = form.Random(800 - Width);
  Y = -Height;
  SetZ(800);
  Descending = true;
  Dives = 0;
  FramePos = 0;
  FrameCount = Image->FrameCount();
  FrameLooped = true;
  FrameSpeed = 0.01;
  PixelExact = true;
}

// The stork turns at the top of the screen and at its lowest point by "reached or
// passed", so a picture whose height is not a multiple of the step still turns.
void TAist::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  Collision();  // where it was drawn last
  if (Descending) Y += kDiveStep;
  if (Descending && Y >= 0) Descending = false;
  if (!Descending) Y -= kDiveStep;
  if (!Descending && Y <= -Height) {
    X = Form.Random(800 - Width);
    Descending = true;
    ++Dives;
  }
  if (Dives >= 2) {
    Dead();
    Form.Feeding.StorkGone = true;
  }
}

void TAist::Touched(TSprite* sprite, bool& /*Done*/) {
  if (!dynamic_cast<TPlayerSpriteEat*>(sprite)) return;
  --Form.Lives;
  Form.PlaySound("aist_eat");
}

}  // namespace pondaro
