#include "game/feeding_frog.h"

#include <cmath>
#include <numbers>

#include "app/main_form.h"
#include "game/trig.h"

namespace pondaro {

namespace {

int Rounded(double v) { return static_cast<int>(std::lround(v)); }

constexpr int kTongueMax = 400;

}  // namespace

int AimTurn(double degrees) {
  if (!std::isfinite(degrees)) degrees = 180;
  const long turn = std::lrint(degrees * 256.0 / 360.0);  // halves to even, as the game rounds
  return static_cast<int>(((turn % 256) + 256) % 256);
}

// ---- TPlayerSpriteEat ----

TPlayerSpriteEat::TPlayerSpriteEat(TMainForm& form) : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find("frogeat");
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = 400 - Width / 2.0;
  Y = 600 - Height;
  SetZ(805);
  RestAnimation();
  form.Feeding.EatFrogX = 600.0;
  form.Feeding.TongueBaseY = 500.0;
  form.PlaySound("bell");
}

// Standing still on frame 0; walking sets the hop going again.
void TPlayerSpriteEat::RestAnimation() {
  FramePos = 0;
  FrameCount = Image->FrameCount();
  FrameLooped = false;
  FrameSpeed = 0;
}

void TPlayerSpriteEat::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  const TInputStates& in = Form.Input;
  TFeeding& f = Form.Feeding;
  if (in.isLeft || in.isButton[4]) {
    X -= 5;
    FrameSpeed = 0.02;
  }
  if (in.isRight || in.isButton[5]) {
    X += 5;
    FrameSpeed = 0.02;
  }
  // The offset stops turning once the aim has reached its bound on that side.
  if (in.isUp && Form.AimAngle > 120) Form.AimAngleOffset -= 5;
  if (in.isDown && Form.AimAngle < 240) Form.AimAngleOffset += 5;
  if (in.isButton[1] || Form.FireHeld) {
    f.TongueOut = true;
    Form.PlaySound("iazik");
    f.TongueLength += 30;
  } else {
    f.TongueLength -= 60;
  }
  if (f.TongueLength <= 0) f.TongueLength = 0;
  if (f.TongueLength >= kTongueMax) f.TongueLength = kTongueMax;
  if (X > 800 - Width) X = 800 - Width;
  if (X <= 0) X = 0;
  f.EatFrogX = X;
  // A hop that has reached its last frame lands.
  if (FramePos == FrameCount - 1) RestAnimation();
  switch (static_cast<int>(std::trunc(FramePos))) {
    case 0: f.TongueLift = 0; break;
    case 1: f.TongueLift = 25; break;
    case 2: f.TongueLift = 65; break;
    default: break;  // the landing frame keeps the mouth where it was
  }
}

void TPlayerSpriteEat::Paint() {
  if (!Engine || !Engine->Surface) return;
  Image->Draw(*Engine->Surface, Rounded(X), Rounded(Y), CurrentFrame());
}

// ---- TIazik ----

TIazik::TIazik(TMainForm& form) : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find("iazik");
  PixelExact = true;
  Width = Image->FrameWidth();
  Height = 2 * Image->FrameHeight();
  X = form.Feeding.EatFrogX + 70;
  Y = form.Feeding.TongueBaseY - form.Feeding.TongueLift;
  SetZ(1);
}

void TIazik::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  X = Form.Feeding.EatFrogX + 70;
  Y = Form.Feeding.TongueBaseY - Form.Feeding.TongueLift;
}

void TIazik::Paint() {
  if (!Engine || !Engine->Surface) return;
  Image->DrawRotatePivot(*Engine->Surface, Rounded(X), Rounded(Y), Image->FrameWidth(),
                         Image->FrameHeight() + Form.Feeding.TongueLength, 0, 0, 0, AimTurn(Form.AimAngle));
}

// ---- TKonec_Iazik ----

TKonec_Iazik::TKonec_Iazik(TMainForm& form) : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find("konec_iazika");
  PixelExact = true;
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = form.Feeding.EatFrogX + 68;
  Y = form.Feeding.TongueBaseY - form.Feeding.TongueLift;
  SetZ(1);
}

void TKonec_Iazik::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  const TFeeding& f = Form.Feeding;
  const double a = (Form.AimAngle - 90) * std::numbers::pi / 180;
  const double length = f.TongueLength + 30;
  X = f.EatFrogX + 68 - GameCos(a) * length;
  Y = f.TongueBaseY - f.TongueLift - GameSin(a) * length;
}

// Drawn centred on its reference point; the catch uses the box from that point.
void TKonec_Iazik::Paint() {
  if (!Engine || !Engine->Surface) return;
  Image->DrawRotatePivot(*Engine->Surface, Rounded(X), Rounded(Y), Image->FrameWidth(), Image->FrameHeight(), 0,
                         0.5, 0.5, AimTurn(Form.AimAngle + 180));
}

}  // namespace pondaro
