// How the high-score table writes its rows.
#pragma once

namespace pondaro {

class TMainForm;

// How a row stands: an entry only, one whose game can be watched, or the
// watchable row the keys or the pointer are on.
enum class TTableRow { Plain, Watchable, Chosen };

// The top of row i's text (0 for the first place).
constexpr int TableRowTop(int i) { return 217 + 37 * i; }

// Row i of the table: name and score, outlined on the row's dark band; the place
// just entered and the chosen row lit on a glowing band, a watchable row in green.
void DrawTableRow(TMainForm& form, int i, int textSize, TTableRow row = TTableRow::Plain);

}  // namespace pondaro
