// The feeding stage's frog at the bottom of the screen, its tongue and the tongue's
// tip, which is what catches the insects.
#pragma once
#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;

// Walks, hops, turns the aim and shoots the tongue; it moves first in every tick,
// so the tongue reads this tick's position and mouth height.
class TPlayerSpriteEat : public TImageSprite {
 public:
  explicit TPlayerSpriteEat(TMainForm& form);
  void Advance(int moveCount) override;
  void Paint() override;

 private:
  void RestAnimation();
  TMainForm& Form;
};

// The tongue's body: one picture hanging from its top-left corner, turned to the
// aim about that corner and stretched to the tongue's length.
class TIazik : public TImageSprite {
 public:
  explicit TIazik(TMainForm& form);
  void Advance(int moveCount) override;
  void Paint() override;

 private:
  TMainForm& Form;
};

// The tip, always 30 px beyond the tongue's length along the aim.
class TKonec_Iazik : public TImageSprite {
 public:
  explicit TKonec_Iazik(TMainForm& form);
  void Advance(int moveCount) override;
  void Paint() override;

 private:
  TMainForm& Form;
};

// The aim in the display's 256ths of a turn, reduced to 0..255.
int AimTurn(double degrees);

}  // namespace pondaro
