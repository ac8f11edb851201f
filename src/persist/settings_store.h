// Config.cfg shared by every copy of the game that runs at once. Each save takes
// the lock beside the file, reads the file again, merges what other copies wrote
// since with this copy's own changes and writes the result atomically; an
// unreadable or read-only file is never written over.
#pragma once
#include <string>
#include <vector>

#include "persist/settings_file.h"

namespace pondaro {

// What this copy of the game knows of its Config.cfg (a member of the form).
struct TSettingsStore {
  // False once the file turned out unreadable or read-only: it is then left alone
  // for the rest of the run, and the player has been told once.
  bool Saving = true;
  // The program is ending: a problem is printed, no dialog waits for a click.
  bool Ending = false;
  // This copy's values at its last read or write of the file: whatever differs
  // from them now is this copy's own change.
  SettingsValues Synced;
};

// The values 25 decoded lines give. A score line that is not a whole number keeps
// that place's default; `problems`, when given, gets one line about each.
SettingsValues DecodeSettings(const std::vector<std::string>& lines, std::vector<std::string>* problems = nullptr);

// The ten best of this copy's table and of the entries another copy put in the
// file since `synced` (a score both hold is kept once; entries this copy dropped,
// by clearing the table or pushing them out, stay dropped). Among equal scores
// the other copy's entries come first: they were in the file first. With no
// other copy at work the result is `mine`.
THighScoreTable MergeTables(const THighScoreTable& mine, const THighScoreTable& synced,
                            const THighScoreTable& onDisk);
// Options this copy changed since `synced` take its value, the others the file's;
// the tables merge as above.
SettingsValues MergeSettings(const SettingsValues& mine, const SettingsValues& synced, const SettingsValues& onDisk);

struct SaveOutcome {
  enum Kind { Written, Refused, Failed } kind = Failed;
  SettingsValues values;  // Written: what the file now holds
  std::string message;    // Refused (the file must be left alone), Failed (the write went wrong)
};

// One save: lock, read again, merge, write atomically (links followed).
SaveOutcome SaveSettingsFile(const std::string& path, const SettingsValues& mine, const SettingsValues& synced);

// What the player is told when the file cannot be read or is read-only.
std::string UnreadableSettingsMessage(const std::string& path, const std::string& problem, bool atStart);
std::string ReadOnlySettingsMessage(const std::string& path);

}  // namespace pondaro
