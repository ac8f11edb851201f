#include "menus/menu.h"

#include "app/main_form.h"

namespace pondaro {

void TMenu::CentreOnSurface(TMainForm& form, double dy) {
  X = (form.DXDraw().SurfaceWidth() - Width) / 2.0;
  Y = (form.DXDraw().SurfaceHeight() - Height) / 2.0 + dy;
}

TEnter_Name::TEnter_Name(TMainForm& form) : TMenu(form, "Enter_Name", 0, 0, 0) { CentreOnSurface(form); }

TEnter_Name_Send::TEnter_Name_Send(TMainForm& form) : TMenu(form, "Enter_Name_Send", 243, 362, 1) {}

}  // namespace pondaro
