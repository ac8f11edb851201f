// An animated picture: the base of every game object and menu item.
#pragma once
#include <cstdint>

#include "sprites/image_list.h"
#include "sprites/sprite.h"

namespace pondaro {

class TImageSprite : public TSprite {
 public:
  explicit TImageSprite(TSprite* parent);

  uint8_t Angle = 0;  // 256ths of a turn; 0 draws unrotated
  int Alpha = 255;    // 255 or more draws opaque
  int FrameCount = 0;
  bool FrameLooped = false;
  double FramePos = 0;
  double FrameSpeed = 0;  // frames per move-count unit
  int FirstFrame = 0;
  TPictureCollectionItem* Image = nullptr;
  bool PixelExact = false;  // collide only where opaque pixels overlap
  bool Tile = false;        // the box wraps around the visible area

  int CurrentFrame() const;
  // The box, shifted so that a frame of the image's size sits in its centre.
  TRect FrameRect() const;

  void Advance(int moveCount) override;
  void Paint() override;
  TRect BoxRect() const override;
  bool HitTest(TSprite* other) override;
};

}  // namespace pondaro
