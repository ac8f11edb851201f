#include "menus/table_rows.h"

#include <string>

#include "app/main_form.h"
#include "menus/screens.h"
#include "menus/text_looks.h"

namespace pondaro {

void DrawTableRow(TMainForm& form, int i, int textSize) {
  Display& d = form.DXDraw();
  const int y = 217 + 37 * i;
  const bool lit = form.Menus.NewPlace == i + 1;
  if (lit) {
    // The glowing band over the row's own, and the place's number again over it.
    if (const TPictureCollectionItem* band = form.ImageList.TryFind("HighScore_Table_row_lit"); band && band->Ready())
      band->Draw(d, 205, 180 + 37 * (i + 1), 0);
    const std::string number = "HighScore_" + std::to_string(i + 1);
    for (const TStill& s : HighScoreStills())
      if (s.Image == number)
        if (const TPictureCollectionItem* p = form.ImageList.TryFind(number); p && p->Ready())
          p->Draw(d, static_cast<int>(s.X) - p->FrameWidth() / 2, static_cast<int>(s.Y), 0);
  }
  const TextLook& look = lit ? looks::kTableLit : looks::kTable;
  d.DrawStyledText(370, y, form.HighScores[i].Name, textSize, look);
  d.DrawStyledText(620, y, std::to_string(form.HighScores[i].Score), textSize, look);
}

}  // namespace pondaro
