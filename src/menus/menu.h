// TMenu: dialog panels, captions and marks. Each is a picture drawn 1:1 at a fixed
// place and depth; a dialog removes all of them at once when it closes.
#pragma once
#include <string>

#include "app/scene_sprites.h"

namespace pondaro {

class TMenu : public TPlainSprite {
 public:
  // Sized to the picture's frame, top-left at (x, y). Throws when the picture is missing.
  TMenu(TMainForm& form, const std::string& image, double x, double y, int z)
      : TPlainSprite(form, image, x, y, z) {}

 protected:
  // Centres the sprite on the surface, shifted by dy. The halves are kept exact:
  // the engine truncates when it draws.
  void CentreOnSurface(TMainForm& form, double dy = 0);
};

}  // namespace pondaro
