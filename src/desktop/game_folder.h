// Where the game's files are: its Data/ and Music/ folders, and where Config.cfg
// is kept.
#pragma once
#include <string>
#include <vector>

namespace pondaro {

struct GameFolder {
  std::string Path;                 // empty when no candidate had the game's files
  std::vector<std::string> Looked;  // every folder tried, in order
};

// The folders to look in, first choice first: the working folder, the
// executable's own folder, then the installed data folder (InstalledDataFolder).
std::vector<std::string> GameFolderCandidates();

// Where an installed game keeps its files: bin/../share/pondaro, as the build's
// install folders place them beside the executable's folder; empty when the
// executable's folder is unknown.
std::string InstalledDataFolder();

// The first candidate that holds both Data/ and Music/.
GameFolder FindGameFolder(const std::vector<std::string>& candidates);

// What to tell the player when no folder had them.
std::string GameFolderMissingMessage(const GameFolder& folder);

// The user's own settings folder: $XDG_CONFIG_HOME/pondaro, or
// HOME/.config/pondaro when that variable is unset, empty or relative (the XDG
// rules ignore relative paths); empty when no home folder is known either.
std::string UserSettingsFolder(const std::string& xdgConfigHome, const std::string& home);

// Where Config.cfg is kept for the game found in `gameFolder`. A folder the
// player built or unpacked keeps it beside the data: empty, the form's default.
// The installed data folder is shared and usually read-only, so that game keeps
// it in the user's settings folder, read from the environment.
std::string SettingsFolderFor(const std::string& gameFolder, const std::string& installedFolder);

}  // namespace pondaro
