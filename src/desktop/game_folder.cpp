#include "desktop/game_folder.h"

#include <SDL_filesystem.h>
#include <SDL_stdinc.h>

#include <filesystem>

namespace pondaro {

namespace fs = std::filesystem;

std::vector<std::string> GameFolderCandidates() {
  std::vector<std::string> places = {"."};
  if (char* base = SDL_GetBasePath()) {
    std::string dir = base;
    SDL_free(base);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    places.push_back(dir);
  }
  return places;
}

GameFolder FindGameFolder(const std::vector<std::string>& candidates) {
  GameFolder found;
  for (const std::string& place : candidates) {
    std::error_code ec;
    found.Looked.push_back(place == "." ? fs::current_path(ec).string() : place);
    if (fs::is_directory(fs::path(place) / "Data", ec) && fs::is_directory(fs::path(place) / "Music", ec)) {
      found.Path = place;
      break;
    }
  }
  return found;
}

std::string GameFolderMissingMessage(const GameFolder& folder) {
  std::string text = "The game's Data and Music folders were not found. Looked in:";
  for (const std::string& place : folder.Looked) text += "\n" + place;
  return text;
}

}  // namespace pondaro
