// The coin and the extra life that lie on a simple lily while it is afloat.
#pragma once
#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;

class TBonus : public TImageSprite {
 public:
  int Row = 0, Column = 0;
  void Advance(int moveCount) override;
  void Touched(TSprite* sprite, bool& Done) override;

 protected:
  TBonus(TMainForm& form, const char* image, int row, int column);
  // What the frog gets when it takes the bonus.
  virtual void Collect() = 0;
  TMainForm& Form;
};

class TDollar : public TBonus {
 public:
  TDollar(TMainForm& form, int row, int column) : TBonus(form, "dollar", row, column) {}

 protected:
  void Collect() override;
};

class TLife : public TBonus {
 public:
  TLife(TMainForm& form, int row, int column) : TBonus(form, "life", row, column) {}

 protected:
  void Collect() override;
};

}  // namespace pondaro
