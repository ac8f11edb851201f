#include "app/scene_sprites.h"

#include "app/main_form.h"

namespace pondaro {

TPlainSprite::TPlainSprite(TMainForm& form, const std::string& image, double x, double y, int z, bool pixelExact)
    : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find(image);
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = x;
  Y = y;
  SetZ(z);
  PixelExact = pixelExact;
}

TPalka::TPalka(TMainForm& form) : TPlainSprite(form, "palka", 0, 0, 800, true) { Advance(0); }

void TPalka::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  if (Form.Scene == 6) {
    X = Form.EditTextWidth + 400;
    Y = 440;
  } else if (Form.Scene == 9) {
    X = Form.EditTextWidth / 2.0 + 400;
    Y = 343;
  }
}

}  // namespace pondaro
