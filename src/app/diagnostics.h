// The game's lines on standard error, and the one rule for every message it shows
// or prints: bytes a terminal would act on (escape sequences, other controls,
// broken UTF-8) are written out as \xNN, so a damaged file's bytes never reach the
// terminal raw.
#pragma once
#include <string>
#include <string_view>

namespace pondaro {

// `text` with every control byte but line feed and tab, DEL, the C1 controls and
// every byte that is not part of valid UTF-8 written as \xNN.
std::string Printable(std::string_view text);

// Writes "PONDARO: " and Printable(message) as one line on stderr, in one write.
// A closed or full stderr is not the game's concern: nothing is retried.
void Diagnose(std::string_view message);

}  // namespace pondaro
