#include "menus/menu.h"

#include "app/main_form.h"

namespace pondaro {

void TMenu::CentreOnSurface(TMainForm& form, double dy) {
  X = (form.DXDraw().SurfaceWidth() - Width) / 2.0;
  Y = (form.DXDraw().SurfaceHeight() - Height) / 2.0 + dy;
}

}  // namespace pondaro
