#include "menus/help_text.h"

#include "menus/text_looks.h"

namespace pondaro {

void DrawHelpLine(Display& d, int x, int y, const std::string& text, int size) {
  if (text.empty()) return;  // the About page's address, when the game has none
  if (size >= 12)
    d.DrawStyledText(x, y, text, size, looks::kHeading);
  else
    d.DrawStyledText(x, y, text, size + 2, looks::kSmallPrint);
}

}  // namespace pondaro
