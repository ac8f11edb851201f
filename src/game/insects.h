// The food insects of the feeding stage. They cross the screen once, straight or
// weaving, buzzing; the tongue's tip eats them for points and eases the hunger.
#pragma once
#include "audio/flight_sound.h"
#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;

// One row per insect class: what tells a midge from a bee.
struct TInsectKind {
  const char* Image;        // flying right to left
  const char* MirrorImage;  // flying left to right
  const char* Sound;        // looped flight sound
  int SpeedFrom;            // Speed = Random(3) + SpeedFrom
  int WeaveDivisor;         // 0: flies straight
  int YFrom, YRange;        // straight flyers: Y = Random(YRange) + YFrom
  double FrameSpeed;
  int Points;
  int HungerEase;
  bool FoodWhenEscaping;  // the pond skater gulps as it gets away, never when eaten
};

// The food insects' common base: creation, flight, escape and being eaten.
class TEat : public TImageSprite, public TFlightSoundSource {
 public:
  TEat(TMainForm& form, const TInsectKind& kind);
  void Advance(int moveCount) override;
  void Touched(TSprite* sprite, bool& Done) override;
  const char* FlightSound() const override { return Kind.Sound; }

  int Phase = 0, Amplitude = 0, BaseY = 0;  // the weave; unused by straight flyers
  uint8_t Direction = 0;                    // 1 flies right to left, 0 left to right
  int Speed = 0;
  const TInsectKind& Kind;

 private:
  TMainForm& Form;
};

class TMushka : public TEat {
 public:
  static const TInsectKind Row;
  explicit TMushka(TMainForm& form) : TEat(form, Row) {}
};
class TMuha : public TEat {
 public:
  static const TInsectKind Row;
  explicit TMuha(TMainForm& form) : TEat(form, Row) {}
};
class TKomar : public TEat {
 public:
  static const TInsectKind Row;
  explicit TKomar(TMainForm& form) : TEat(form, Row) {}
};
class TVodomerka : public TEat {
 public:
  static const TInsectKind Row;
  explicit TVodomerka(TMainForm& form) : TEat(form, Row) {}
};
class TPchel : public TEat {
 public:
  static const TInsectKind Row;
  explicit TPchel(TMainForm& form) : TEat(form, Row) {}
};

}  // namespace pondaro
