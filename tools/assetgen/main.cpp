// assetgen GAME_DIR [--png OUTDIR]
//
// Draws every picture and synthesises every sound of the game, then writes
// GAME_DIR/Data/Graphic.dxg, GAME_DIR/Data/Music.dxw and the loose files
// (icons, songs). With --png, also writes each picture as OUTDIR/NAME.png, each
// sound as OUTDIR/NAME.wav and the loose files under OUTDIR, to look at and
// listen to.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "registry.h"
#include "sprites/collection_file.h"

namespace fs = std::filesystem;
using namespace pondaro;
using namespace pondaro::assetgen;

namespace {

// Written beside the target and renamed, so an interrupted run never leaves a
// half-written file that the build would take as up to date.
void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  fs::path tmp = path;
  tmp += ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + tmp.string());
  }
  fs::rename(tmp, path);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The game looks names up without regard to case, so two names that differ only
// in case would hide one another.
template <typename Item>
void SortAndCheck(std::vector<Item>& items, const char* what) {
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.Name < b.Name; });
  for (size_t i = 0; i < items.size(); ++i)
    for (size_t j = i + 1; j < items.size(); ++j)
      if (Lower(items[i].Name) == Lower(items[j].Name))
        throw std::runtime_error(std::string(what) + " '" + items[i].Name + "' is made twice");
}

std::vector<CollectionRecord> PictureRecords(const std::vector<PictureItem>& pictures) {
  std::vector<CollectionRecord> out;
  for (const PictureItem& p : pictures) {
    CollectionRecord r;
    r.Name = p.Name;
    r.PatternWidth = p.PatternWidth;
    r.PatternHeight = p.PatternHeight;
    r.SkipWidth = p.SkipWidth;
    r.SkipHeight = p.SkipHeight;
    r.Transparent = p.Transparent;
    r.Payload = p.Png;
    out.push_back(std::move(r));
  }
  return out;
}

std::vector<CollectionRecord> SoundRecords(const std::vector<SoundItem>& sounds) {
  std::vector<CollectionRecord> out;
  for (const SoundItem& s : sounds) {
    CollectionRecord r;
    r.Name = s.Name;
    r.Looped = s.Looped;
    r.MaxPlayingCount = s.MaxPlayingCount;
    r.Payload = s.Wav;
    out.push_back(std::move(r));
  }
  return out;
}

}  // namespace

namespace pondaro::assetgen {
// Filled before main() by the modules' registrations.
std::vector<ModuleFunction>& Modules() {
  static std::vector<ModuleFunction> modules;
  return modules;
}
}  // namespace pondaro::assetgen

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--png")) {
    std::fprintf(stderr, "usage: assetgen GAME_DIR [--png OUTDIR]\n");
    return 2;
  }
  try {
    const fs::path game = argv[1];
    Assets assets;
    for (ModuleFunction add : Modules()) add(assets);

    SortAndCheck(assets.Pictures, "picture");
    SortAndCheck(assets.Sounds, "sound");
    WriteFile(game / "Data" / "Graphic.dxg", WriteCollection(CollectionKind::Images, PictureRecords(assets.Pictures)));
    WriteFile(game / "Data" / "Music.dxw", WriteCollection(CollectionKind::Sounds, SoundRecords(assets.Sounds)));
    for (const FileItem& f : assets.Files) WriteFile(game / f.Path, f.Bytes);

    if (argc == 4) {
      const fs::path look = argv[3];
      for (const PictureItem& p : assets.Pictures) WriteFile(look / (p.Name + ".png"), p.Png);
      for (const SoundItem& s : assets.Sounds) WriteFile(look / (s.Name + ".wav"), s.Wav);
      // Under their own paths: the icon's sizes share one file name.
      for (const FileItem& f : assets.Files) WriteFile(look / f.Path, f.Bytes);
    }
    std::printf("assetgen: %zu pictures, %zu sounds, %zu files\n", assets.Pictures.size(), assets.Sounds.size(),
                assets.Files.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
