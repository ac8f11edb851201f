#include "sprites/dirty_display.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace pondaro {

namespace {

uint64_t Mix(uint64_t h, int64_t v) {
  // splitmix64's finaliser over each value in turn.
  uint64_t z = (h ^ static_cast<uint64_t>(v)) + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

uint64_t MixRect(uint64_t h, const TRect& r) {
  return Mix(Mix(Mix(Mix(h, r.Left), r.Top), r.Right), r.Bottom);
}

}  // namespace

// The corners turned about the pivot, plus a margin for the rounding of the
// rotator's own placement.
TRect TurnedBounds(int px, int py, int w, int h, double fx, double fy, int angle) {
  constexpr int kMargin = 2;
  const double a = angle * (2 * std::numbers::pi / 256);
  const double c = std::cos(a), s = std::sin(a);
  double left = px, top = py, right = px, bottom = py;
  for (double x : {-fx * w, (1 - fx) * w})
    for (double y : {-fy * h, (1 - fy) * h}) {
      const double tx = px + x * c - y * s, ty = py + x * s + y * c;
      left = std::min(left, tx), right = std::max(right, tx);
      top = std::min(top, ty), bottom = std::max(bottom, ty);
    }
  return {static_cast<int>(std::floor(left)) - kMargin, static_cast<int>(std::floor(top)) - kMargin,
          static_cast<int>(std::ceil(right)) + kMargin, static_cast<int>(std::ceil(bottom)) + kMargin};
}

TDirtyDisplay::TDirtyDisplay(Display& real)
    : real_(real),
      screen_(Bounds(0, 0, real.SurfaceWidth(), real.SurfaceHeight())),
      areas_(screen_) {}

bool TDirtyDisplay::Call::operator==(const Call& o) const {
  if (hash != o.hash || kind != o.kind) return false;
  switch (kind) {
    case Fill: return color == o.color;
    case Text: return dst == o.dst && pointSize == o.pointSize && color == o.color && text == o.text;
    case Styled: return dst == o.dst && pointSize == o.pointSize && look == o.look && text == o.text;
    default:
      return texture == o.texture && picture == o.picture && src == o.src && dst == o.dst && fx == o.fx &&
             fy == o.fy && angle == o.angle && alpha == o.alpha;
  }
}

TextureId TDirtyDisplay::CreateTexture(const Pixels& pixels, bool opaque) {
  const TextureId id = real_.CreateTexture(pixels, opaque);
  if (id > 0) {
    if (static_cast<size_t>(id) >= pictures_.size()) pictures_.resize(static_cast<size_t>(id) + 1);
    pictures_[static_cast<size_t>(id)] = ++uploads_;
  }
  return id;
}

void TDirtyDisplay::DestroyTexture(TextureId id) {
  real_.DestroyTexture(id);
  if (id > 0 && static_cast<size_t>(id) < pictures_.size()) pictures_[static_cast<size_t>(id)] = 0;
}

void TDirtyDisplay::BeginFrame() {
  count_ = 0;
  inFrame_ = true;
}

// ---- Recording

TDirtyDisplay::Call& TDirtyDisplay::Record(Call::Kind kind, TextureId tex, const TRect& src) {
  if (static_cast<size_t>(count_) == calls_.size()) calls_.emplace_back();
  Call& c = calls_[static_cast<size_t>(count_++)];
  c.kind = kind;
  c.whole = false;
  c.texture = tex;
  c.picture = tex > 0 && static_cast<size_t>(tex) < pictures_.size() ? pictures_[static_cast<size_t>(tex)] : 0;
  c.src = src;
  c.fx = c.fy = 0;
  c.angle = 0;
  c.alpha = 255;
  return c;
}

// The hash and the area, once the call's fields are in; outside a frame the call
// goes to the real display at once, and the picture there is no longer last_.
void TDirtyDisplay::Finish(Call& c) {
  uint64_t h = Mix(0, c.kind);
  switch (c.kind) {
    case Call::Fill:
      h = Mix(h, (c.color.r << 24) | (c.color.g << 16) | (c.color.b << 8) | c.color.a);
      c.bounds = screen_;
      break;
    case Call::Text:
    case Call::Styled:
      // Of a styled text's look only the top colour: the comparison sees the rest.
      h = Mix(MixRect(Mix(Mix(h, static_cast<int64_t>(std::hash<std::string>()(c.text))), c.pointSize), c.dst),
              (c.color.r << 24) | (c.color.g << 16) | (c.color.b << 8) | c.color.a);
      break;
    default:
      h = Mix(Mix(Mix(MixRect(MixRect(Mix(Mix(h, c.texture), c.picture), c.src), c.dst), c.angle), c.alpha),
              std::llround(c.fx * 65536) * 65536 + std::llround(c.fy * 65536));
      break;
  }
  c.hash = h;
  if (!inFrame_) {
    lastKnown_ = false;
    Play(c);
    --count_;
  }
}

void TDirtyDisplay::Fill(Color color) {
  Call& c = Record(Call::Fill, 0, {});
  c.color = color;
  Finish(c);
}

void TDirtyDisplay::Draw(TextureId tex, const TRect& src, int x, int y) {
  Call& c = Record(Call::Plain, tex, src);
  c.dst = Bounds(x, y, src.Width(), src.Height());
  c.bounds = c.dst;
  Finish(c);
}

void TDirtyDisplay::DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) {
  Call& c = Record(Call::Stretched, tex, src);
  c.dst = dst;
  c.alpha = alpha;
  c.bounds = dst;
  c.whole = dst.Width() != src.Width() || dst.Height() != src.Height();
  Finish(c);
}

void TDirtyDisplay::DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle,
                                int alpha) {
  DrawRotatedAbout(tex, src, cx, cy, w, h, 0.5, 0.5, angle, alpha);
}

void TDirtyDisplay::DrawRotatedAbout(TextureId tex, const TRect& src, int px, int py, int w, int h, double fx,
                                     double fy, int angle, int alpha) {
  Call& c = Record(Call::Rotated, tex, src);
  c.dst = Bounds(px, py, w, h);
  c.fx = fx;
  c.fy = fy;
  c.angle = ((angle % 256) + 256) % 256;
  c.alpha = alpha;
  c.bounds = w > 0 && h > 0 ? TurnedBounds(px, py, w, h, fx, fy, c.angle) : TRect{};
  c.whole = w != src.Width() || h != src.Height();
  Finish(c);
}

void TDirtyDisplay::DrawText(int x, int y, const std::string& text, int pointSize, Color color) {
  Call& c = Record(Call::Text, 0, {});
  c.dst = Bounds(x, y, 0, 0);
  c.text = text;
  c.pointSize = pointSize;
  c.color = color;
  c.bounds = TextBounds(x, y, text, pointSize);
  Finish(c);
}

void TDirtyDisplay::DrawStyledText(int x, int y, const std::string& text, int pointSize, const TextLook& look) {
  Call& c = Record(Call::Styled, 0, {});
  c.dst = Bounds(x, y, 0, 0);
  c.text = text;
  c.pointSize = pointSize;
  c.color = look.Top;
  c.look = look;
  c.bounds = StyledTextBounds(x, y, text, pointSize, look);
  Finish(c);
}

TRect TDirtyDisplay::TextBounds(int x, int y, const std::string& text, int pointSize) {
  return MovedArea(
      std::to_string(pointSize) + ' ' + text, [&] { return real_.TextBounds(0, 0, text, pointSize); }, x, y);
}

TRect TDirtyDisplay::StyledTextBounds(int x, int y, const std::string& text, int pointSize, const TextLook& look) {
  std::string key = std::to_string(pointSize) + ' ';
  for (Color k : {look.Top, look.Bottom, look.Outline, look.Shadow}) key += {char(k.r), char(k.g), char(k.b), char(k.a)};
  for (int v : {look.OutlinePx, look.ShadowDx, look.ShadowDy, look.ShadowBlur, static_cast<int>(look.Face)})
    key += std::to_string(v) + ',';
  return MovedArea(
      std::move(key += text), [&] { return real_.StyledTextBounds(0, 0, text, pointSize, look); }, x, y);
}

// A text covers the same area wherever it is drawn, moved: each is measured once.
TRect TDirtyDisplay::MovedArea(std::string key, const std::function<TRect()>& measure, int x, int y) {
  constexpr size_t kRemembered = 512;
  auto it = textAreas_.find(key);
  if (it == textAreas_.end()) {
    if (textAreas_.size() >= kRemembered) textAreas_.clear();
    it = textAreas_.emplace(std::move(key), measure()).first;
  }
  const TRect& r = it->second;
  return {r.Left + x, r.Top + y, r.Right + x, r.Bottom + y};
}

// ---- The frame's end

void TDirtyDisplay::EndFrame() {
  if (!inFrame_) {
    real_.EndFrame();
    return;
  }
  inFrame_ = false;
  const FrameUpdates updates = real_.Updates();
  areas_.Clear();
  if (updates == FrameUpdates::Every || !lastKnown_)
    areas_.AddAll();
  else
    Compare();
  sent_.clear();
  if (!areas_.Empty()) {
    if (updates == FrameUpdates::Areas) DrawWholeCallsWhole();
    Send(updates != FrameUpdates::Areas || areas_.Whole());
  }
  std::swap(calls_, last_);
  lastCount_ = count_;
  lastKnown_ = true;
}

// Walks both frames in order and matches equal calls, keeping the order: what is
// matched is drawn alike in both, what is not is an area to draw again. A call
// that differs is looked for further on in the other frame, and the shorter skip
// wins (a sprite that moved in depth leaves the calls it passed matched).
void TDirtyDisplay::Compare() {
  BuildIndex(calls_, count_, index_);
  BuildIndex(last_, lastCount_, lastIndex_);
  int i = 0, j = 0;
  auto old = [&](int k) { areas_.Add(last_[static_cast<size_t>(k)].bounds); };
  auto now = [&](int k) { areas_.Add(calls_[static_cast<size_t>(k)].bounds); };
  while (i < lastCount_ && j < count_) {
    const Call& a = last_[static_cast<size_t>(i)];
    const Call& b = calls_[static_cast<size_t>(j)];
    if (a == b) {
      ++i, ++j;
      continue;
    }
    const int bInOld = Find(last_, lastIndex_, b, i);
    const int aInNew = Find(calls_, index_, a, j);
    if (bInOld < 0 && aInNew < 0) {
      old(i++);
      now(j++);
    } else if (bInOld < 0) {
      now(j++);
    } else if (aInNew < 0) {
      old(i++);
    } else if (bInOld - i <= aInNew - j) {
      while (i < bInOld) old(i++);
    } else {
      while (j < aInNew) now(j++);
    }
  }
  while (i < lastCount_) old(i++);
  while (j < count_) now(j++);
}

void TDirtyDisplay::BuildIndex(const std::vector<Call>& calls, int count, Index& index) {
  index.resize(static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) index[static_cast<size_t>(k)] = {calls[static_cast<size_t>(k)].hash, k};
  std::sort(index.begin(), index.end());
}

// The first call at `from` or later equal to c, or -1.
int TDirtyDisplay::Find(const std::vector<Call>& calls, const Index& index, const Call& c, int from) {
  for (auto it = std::lower_bound(index.begin(), index.end(), std::pair{c.hash, from});
       it != index.end() && it->first == c.hash; ++it)
    if (calls[static_cast<size_t>(it->second)] == c) return it->second;
  return -1;
}

// A call that must be drawn whole and crosses an area makes its whole box an area;
// the grown areas may reach more such calls.
void TDirtyDisplay::DrawWholeCallsWhole() {
  for (bool grew = true; grew;) {
    grew = false;
    for (int k = 0; k < count_; ++k) {
      const Call& c = calls_[static_cast<size_t>(k)];
      if (c.whole && areas_.Touches(c.bounds) && !areas_.Holds(c.bounds)) {
        areas_.Add(c.bounds);
        grew = true;
      }
    }
  }
}

void TDirtyDisplay::Send(bool whole) {
  ++framesSent_;
  real_.BeginFrame();
  if (whole) {
    sent_.push_back(screen_);
    for (int k = 0; k < count_; ++k) Play(calls_[static_cast<size_t>(k)]);
  } else {
    sent_ = areas_.Rects();
    for (const TRect& area : sent_) {
      real_.SetClip(area);
      for (int k = 0; k < count_; ++k)
        if (OverlapRect(calls_[static_cast<size_t>(k)].bounds, area)) Play(calls_[static_cast<size_t>(k)]);
    }
    real_.SetClip(TRect{});
  }
  real_.EndFrame();
}

void TDirtyDisplay::Play(const Call& c) {
  switch (c.kind) {
    case Call::Fill: real_.Fill(c.color); break;
    case Call::Plain: real_.Draw(c.texture, c.src, c.dst.Left, c.dst.Top); break;
    case Call::Stretched: real_.DrawStretched(c.texture, c.src, c.dst, c.alpha); break;
    case Call::Rotated:
      if (c.fx == 0.5 && c.fy == 0.5)
        real_.DrawRotated(c.texture, c.src, c.dst.Left, c.dst.Top, c.dst.Width(), c.dst.Height(), c.angle, c.alpha);
      else
        real_.DrawRotatedAbout(c.texture, c.src, c.dst.Left, c.dst.Top, c.dst.Width(), c.dst.Height(), c.fx, c.fy,
                               c.angle, c.alpha);
      break;
    case Call::Text: real_.DrawText(c.dst.Left, c.dst.Top, c.text, c.pointSize, c.color); break;
    case Call::Styled: real_.DrawStyledText(c.dst.Left, c.dst.Top, c.text, c.pointSize, c.look); break;
  }
}

}  // namespace pondaro
