// The menus' plates and buttons: the leaf-green plate of the dialogs and the
// name-entry panel, the boxes sunk into it, and the glossy pills of the dialogs'
// buttons and the options' marks.
#pragma once
#include "canvas.h"

namespace pondaro::assetgen {

// The leaf-green plate of the dialogs and the name-entry panel: a rim lit from the
// top left, a header band in the rim's green above headerBottom, a cream card below.
struct PlateShape {
  double x, y, w, h, r, headerBottom;
};
void DrawPlate(cairo_t* cr, const PlateShape& plate);

// A box sunk into a plate: pale inside (dark for light text), shaded along its
// top and left edges.
struct Field {
  double x, y, w, h, r;
};
void DrawInset(cairo_t* cr, const Field& field, bool dark = false);

// A glossy leaf-green pill (the dialogs' buttons, the options' marks): a soft
// shadow, a lit gradient, a dark outline and a gloss band; brighter when `lit`.
void DrawPill(cairo_t* cr, double l, double t, double w, double h, double radius, bool lit);

}  // namespace pondaro::assetgen
