#include "game/insects.h"

#include <cmath>

#include "app/main_form.h"
#include "game/feeding_frog.h"
#include "game/trig.h"

namespace pondaro {

//                                image        mirror        sound        speed weave  y band    frames  pts ease skater
const TInsectKind TMushka::Row{"mushka", "mushka_", "mushka", 1, 50, 0, 0, 0.02, 5, 1, false};
const TInsectKind TMuha::Row{"muha", "muha_", "muha", 3, 30, 0, 0, 1.0 / 30, 10, 2, false};
const TInsectKind TKomar::Row{"komar", "komar_", "komar", 4, 10, 0, 0, 0.1, 15, 2, false};
const TInsectKind TVodomerka::Row{"vodomerka", "vodomerka_", "vodomerka", 5, 0, 220, 170, 0.01, 20, 3, true};
const TInsectKind TPchel::Row{"pchel", "pchel_", "pchel", 9, 0, 60, 330, 0.025, 25, 3, false};

// The random draws come in a fixed order, so that a seeded stage replays exactly.
TEat::TEat(TMainForm& form, const TInsectKind& kind) : TImageSprite(&form.Root()), Kind(kind), Form(form) {
  PixelExact = true;
  Direction = static_cast<uint8_t>(form.Random(2));
  Image = &form.ImageList.Find(Direction == 1 ? kind.Image : kind.MirrorImage);
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  // Just beyond the edge it comes in from.
  X = Direction == 1 ? 800 : -Width;
  if (kind.WeaveDivisor == 0) Y = form.Random(kind.YRange) + kind.YFrom;
  SetZ(1);
  Speed = form.Random(3) + kind.SpeedFrom;
  if (kind.WeaveDivisor != 0) {
    Phase = 0;
    Amplitude = form.Random(50);
    BaseY = form.Random(230) + 110;
  }
  FramePos = 0;
  FrameCount = Image->FrameCount();
  FrameLooped = true;
  FrameSpeed = kind.FrameSpeed;
  form.PlaySound(kind.Sound);
}

void TEat::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  if (Kind.WeaveDivisor != 0) Phase += Speed;
  X += Direction == 1 ? -Speed : Speed;
  if (Kind.WeaveDivisor != 0) Y = GameSin(static_cast<double>(Phase) / Kind.WeaveDivisor) * Amplitude + BaseY;
  if (X < -Width || X > 800) {
    Dead();
    if (Kind.FoodWhenEscaping && Form.Pond.BottleEmpty) Form.PlaySound("food");
    Form.StopSound(Kind.Sound);
  }
  Collision();
}

void TEat::Touched(TSprite* sprite, bool& /*Done*/) {
  if (Dying || !dynamic_cast<TKonec_Iazik*>(sprite)) return;
  Form.Score += Kind.Points;
  Form.Pond.Hunger -= Kind.HungerEase;
  if (Form.Pond.Hunger < 0) Form.Pond.Hunger = 0;
  Dead();
  if (!Kind.FoodWhenEscaping && Form.Pond.BottleEmpty) Form.PlaySound("food");
  Form.StopSound(Kind.Sound);
}

}  // namespace pondaro
