#include "desktop/sdl_text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <cstdio>
#include <list>
#include <string_view>
#include <unordered_map>

namespace pondaro {

const std::vector<std::string>& GameFontFamilies() {
  static const std::vector<std::string> families = {"Festival Nights JL", "Leckerli One", "DejaVu Sans"};
  return families;
}

namespace {

// The ascender of "Leckerli One", the display face the layout was made with.
constexpr double kDisplayAscentEm = 1.032;

// The matched face when fontconfig really has `family` (or, with `anyFace`,
// whatever it matches best), else nullopt.
std::optional<FontFace> MatchFamily(const std::string& family, bool anyFace = false) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return std::nullopt;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return std::nullopt;

  std::optional<FontFace> face;
  // A face may carry several family names ("DejaVu Sans", "DejaVu Sans Condensed").
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (!anyFace && FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family.c_str())) != 0) continue;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) break;
    int index = 0;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    face = FontFace{reinterpret_cast<const char*>(name), reinterpret_cast<const char*>(file), index};
    break;
  }
  FcPatternDestroy(match);
  return face;
}

struct TextKey {
  std::string_view text;
  int size;
  uint32_t rgba;
  bool operator==(const TextKey&) const = default;
};

struct TextKeyHash {
  size_t operator()(const TextKey& k) const {
    size_t h = std::hash<std::string_view>()(k.text);
    h ^= (static_cast<size_t>(k.size) << 32 | k.rgba) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h;
  }
};

uint32_t Pack(Color c) {
  return static_cast<uint32_t>(c.r) << 24 | static_cast<uint32_t>(c.g) << 16 |
         static_cast<uint32_t>(c.b) << 8 | c.a;
}

}  // namespace

std::optional<FontFace> FindFontFace(const std::vector<std::string>& families) {
  for (const auto& family : families)
    if (auto face = MatchFamily(family)) return face;
  return std::nullopt;
}

std::optional<FontFace> FindGameFace(const std::vector<std::string>& families) {
  if (auto face = FindFontFace(families)) return face;
  return MatchFamily("sans-serif", true);
}

struct SdlText::Impl {
  struct Sized {
    TTF_Font* font;  // nullptr: that size failed to open
    int top;         // where the face's line starts below the text's y
  };
  struct Entry {
    std::string text;  // the cache index's keys point into this
    int size;
    uint32_t rgba;
    SDL_Texture* texture;
    int w, h;
    int top;  // drawn this far below the text's y
  };

  SDL_Renderer* renderer;
  std::optional<FontFace> face;
  size_t capacity;
  std::unordered_map<int, Sized> fonts;
  std::list<Entry> recent;                   // most recently drawn first
  std::unordered_map<TextKey, std::list<Entry>::iterator, TextKeyHash> index;

  TTF_Font* Font(int pointSize) { return Size(pointSize).font; }

  const Sized& Size(int pointSize) {
    static const Sized none{nullptr, 0};
    if (!face || pointSize <= 0) return none;
    auto it = fonts.find(pointSize);
    if (it != fonts.end()) return it->second;
    TTF_Font* font = TTF_OpenFontIndexDPI(face->Path.c_str(), pointSize, face->Index, 96, 96);
    if (!font)
      std::fprintf(stderr, "Cannot open font %s at %d pt: %s\n", face->Path.c_str(), pointSize,
                   TTF_GetError());
    // The texts' places were laid out with the display face: a face of another
    // height is moved so that its baseline lies where the display face's would
    // (SDL_ttf rounds ascents up, and so does this).
    const double em = pointSize * 96.0 / 72.0;
    const int top = font ? static_cast<int>(std::ceil(kDisplayAscentEm * em)) - TTF_FontAscent(font) : 0;
    return fonts.emplace(pointSize, Sized{font, top}).first->second;
  }

  void Evict() {
    while (recent.size() > capacity) {
      Entry& last = recent.back();
      index.erase(TextKey{last.text, last.size, last.rgba});
      SDL_DestroyTexture(last.texture);
      recent.pop_back();
    }
  }

  const Entry* Rendered(const std::string& text, int pointSize, Color c) {
    auto it = index.find(TextKey{text, pointSize, Pack(c)});
    if (it != index.end()) {
      recent.splice(recent.begin(), recent, it->second);
      return &*it->second;
    }
    TTF_Font* font = Font(pointSize);
    if (!font) return nullptr;
    // Rendered opaque white-on-clear in the colour; the alpha goes on the texture.
    SDL_Surface* surface = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{c.r, c.g, c.b, 255});
    if (!surface) return nullptr;
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
    const int w = surface->w, h = surface->h;
    SDL_FreeSurface(surface);
    if (!texture) return nullptr;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    if (c.a != 255) SDL_SetTextureAlphaMod(texture, c.a);
    recent.push_front(Entry{text, pointSize, Pack(c), texture, w, h, Size(pointSize).top});
    index.emplace(TextKey{recent.front().text, pointSize, Pack(c)}, recent.begin());
    Evict();
    return &recent.front();
  }

  void Clear() {
    for (auto& e : recent) SDL_DestroyTexture(e.texture);
    index.clear();
    recent.clear();
  }
};

SdlText::SdlText(SDL_Renderer* renderer, std::optional<FontFace> face, size_t cacheSize)
    : impl_(new Impl{renderer, std::move(face), cacheSize > 0 ? cacheSize : 1, {}, {}, {}}) {}

SdlText::~SdlText() {
  impl_->Clear();
  for (auto& [size, sized] : impl_->fonts)
    if (sized.font) TTF_CloseFont(sized.font);
}

void SdlText::Draw(int x, int y, const std::string& text, int pointSize, Color c) {
  if (text.empty()) return;
  const Impl::Entry* e = impl_->Rendered(text, pointSize, c);
  if (!e) return;
  const SDL_Rect dst{x, y + e->top, e->w, e->h};
  SDL_RenderCopy(impl_->renderer, e->texture, nullptr, &dst);
}

int SdlText::Width(const std::string& text, int pointSize) {
  TTF_Font* font = impl_->Font(pointSize);
  int w = 0, h = 0;
  if (!font || text.empty() || TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return 0;
  return w;
}

TRect SdlText::Bounds(int x, int y, const std::string& text, int pointSize) {
  const Impl::Sized& sized = impl_->Size(pointSize);
  int w = 0, h = 0;
  if (!sized.font || text.empty() || TTF_SizeUTF8(sized.font, text.c_str(), &w, &h) != 0) return {};
  return pondaro::Bounds(x, y + sized.top, w, h);
}

int SdlText::LineHeight(int pointSize) {
  TTF_Font* font = impl_->Font(pointSize);
  return font ? TTF_FontHeight(font) : 0;
}

const std::optional<FontFace>& SdlText::Face() const { return impl_->face; }

size_t SdlText::CachedTexts() const { return impl_->recent.size(); }

bool SdlText::IsCached(const std::string& text, int pointSize, Color c) const {
  return impl_->index.count(TextKey{text, pointSize, Pack(c)}) != 0;
}

void SdlText::ClearCache() { impl_->Clear(); }

}  // namespace pondaro
