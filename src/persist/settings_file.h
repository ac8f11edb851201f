// Config.cfg: 25 encoded lines (display, music, sound, country, name, then ten
// name/score pairs), CRLF line ends, written atomically.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "persist/high_scores.h"

namespace pondaro {

inline constexpr int kSettingsLines = 25;

struct SettingsValues {
  bool FullScreen = false, Music = true, Sound = true;
  std::string Country, Name;  // written padded; empty gives an empty line
  THighScoreTable Table = DefaultHighScores();
};

// The file's text, 25 CRLF-ended lines.
std::string FormatSettings(const SettingsValues& v);

// Writes `content` through a temporary file in the same folder, flushed and renamed
// over `path`, so a failed write never leaves a torn file. False with `error` set.
bool WriteFileAtomically(const std::string& path, const std::string& content, std::string& error);

// The decoded lines of the file, always 25 (lines past its end are empty);
// nothing when the file does not exist or cannot be read.
std::optional<std::vector<std::string>> ReadSettingsLines(const std::string& path);

// Decimal whole number in 32-bit range with an optional sign; nothing otherwise.
std::optional<int32_t> ParseScore(const std::string& text);

}  // namespace pondaro
