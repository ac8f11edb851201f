#include "replay.h"

namespace pondaro::bench {

RawReplay::RawReplay(RecordingDisplay& recorded, std::vector<Call> calls)
    : renderer_(recorded.Inner().Renderer()), recorded_(recorded), calls_(std::move(calls)) {
  const auto face = FindFontFace(GameFontFamilies());
  std::map<int, TTF_Font*> fonts;
  texts_.assign(calls_.size(), nullptr);
  textRects_.assign(calls_.size(), SDL_Rect{});
  for (size_t i = 0; i < calls_.size(); ++i) {
    const Call& c = calls_[i];
    if (c.kind != Call::Text || !face) continue;
    TTF_Font*& font = fonts[c.pointSize];
    if (!font) font = TTF_OpenFontIndexDPI(face->Path.c_str(), c.pointSize, face->Index, 96, 96);
    if (!font) continue;
    SDL_Surface* s = TTF_RenderUTF8_Blended(font, c.text.c_str(), SDL_Color{c.color.r, c.color.g, c.color.b, 255});
    if (!s) continue;
    texts_[i] = SDL_CreateTextureFromSurface(renderer_, s);
    textRects_[i] = {c.dst.Left, c.dst.Top, s->w, s->h};
    SDL_FreeSurface(s);
  }
  for (auto& [size, font] : fonts)
    if (font) TTF_CloseFont(font);
}

RawReplay::~RawReplay() {
  for (SDL_Texture* t : texts_)
    if (t) SDL_DestroyTexture(t);
}

void RawReplay::Frame() {
  for (size_t i = 0; i < calls_.size(); ++i) {
    const Call& c = calls_[i];
    if (c.kind == Call::Fill) {
      SDL_SetRenderDrawColor(renderer_, c.color.r, c.color.g, c.color.b, c.color.a);
      SDL_RenderFillRect(renderer_, nullptr);
      continue;
    }
    if (c.kind == Call::Text) {
      if (texts_[i]) SDL_RenderCopy(renderer_, texts_[i], nullptr, &textRects_[i]);
      continue;
    }
    SDL_Texture* t = recorded_.Inner().TextureOf(c.texture);
    if (!t) continue;
    SDL_SetTextureBlendMode(t, recorded_.Opaque(c.texture) && c.alpha >= 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetTextureAlphaMod(t, static_cast<Uint8>(c.alpha > 255 ? 255 : c.alpha));
    const SDL_Rect s{c.src.Left, c.src.Top, c.src.Width(), c.src.Height()};
    if (c.kind == Call::Rotated) {
      const SDL_FRect d{c.cx - c.w * static_cast<float>(c.pivotX), c.cy - c.h * static_cast<float>(c.pivotY),
                        static_cast<float>(c.w), static_cast<float>(c.h)};
      const SDL_FPoint pivot{c.w * static_cast<float>(c.pivotX), c.h * static_cast<float>(c.pivotY)};
      SDL_RenderCopyExF(renderer_, t, &s, &d, c.angle * (360.0 / 256.0), &pivot, SDL_FLIP_NONE);
    } else {
      const SDL_Rect d{c.dst.Left, c.dst.Top, c.dst.Width(), c.dst.Height()};
      SDL_RenderCopy(renderer_, t, &s, &d);
    }
  }
  SDL_RenderPresent(renderer_);
}

}  // namespace pondaro::bench
