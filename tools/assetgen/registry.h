// What the generator produces, and how each module hands its work in.
//
// Every family of pictures or sounds lives in its own art_*.cpp or sounds_*.cpp
// file with one entry point `void AddSomething(Assets&)`, registered with
// ASSETGEN_MODULE below. A module only appends; main.cpp sorts and writes.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pondaro::assetgen {

struct PictureItem {
  std::string Name;
  std::vector<uint8_t> Png;
  // Frame size; 0 means the whole picture. Frames are laid out in a grid.
  int PatternWidth = 0, PatternHeight = 0;
  int SkipWidth = 0, SkipHeight = 0;
  // False for opaque backdrops, so the game can draw them without blending.
  bool Transparent = true;
};

struct SoundItem {
  std::string Name;
  std::vector<uint8_t> Wav;
  bool Looped = false;
  int MaxPlayingCount = 0;  // 0: no limit on overlapping copies
};

// A file written as it is, relative to the game directory (icon, songs).
struct FileItem {
  std::string Path;
  std::vector<uint8_t> Bytes;
};

struct Assets {
  std::vector<PictureItem> Pictures;
  std::vector<SoundItem> Sounds;
  std::vector<FileItem> Files;

  // Single frame picture.
  void Picture(std::string name, std::vector<uint8_t> png, bool transparent = true) {
    PictureItem p;
    p.Name = std::move(name);
    p.Png = std::move(png);
    p.Transparent = transparent;
    Pictures.push_back(std::move(p));
  }
  // Frames of frameW x frameH laid out in a row (or grid) without gaps.
  void Frames(std::string name, std::vector<uint8_t> png, int frameW, int frameH) {
    PictureItem p;
    p.Name = std::move(name);
    p.Png = std::move(png);
    p.PatternWidth = frameW;
    p.PatternHeight = frameH;
    Pictures.push_back(std::move(p));
  }
  void Sound(std::string name, std::vector<uint8_t> wav, bool looped, int maxPlaying) {
    SoundItem s;
    s.Name = std::move(name);
    s.Wav = std::move(wav);
    s.Looped = looped;
    s.MaxPlayingCount = maxPlaying;
    Sounds.push_back(std::move(s));
  }
  void File(std::string path, std::vector<uint8_t> bytes) {
    Files.push_back({std::move(path), std::move(bytes)});
  }
};

// Modules register themselves, so that a new family is one new file:
//
//   void AddFrogArt(Assets& assets) { ... }
//   ASSETGEN_MODULE(AddFrogArt);
//
// main.cpp runs every registered module; the order does not matter, as it sorts
// the items by name before writing.
using ModuleFunction = void (*)(Assets&);
std::vector<ModuleFunction>& Modules();

struct ModuleRegistration {
  explicit ModuleRegistration(ModuleFunction add) { Modules().push_back(add); }
};

#define ASSETGEN_MODULE(fn) static const ::pondaro::assetgen::ModuleRegistration fn##_registration(fn)

}  // namespace pondaro::assetgen
