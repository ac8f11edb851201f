// The coin and the extra life that lie on a simple lily while it is afloat.
#pragma once
#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;
class TKuvshinka;

class TBonus : public TImageSprite {
 public:
  int Row = 0, Column = 0;
  void Advance(int moveCount) override;
  void Touched(TSprite* sprite, bool& Done) override;

 protected:
  // On `lily` as it is now, centred with its bottom on the lily's bottom.
  TBonus(TMainForm& form, const char* image, const TKuvshinka& lily);
  // What the frog gets when it takes the bonus.
  virtual void Collect() = 0;
  TMainForm& Form;
};

class TDollar : public TBonus {
 public:
  TDollar(TMainForm& form, const TKuvshinka& lily) : TBonus(form, "dollar", lily) {}

 protected:
  void Collect() override;
};

class TLife : public TBonus {
 public:
  TLife(TMainForm& form, const TKuvshinka& lily) : TBonus(form, "life", lily) {}

 protected:
  void Collect() override;
};

}  // namespace pondaro
