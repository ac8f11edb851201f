#include "desktop/game_folder.h"

#include <SDL_filesystem.h>
#include <SDL_stdinc.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace pondaro {

namespace fs = std::filesystem;

namespace {

std::string ExecutableFolder() {
  std::string dir;
  if (char* base = SDL_GetBasePath()) {
    dir = base;
    SDL_free(base);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  }
  return dir;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// HOME, or the password database's entry when HOME is not set.
std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (home.empty())
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) home = pw->pw_dir;
  return home;
}

}  // namespace

// PONDARO_DATA_FROM_BIN comes from the build's install folders.
std::string InstalledDataFolder() {
  const std::string bin = ExecutableFolder();
  if (bin.empty()) return "";
  std::string folder = (fs::path(bin) / PONDARO_DATA_FROM_BIN).lexically_normal().string();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::vector<std::string> GameFolderCandidates() {
  std::vector<std::string> places = {"."};
  if (std::string bin = ExecutableFolder(); !bin.empty()) places.push_back(bin);
  if (std::string installed = InstalledDataFolder(); !installed.empty()) places.push_back(installed);
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

std::string UserSettingsFolder(const std::string& xdgConfigHome, const std::string& home) {
  if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') return xdgConfigHome + "/pondaro";
  if (!home.empty()) return (home.back() == '/' ? home : home + "/") + ".config/pondaro";
  return "";
}

std::string SettingsFolderFor(const std::string& gameFolder, const std::string& installedFolder) {
  std::error_code ec;
  // Also when the player started it from inside the installed folder.
  if (installedFolder.empty() || !fs::equivalent(gameFolder, installedFolder, ec)) return "";
  return UserSettingsFolder(Environment("XDG_CONFIG_HOME"), HomeFolder());
}

}  // namespace pondaro
