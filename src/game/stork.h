// The stork of the feeding stage: first its two legs walk down at the screen's
// edges, then the bird dives twice at the frog and leaves, and the legs go back up.
#pragma once
#include <cstdint>

#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;

class TNogaAist : public TImageSprite {
 public:
  // side 1: the left edge, side 2: the right edge.
  TNogaAist(TMainForm& form, uint8_t side);
  void Advance(int moveCount) override;

 private:
  TMainForm& Form;
};

class TAist : public TImageSprite {
 public:
  explicit TAist(TMainForm& form);
  void Advance(int moveCount) override;
  void Touched(TSprite* sprite, bool& Done) override;

  bool Descending = true;
  uint8_t Dives = 0;

 private:
  TMainForm& Form;
};

}  // namespace pondaro
