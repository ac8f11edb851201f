// The energy bottle in the top right corner and the plates behind the status texts.
#pragma once
#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;

class TBottle : public TImageSprite {
 public:
  explicit TBottle(TMainForm& form);
  void Advance(int moveCount) override;
  void Paint() override;

  int Frame = 0;      // Hunger div Level
  int PrevFrame = 0;  // Frame of the previous tick

 private:
  TMainForm& Form;
};

class TPanel : public TImageSprite {
 public:
  // x: left edge; widening: how many 30 px steps wider than half the plate.
  TPanel(TMainForm& form, double x, double widening);
};

}  // namespace pondaro
