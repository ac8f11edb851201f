// The scroll controller: an invisible sprite, moved before every other pond
// sprite, that counts a scroll's 150 px and then shifts the grid.
#pragma once
#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;

class TSample : public TImageSprite {
 public:
  explicit TSample(TMainForm& form);
  void Advance(int moveCount) override;

 private:
  void EndScroll();
  TMainForm& Form;
};

}  // namespace pondaro
