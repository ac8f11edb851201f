// Where the game's files are: its Data/ and Music/ folders, and Config.cfg beside them.
#pragma once
#include <string>
#include <vector>

namespace pondaro {

struct GameFolder {
  std::string Path;                 // empty when no candidate had the game's files
  std::vector<std::string> Looked;  // every folder tried, in order
};

// The folders to look in, first choice first: the working folder, then the
// executable's own folder.
std::vector<std::string> GameFolderCandidates();

// The first candidate that holds both Data/ and Music/.
GameFolder FindGameFolder(const std::vector<std::string>& candidates);

// What to tell the player when no folder had them.
std::string GameFolderMissingMessage(const GameFolder& folder);

}  // namespace pondaro
