// The pond's own sprites: the water lilies, the crocodile eyes beside a crocodile
// lily, the goal stone and the scrolling water.
#pragma once
#include <cstdint>
#include <string>

#include "sprites/background_sprite.h"
#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;

class TKuvshinka : public TImageSprite {
 public:
  TKuvshinka(TMainForm& form, int column, int row, uint8_t kindCode);
  void Advance(int moveCount) override;

  std::string KindName;  // "simple", "hunter", "pruginka", "liapuchka" or "kroko_yes"
  double BaseSpeed = 0;
  bool FastPhase = true;
  bool EatSoundArmed = true;
  bool HoldsFrog = false;  // a hunter lily that has swallowed the frog
  int Column = 0, Row = 0;
  double PhaseSnapshot = 0;  // FramePos right after the animation step; the frog reads it

 private:
  void SinkingCycle();
  void RemoveGoo();
  TMainForm& Form;
};

class TVeki_Kroko : public TImageSprite {
 public:
  TVeki_Kroko(TMainForm& form, double x, double y, int row, int column);
  void Advance(int moveCount) override;

  int Column = 0, Row = 0;
  int LastFrame = 0;
  int FrameChanges = 0;

 private:
  TMainForm& Form;
};

class TStone : public TImageSprite {
 public:
  TStone(TMainForm& form, double y);
  void Advance(int moveCount) override;

 private:
  TMainForm& Form;
};

class TScrollBackground : public TBackgroundSprite {
 public:
  explicit TScrollBackground(TMainForm& form);
  void Advance(int moveCount) override;

 private:
  TMainForm& Form;
};

}  // namespace pondaro
