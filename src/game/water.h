// What the water shows: ripples where the frog jumps, the splash of a fall, the
// floating logs, and the goo of a sticky lily.
#pragma once
#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;
class TKuvshinka;

// A one-shot picture drawn unscaled at its rounded position, frame by rounded
// position; it asks to die once the rounded frame runs past the last.
class TWaterRing : public TImageSprite {
 public:
  void Paint() override;
  int LastFrame = 0;

 protected:
  TWaterRing(TMainForm& form, const std::string& image);
  TMainForm& Form;
};

class TRazvod : public TWaterRing {
 public:
  // size: the lily kind's ripple class 1..3; column: grid column 1..4 of row 4.
  TRazvod(TMainForm& form, int size, int column);
  void Advance(int moveCount) override;
};

class TBrizgi : public TWaterRing {
 public:
  explicit TBrizgi(TMainForm& form);
  void Advance(int moveCount) override;
};

class TBrevno : public TImageSprite {
 public:
  TBrevno(TMainForm& form, double x, double y);
  void Advance(int moveCount) override;

 private:
  TMainForm& Form;
};

// The goo of the sticky lily `lily`, reaching towards the strained frog. It
// follows its lily: whatever removes the lily removes the goo.
class TLiapu : public TImageSprite {
 public:
  TLiapu(TMainForm& form, TKuvshinka& lily);
  void Advance(int moveCount) override;
  void OnDead() override;

 private:
  void Place();
  TMainForm& Form;
};

}  // namespace pondaro
