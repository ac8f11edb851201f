// Config.cfg: 25 encoded lines (display, music, sound, country, name, then ten
// name/score pairs), CRLF line ends, written atomically. Reading takes CR, LF and
// CRLF line ends alike. A symlinked Config.cfg (dotfile managers keep them so)
// stays a link: its target is read and replaced.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "persist/high_scores.h"

namespace pondaro {

inline constexpr size_t kSettingsLines = 25;
// No value needs more than a fraction of this; a longer line is damage.
inline constexpr size_t kMaxSettingsLine = 4096;
// Reading stops here: a file that never ends must not hold up the start.
inline constexpr size_t kMaxSettingsBytes = kSettingsLines * (kMaxSettingsLine + 2);

struct SettingsValues {
  bool FullScreen = false, Music = true, Sound = true;
  std::string Country, Name;  // written padded; empty gives an empty line
  THighScoreTable Table = DefaultHighScores();
};

// The file's text, 25 CRLF-ended lines.
std::string FormatSettings(const SettingsValues& v);

// Writes `content` through a temporary file of its own in the same folder, flushed
// and renamed over `path`, so a failed write never leaves a torn file and two
// writers never share one. A symlink at `path` is followed: the target is
// replaced, keeping its permissions, and the link stays. False with `error` set.
bool WriteFileAtomically(const std::string& path, const std::string& content, std::string& error);

// Creates the folder `path` and any missing folders above it, each one private to
// the user (0700) as the XDG rules ask; folders that exist keep their permissions.
// False with `error` set.
bool MakeFolders(const std::string& path, std::string& error);

// The path a chain of symlinks at `path` ends in (`path` itself when it is no
// link); the end may not exist yet.
std::string ResolveLinks(const std::string& path);

struct SettingsRead {
  enum Kind { Missing, Unreadable, Read } kind = Missing;
  std::vector<std::string> lines;  // Read: always 25
  std::string problem;             // Unreadable: why, for the player
};

// Only a regular file is read (a FIFO, a device or a folder is Unreadable; none of
// them can hold the game up), and at most kMaxSettingsBytes of it: lines past the
// file's end or past that limit read as empty. A line longer than
// kMaxSettingsLine reads as the value that keeps its default ("false" for the
// display line, empty for the others) and reading goes on after it.
SettingsRead ReadSettingsFile(const std::string& path);

// The decoded lines of ReadSettingsFile; nothing when the file is missing or unreadable.
std::optional<std::vector<std::string>> ReadSettingsLines(const std::string& path);

// True when the file at `path` (links followed) exists and must not be replaced:
// nobody may write it (its mode has no write bit, which even root respects here)
// or this user may not.
bool IsReadOnlyFile(const std::string& path);

// Decimal whole number in 32-bit range with an optional sign; nothing otherwise.
std::optional<int32_t> ParseScore(const std::string& text);

}  // namespace pondaro
