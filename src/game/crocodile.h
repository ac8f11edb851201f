// The crocodile that surfaces under a frog waiting too long on a crocodile lily.
#pragma once
#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;

class TKroko : public TImageSprite {
 public:
  TKroko(TMainForm& form, int row, int column);
  void Advance(int moveCount) override;

 private:
  TMainForm& Form;
  bool soundPlayed_ = false;
};

}  // namespace pondaro
