// A display that passes every call on to the real one and, while recording, keeps
// the frame's draw calls; and a replay of those calls straight to SDL on its own
// software renderer: the floor that a game scene's tick is measured against.
#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "desktop/sdl_text.h"
#include "platform/display.h"

namespace pondaro::bench {

struct RecordedCall {
  enum Kind { Fill, Plain, Stretched, Rotated, Text } kind = Fill;
  TextureId texture = 0;
  TRect src, dst;
  int px = 0, py = 0, w = 0, h = 0, angle = 0, alpha = 255;
  double fx = 0.5, fy = 0.5;
  std::string text;
  int pointSize = 0;
  Color color;
};
using RecordedFrame = std::vector<RecordedCall>;

class TeeDisplay : public Display {
 public:
  explicit TeeDisplay(Display& real) : d_(real) {}

  bool recording = false;
  std::vector<RecordedFrame> frames;
  std::map<TextureId, std::pair<Pixels, bool>> pictures;  // every texture made, with its opacity

  bool CanDraw() const override { return d_.CanDraw(); }
  int SurfaceWidth() const override { return d_.SurfaceWidth(); }
  int SurfaceHeight() const override { return d_.SurfaceHeight(); }
  int WindowWidth() const override { return d_.WindowWidth(); }
  TextureId CreateTexture(const Pixels& pixels, bool opaque) override {
    const TextureId id = d_.CreateTexture(pixels, opaque);
    pictures[id] = {pixels, opaque};
    return id;
  }
  void DestroyTexture(TextureId id) override {
    pictures.erase(id);
    d_.DestroyTexture(id);
  }
  void BeginFrame() override {
    if (recording) frames.emplace_back();
    d_.BeginFrame();
  }
  void EndFrame() override { d_.EndFrame(); }
  FrameUpdates Updates() const override { return d_.Updates(); }
  void SetClip(const TRect& area) override { d_.SetClip(area); }
  void Fill(Color c) override {
    Keep(RecordedCall::Fill).color = c;
    d_.Fill(c);
  }
  void Draw(TextureId tex, const TRect& src, int x, int y) override {
    Keep(RecordedCall::Plain, tex, src).dst = Bounds(x, y, src.Width(), src.Height());
    d_.Draw(tex, src, x, y);
  }
  void DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) override {
    RecordedCall& r = Keep(RecordedCall::Stretched, tex, src);
    r.dst = dst, r.alpha = alpha;
    d_.DrawStretched(tex, src, dst, alpha);
  }
  void DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle, int alpha) override {
    DrawRotatedAbout(tex, src, cx, cy, w, h, 0.5, 0.5, angle, alpha);
  }
  void DrawRotatedAbout(TextureId tex, const TRect& src, int px, int py, int w, int h, double fx, double fy, int angle,
                        int alpha) override {
    RecordedCall& r = Keep(RecordedCall::Rotated, tex, src);
    r.px = px, r.py = py, r.w = w, r.h = h, r.fx = fx, r.fy = fy, r.angle = angle, r.alpha = alpha;
    d_.DrawRotatedAbout(tex, src, px, py, w, h, fx, fy, angle, alpha);
  }
  void DrawText(int x, int y, const std::string& text, int pointSize, Color c) override {
    RecordedCall& r = Keep(RecordedCall::Text);
    r.px = x, r.py = y, r.text = text, r.pointSize = pointSize, r.color = c;
    d_.DrawText(x, y, text, pointSize, c);
  }
  int TextWidth(const std::string& text, int pointSize) override { return d_.TextWidth(text, pointSize); }
  TRect TextBounds(int x, int y, const std::string& text, int pointSize) override {
    return d_.TextBounds(x, y, text, pointSize);
  }
  void SetCursor(CursorShape shape) override { d_.SetCursor(shape); }
  void SetCaption(const std::string& caption) override { d_.SetCaption(caption); }
  bool SetFullScreen(bool on) override { return d_.SetFullScreen(on); }
  bool IsMaximized() const override { return d_.IsMaximized(); }

 private:
  // The call's record, or a scratch one while not recording.
  RecordedCall& Keep(RecordedCall::Kind kind, TextureId tex = 0, const TRect& src = TRect{}) {
    RecordedCall& r = recording && !frames.empty() ? frames.back().emplace_back() : (scratch_ = RecordedCall{});
    r.kind = kind, r.texture = tex, r.src = src;
    return r;
  }
  RecordedCall scratch_;
  Display& d_;
};

// The recorded frames drawn with plain SDL calls: the pictures uploaded once, the
// texts rendered once, each frame cleared, drawn and presented.
class RawReplay {
 public:
  RawReplay(const TeeDisplay& tee, const FontFace& face) {
    canvas_ = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
    r_ = SDL_CreateSoftwareRenderer(canvas_);
    for (const auto& [id, picture] : tee.pictures) {
      const Pixels& p = picture.first;
      // In the canvas's own format, so that SDL's blitters take their fast paths.
      std::vector<uint8_t> argb(p.Rgba.size());
      SDL_ConvertPixels(p.Width, p.Height, SDL_PIXELFORMAT_RGBA32, p.Rgba.data(), p.Width * 4,
                        SDL_PIXELFORMAT_ARGB8888, argb.data(), p.Width * 4);
      SDL_Texture* t = SDL_CreateTexture(r_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, p.Width, p.Height);
      SDL_UpdateTexture(t, nullptr, argb.data(), p.Width * 4);
      SDL_SetTextureBlendMode(t, picture.second ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
      textures_[id] = {t, picture.second};
    }
    for (const RecordedFrame& f : tee.frames)
      for (const RecordedCall& c : f)
        if (c.kind == RecordedCall::Text) TextTexture(face, c);
    frames_ = tee.frames;
  }
  ~RawReplay() {
    for (auto& [key, t] : texts_) SDL_DestroyTexture(t.first);
    for (auto& [id, t] : textures_) SDL_DestroyTexture(t.first);
    for (auto& [size, font] : fonts_) TTF_CloseFont(font);
    SDL_DestroyRenderer(r_);
    SDL_FreeSurface(canvas_);
  }
  size_t Frames() const { return frames_.size(); }

  void Play(size_t n) {
    for (const RecordedCall& c : frames_[n % frames_.size()]) {
      switch (c.kind) {
        case RecordedCall::Fill:
          SDL_SetRenderDrawColor(r_, c.color.r, c.color.g, c.color.b, c.color.a);
          SDL_RenderFillRect(r_, nullptr);
          break;
        case RecordedCall::Text: {
          const auto& t = texts_.at(Key(c));
          const SDL_Rect d{c.px, c.py, t.second.x, t.second.y};
          SDL_RenderCopy(r_, t.first, nullptr, &d);
          break;
        }
        default:
          Copy(c);
          break;
      }
    }
    SDL_RenderPresent(r_);
  }

 private:
  using TextKey = std::tuple<std::string, int, uint32_t>;
  static TextKey Key(const RecordedCall& c) {
    return {c.text, c.pointSize, (uint32_t(c.color.r) << 24) | (c.color.g << 16) | (c.color.b << 8) | c.color.a};
  }
  void TextTexture(const FontFace& face, const RecordedCall& c) {
    if (texts_.count(Key(c))) return;
    TTF_Font*& font = fonts_[c.pointSize];
    if (!font) font = TTF_OpenFontIndexDPI(face.Path.c_str(), c.pointSize, face.Index, 96, 96);
    SDL_Surface* s = TTF_RenderUTF8_Blended(font, c.text.c_str(), SDL_Color{c.color.r, c.color.g, c.color.b, c.color.a});
    texts_[Key(c)] = {SDL_CreateTextureFromSurface(r_, s), SDL_Point{s->w, s->h}};
    SDL_FreeSurface(s);
  }
  void Copy(const RecordedCall& c) {
    auto it = textures_.find(c.texture);
    if (it == textures_.end()) return;
    SDL_Texture* t = it->second.first;
    SDL_SetTextureBlendMode(t, it->second.second && c.alpha >= 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetTextureAlphaMod(t, static_cast<Uint8>(std::min(c.alpha, 255)));
    const SDL_Rect s{c.src.Left, c.src.Top, c.src.Width(), c.src.Height()};
    if (c.kind != RecordedCall::Rotated) {
      const SDL_Rect d{c.dst.Left, c.dst.Top, c.dst.Width(), c.dst.Height()};
      SDL_RenderCopy(r_, t, &s, &d);
      return;
    }
    const SDL_FPoint pivot{static_cast<float>(c.fx * c.w), static_cast<float>(c.fy * c.h)};
    const SDL_FRect d{c.px - pivot.x, c.py - pivot.y, static_cast<float>(c.w), static_cast<float>(c.h)};
    const int turn = ((c.angle % 256) + 256) % 256;
    if (turn == 0)
      SDL_RenderCopyF(r_, t, &s, &d);
    else
      SDL_RenderCopyExF(r_, t, &s, &d, turn * 360.0 / 256.0, &pivot, SDL_FLIP_NONE);
  }

  SDL_Surface* canvas_ = nullptr;
  SDL_Renderer* r_ = nullptr;
  std::map<TextureId, std::pair<SDL_Texture*, bool>> textures_;
  std::map<TextKey, std::pair<SDL_Texture*, SDL_Point>> texts_;
  std::map<int, TTF_Font*> fonts_;
  std::vector<RecordedFrame> frames_;
};

}  // namespace pondaro::bench
