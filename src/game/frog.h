// The frog of the crossing: it sits on the pond's bottom row, turns, jumps
// sideways from lily to lily and forward while the pond scrolls under it.
#pragma once
#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;
class TKuvshinka;

class TPlayerSprite : public TImageSprite {
 public:
  explicit TPlayerSprite(TMainForm& form);
  void Advance(int moveCount) override;
  void Paint() override;
  void Touched(TSprite* sprite, bool& Done) override;

  bool MovingLeft = false, MovingRight = false;
  int SideProgress = 0;
  double RestY = 0;  // Y at rest on a lily

 private:
  void Turn();
  void MoveSideways();
  void Jump();
  void SpringLilies(int column);  // starts the animation of the lilies under the frog
  void Land(TKuvshinka& lily, int kindCode);
  void StopEyes(int keepColumn);
  TMainForm& Form;
};

}  // namespace pondaro
