// The replays kept beside Config.cfg, in replays/: one for each game whose score
// entered the local table. A row and its replay are matched by name and score (the
// newer replay for the upper of two equal rows), so Config.cfg's format stays as
// it is and a missing replay only means nothing to watch.
#pragma once
#include <array>
#include <string>

#include "replay/replay_file.h"

namespace pondaro {

class TMainForm;

std::string ShelfFolder(const TMainForm& form);
// Keeps the game's replay when its score is in the table, and lets go of the
// replays of rows that left it (scoring below the tenth place now; a replay tied
// with the tenth goes when the table moves past it). A failure is reported on
// stderr: the game goes on.
void KeepIfInTable(const TMainForm& form, const TReplay& replay);
// Lets go of every replay no row of the table matches (after the table was cleared).
void PruneShelf(const TMainForm& form);
// The replay file of each place of the table; "" where there is none.
std::array<std::string, 10> ShelfRows(const TMainForm& form);
// The highest place's replay, or "" when no row has one.
std::string BestReplay(const TMainForm& form);

}  // namespace pondaro
