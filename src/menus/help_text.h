// How the help pages write their lines.
#pragma once
#include <string>

#include "platform/display.h"

namespace pondaro {

// One line of a help page at the place and size the page gives it: headings
// (12 pt and up) in the menus' outlined style, the small print in a plain face
// two sizes up, outlined, over the page's calm pane.
void DrawHelpLine(Display& d, int x, int y, const std::string& text, int size);

}  // namespace pondaro
