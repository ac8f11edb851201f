// Config.cfg: 25 encoded lines (display, music, sound, country, name, then ten
// name/score pairs), CRLF line ends, written atomically. Reading takes CR, LF and
// CRLF line ends alike.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "persist/high_scores.h"

namespace pondaro {

inline constexpr size_t kSettingsLines = 25;
// No value needs more than a fraction of this; a longer line is damage.
inline constexpr size_t kMaxSettingsLine = 4096;

struct SettingsValues {
  bool FullScreen = false, Music = true, Sound = true;
  std::string Country, Name;  // written padded; empty gives an empty line
  THighScoreTable Table = DefaultHighScores();
};

// The file's text, 25 CRLF-ended lines.
std::string FormatSettings(const SettingsValues& v);

// Writes `content` through a temporary file of its own in the same folder, flushed
// and renamed over `path`, so a failed write never leaves a torn file and two
// writers never share one. False with `error` set.
bool WriteFileAtomically(const std::string& path, const std::string& content, std::string& error);

// The decoded lines of the file, always 25 (lines past its end are empty);
// nothing when the file does not exist or cannot be read. A line longer than
// kMaxSettingsLine reads as the value that keeps its default ("false" for the
// display line, empty for the others) and reading goes on after it.
std::optional<std::vector<std::string>> ReadSettingsLines(const std::string& path);

// Decimal whole number in 32-bit range with an optional sign; nothing otherwise.
std::optional<int32_t> ParseScore(const std::string& text);

}  // namespace pondaro
