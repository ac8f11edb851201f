// Text on the drawing surface: the game's font face found through fontconfig,
// opened with SDL_ttf at 96 dpi, and rendered texts kept as textures.
#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/display.h"

struct SDL_Renderer;

namespace pondaro {

struct FontFace {
  std::string Family;  // as fontconfig names it
  std::string Path;
  int Index = 0;  // face within a font collection file
};

// "Festival Nights JL", then "Leckerli One", then "DejaVu Sans".
const std::vector<std::string>& GameFontFamilies();

// The first family of the list that is really installed. fontconfig always
// answers a match with some face, so the matched family is compared with the
// asked one; nullopt when none of them is installed.
std::optional<FontFace> FindFontFace(const std::vector<std::string>& families);
// The face the game draws with: the first of `families` installed, else the one
// fontconfig matches best for a sans-serif, so that texts always show.
std::optional<FontFace> FindGameFace(const std::vector<std::string>& families);
// The plain face for small print: DejaVu Sans Bold, else fontconfig's best bold sans-serif.
std::optional<FontFace> FindBodyFace();

class SdlText {
 public:
  static constexpr size_t kDefaultCacheSize = 300;

  // Without a face nothing is drawn and every width is 0.
  SdlText(SDL_Renderer* renderer, std::optional<FontFace> face, size_t cacheSize = kDefaultCacheSize);
  ~SdlText();
  SdlText(const SdlText&) = delete;
  SdlText& operator=(const SdlText&) = delete;

  // Anti-aliased text with its top-left corner at (x, y).
  void Draw(int x, int y, const std::string& text, int pointSize, Color c);
  int Width(const std::string& text, int pointSize);
  // Where Draw(x, y, text, pointSize, ...) puts its pixels.
  TRect Bounds(int x, int y, const std::string& text, int pointSize);
  // The face of TextFace::Body texts (none: they are set in the display face).
  void SetBodyFace(std::optional<FontFace> body);
  // Text in a look, its letters where Draw would put them; kept like plain texts.
  void DrawStyled(int x, int y, const std::string& text, int pointSize, const TextLook& look);
  int StyledWidth(const std::string& text, int pointSize, TextFace face);
  // Where DrawStyled(x, y, text, pointSize, look) puts its pixels.
  TRect StyledBounds(int x, int y, const std::string& text, int pointSize, const TextLook& look);
  int LineHeight(int pointSize);

  const std::optional<FontFace>& Face() const;
  size_t CachedTexts() const;
  bool IsCached(const std::string& text, int pointSize, Color c) const;
  // Frees every rendered text (the renderer is going away or was reset).
  void ClearCache();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace pondaro
