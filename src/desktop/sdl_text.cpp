#include "desktop/sdl_text.h"

#include "desktop/sdl_text_look.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <cstdio>
#include <list>
#include <map>
#include <tuple>
#include <string_view>
#include <unordered_map>

#include "app/diagnostics.h"

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
std::optional<FontFace> MatchFamily(const std::string& family, bool anyFace = false, bool bold = false) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return std::nullopt;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (bold) FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
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

std::optional<FontFace> FindBodyFace() {
  if (auto face = MatchFamily("DejaVu Sans", false, true)) return face;
  return MatchFamily("sans-serif", true, true);
}

struct SdlText::Impl {
  struct Sized {
    TTF_Font* font;  // nullptr: that size failed to open
    int top;         // where the face's line starts below the text's y
  };
  struct Styled {
    std::string key;  // text, size and look
    SDL_Texture* texture;
    int w, h;
    int originX, originY;  // where the letters' top-left lies in the picture, the face's top counted
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
  std::optional<FontFace> face, body;
  size_t capacity;
  std::unordered_map<int, Sized> fonts;
  // The styled texts' fonts by face, size and outline width.
  std::map<std::tuple<int, int, int>, Sized> styledFonts;
  std::list<Entry> recent;                   // most recently drawn first
  std::unordered_map<TextKey, std::list<Entry>::iterator, TextKeyHash> index;
  std::list<Styled> recentStyled;            // most recently drawn first
  std::unordered_map<std::string, std::list<Styled>::iterator> styledIndex;

  TTF_Font* Font(int pointSize) { return Size(pointSize).font; }

  // Opens `f` at a size, with its top placed as the display face's would be.
  static Sized Open(const std::optional<FontFace>& f, int pointSize, int outline) {
    TTF_Font* font = TTF_OpenFontIndexDPI(f->Path.c_str(), pointSize, f->Index, 96, 96);
    if (!font) {
      Diagnose("cannot open the font " + f->Path + " at " + std::to_string(pointSize) + " pt: " + TTF_GetError());
      return {nullptr, 0};
    }
    if (outline > 0) TTF_SetFontOutline(font, outline);
    // The texts' places were laid out with the display face: a face of another
    // height is moved so that its baseline lies where the display face's would
    // (SDL_ttf rounds ascents up, and so does this).
    const double em = pointSize * 96.0 / 72.0;
    return {font, static_cast<int>(std::ceil(kDisplayAscentEm * em)) - TTF_FontAscent(font)};
  }

  const Sized& Size(int pointSize) {
    static const Sized none{nullptr, 0};
    if (!face || pointSize <= 0) return none;
    auto it = fonts.find(pointSize);
    if (it != fonts.end()) return it->second;
    return fonts.emplace(pointSize, Open(face, pointSize, 0)).first->second;
  }

  const Sized& StyledSize(TextFace f, int pointSize, int outline) {
    static const Sized none{nullptr, 0};
    const bool useBody = f == TextFace::Body && body;
    const std::optional<FontFace>& which = useBody ? body : face;
    if (!which || pointSize <= 0) return none;
    const auto key = std::tuple{useBody ? 1 : 0, pointSize, outline};
    auto it = styledFonts.find(key);
    if (it != styledFonts.end()) return it->second;
    return styledFonts.emplace(key, Open(which, pointSize, outline)).first->second;
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

  const Styled* RenderedStyled(const std::string& text, int pointSize, const TextLook& look) {
    std::string key = text;
    key.push_back('\0');
    key.append(reinterpret_cast<const char*>(&pointSize), sizeof pointSize);
    for (Color c : {look.Top, look.Bottom, look.Outline, look.Shadow}) key += {char(c.r), char(c.g), char(c.b), char(c.a)};
    for (int v : {look.OutlinePx, look.ShadowDx, look.ShadowDy, look.ShadowBlur, static_cast<int>(look.Face)})
      key.append(reinterpret_cast<const char*>(&v), sizeof v);
    auto it = styledIndex.find(key);
    if (it != styledIndex.end()) {
      recentStyled.splice(recentStyled.begin(), recentStyled, it->second);
      return &*it->second;
    }
    const Sized& plain = StyledSize(look.Face, pointSize, 0);
    if (!plain.font) return nullptr;
    SDL_Surface* letters = TTF_RenderUTF8_Blended(plain.font, text.c_str(), SDL_Color{255, 255, 255, 255});
    if (!letters) return nullptr;
    PaintGradient(letters, look.Top, look.Bottom);
    SDL_Surface* ring = nullptr;
    if (look.OutlinePx > 0 && look.Outline.a > 0)
      if (TTF_Font* outlined = StyledSize(look.Face, pointSize, look.OutlinePx).font)
        ring = TTF_RenderUTF8_Blended(outlined, text.c_str(), SDL_Color{255, 255, 255, 255});
    int ox = 0, oy = 0;
    SDL_Surface* picture = ComposeStyled(letters, ring, look, ox, oy);
    SDL_FreeSurface(letters);
    if (ring) SDL_FreeSurface(ring);
    if (!picture) return nullptr;
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, picture);
    const int w = picture->w, h = picture->h;
    SDL_FreeSurface(picture);
    if (!texture) return nullptr;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    recentStyled.push_front(Styled{key, texture, w, h, ox, oy - plain.top});
    styledIndex.emplace(key, recentStyled.begin());
    while (recentStyled.size() > capacity) {
      styledIndex.erase(recentStyled.back().key);
      SDL_DestroyTexture(recentStyled.back().texture);
      recentStyled.pop_back();
    }
    return &recentStyled.front();
  }

  void Clear() {
    for (auto& e : recent) SDL_DestroyTexture(e.texture);
    index.clear();
    recent.clear();
    for (auto& e : recentStyled) SDL_DestroyTexture(e.texture);
    styledIndex.clear();
    recentStyled.clear();
  }
};

SdlText::SdlText(SDL_Renderer* renderer, std::optional<FontFace> face, size_t cacheSize)
    : impl_(new Impl{renderer, std::move(face), std::nullopt, cacheSize > 0 ? cacheSize : 1, {}, {}, {}, {}, {}, {}}) {}

SdlText::~SdlText() {
  impl_->Clear();
  for (auto& [size, sized] : impl_->fonts)
    if (sized.font) TTF_CloseFont(sized.font);
  for (auto& [key, sized] : impl_->styledFonts)
    if (sized.font) TTF_CloseFont(sized.font);
}

void SdlText::SetBodyFace(std::optional<FontFace> body) {
  for (auto& [key, sized] : impl_->styledFonts)
    if (sized.font) TTF_CloseFont(sized.font);
  impl_->styledFonts.clear();
  impl_->body = std::move(body);
}

void SdlText::DrawStyled(int x, int y, const std::string& text, int pointSize, const TextLook& look) {
  if (text.empty()) return;
  const Impl::Styled* e = impl_->RenderedStyled(text, pointSize, look);
  if (!e) return;
  const SDL_Rect dst{x - e->originX, y - e->originY, e->w, e->h};
  SDL_RenderCopy(impl_->renderer, e->texture, nullptr, &dst);
}

TRect SdlText::StyledBounds(int x, int y, const std::string& text, int pointSize, const TextLook& look) {
  if (text.empty()) return {};
  const Impl::Styled* e = impl_->RenderedStyled(text, pointSize, look);
  if (!e) return {};
  return pondaro::Bounds(x - e->originX, y - e->originY, e->w, e->h);
}

int SdlText::StyledWidth(const std::string& text, int pointSize, TextFace face) {
  TTF_Font* font = impl_->StyledSize(face, pointSize, 0).font;
  int w = 0, h = 0;
  if (!font || text.empty() || TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return 0;
  return w;
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
