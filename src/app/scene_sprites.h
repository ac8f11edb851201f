// The small sprites the shell itself shows: a plain picture and the text caret.
#pragma once
#include "sprites/image_sprite.h"

namespace pondaro {

class TMainForm;

// An image sprite sized to its picture's frame, drawn at (x, y) with depth z.
class TPlainSprite : public TImageSprite {
 public:
  TPlainSprite(TMainForm& form, const std::string& image, double x, double y, int z, bool pixelExact = false);

 protected:
  TMainForm& Form;
};

// The blinking text caret; it follows the end of the text being typed.
class TPalka : public TPlainSprite {
 public:
  explicit TPalka(TMainForm& form);
  void Advance(int moveCount) override;
};

}  // namespace pondaro
