// How the high-score table writes its rows.
#pragma once

namespace pondaro {

class TMainForm;

// Row i (0 for the first place) of the table: name and score, outlined on the
// row's dark band; the place just entered lit on a glowing band.
void DrawTableRow(TMainForm& form, int i, int textSize);

}  // namespace pondaro
