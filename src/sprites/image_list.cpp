#include "sprites/image_list.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "sprites/errors.h"
#include "sprites/wave_list.h"

namespace pondaro {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Frames along one direction: whole steps, plus one when what is left is exactly
// one more pattern without its trailing skip. A pattern of 0 or less, or a step
// of 0 or less, means the picture is one frame across. 64-bit sums, because the
// sizes come from a data file.
int FramesAlong(int size, int pattern, int skip) {
  const int64_t step = int64_t{pattern} + skip;
  if (pattern <= 0 || step <= 0) return 1;
  int64_t n = size / step;
  if (size - n * step == pattern) ++n;
  return static_cast<int>(n);
}

int64_t StepAlong(int size, int pattern, int skip) {
  const int64_t step = int64_t{pattern} + skip;
  return (pattern <= 0 || step <= 0) ? size : step;
}

// [start, start + length) clipped to [0, size).
void ClipSpan(int64_t start, int64_t length, int size, int& from, int& to) {
  from = static_cast<int>(std::min<int64_t>(start, size));
  to = static_cast<int>(std::min<int64_t>(start + length, size));
}

bool AllOpaque(const Pixels& p) {
  for (size_t i = 3; i < p.Rgba.size(); i += 4)
    if (p.Rgba[i] != 255) return false;
  return true;
}

}  // namespace

std::string LowerCase(const std::string& s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

int NameBucket(const std::string& name) {
  const size_t n = name.size();
  unsigned h = static_cast<unsigned>(n) * 16;
  if (n >= 2)
    h += static_cast<unsigned char>(Lower(name[n - 2])) + static_cast<unsigned char>(Lower(name[0]));
  return static_cast<int>(h % 256);
}

// ---- TPictureCollectionItem ----

int TPictureCollectionItem::FrameCount() const {
  return FramesAlong(Picture.Width, PatternWidth, SkipWidth) *
         FramesAlong(Picture.Height, PatternHeight, SkipHeight);
}

TRect TPictureCollectionItem::FrameRectOf(int n) const {
  if (n < 0 || n >= FrameCount()) return {};
  const int columns = FramesAlong(Picture.Width, PatternWidth, SkipWidth);
  TRect r;
  ClipSpan((n % columns) * StepAlong(Picture.Width, PatternWidth, SkipWidth), FrameWidth(), Picture.Width,
           r.Left, r.Right);
  ClipSpan((n / columns) * StepAlong(Picture.Height, PatternHeight, SkipHeight), FrameHeight(),
           Picture.Height, r.Top, r.Bottom);
  return r;
}

void TPictureCollectionItem::Draw(Display& d, int x, int y, int n) const {
  if (!Ready() || n < 0 || n >= FrameCount()) return;
  d.Draw(Texture, FrameRectOf(n), x, y);
}

void TPictureCollectionItem::StretchDraw(Display& d, const TRect& dst, int n) const {
  DrawAlpha(d, dst, n, 255);
}

void TPictureCollectionItem::DrawAlpha(Display& d, const TRect& dst, int n, int alpha) const {
  if (!Ready() || n < 0 || n >= FrameCount()) return;
  d.DrawStretched(Texture, FrameRectOf(n), dst, alpha);
}

void TPictureCollectionItem::DrawRotate(Display& d, int cx, int cy, int w, int h, int n, int angle) const {
  DrawRotateAlpha(d, cx, cy, w, h, n, angle, 255);
}

void TPictureCollectionItem::DrawRotateAlpha(Display& d, int cx, int cy, int w, int h, int n, int angle,
                                             int alpha) const {
  if (!Ready() || n < 0 || n >= FrameCount()) return;
  // The display rotates about the middle of the frame (centre fraction 0.5, 0.5).
  d.DrawRotated(Texture, FrameRectOf(n), cx, cy, w, h, angle, alpha);
}

void TPictureCollectionItem::DrawRotatePivot(Display& d, int px, int py, int w, int h, int n, double fx,
                                             double fy, int angle, int alpha) const {
  if (!Ready() || n < 0 || n >= FrameCount()) return;
  d.DrawRotatedAbout(Texture, FrameRectOf(n), px, py, w, h, fx, fy, angle, alpha);
}

// ---- TPictureCollection ----

TPictureCollection::TPictureCollection() = default;

TPictureCollection::~TPictureCollection() { DropTextures(); }

void TPictureCollection::LoadFromFile(const std::string& path, const PictureDecoder& decoder) {
  Clear();
  LoadFromBytes(ReadWholeFile(path), decoder, path);
}

void TPictureCollection::LoadFromBytes(const std::vector<uint8_t>& bytes, const PictureDecoder& decoder,
                                       const std::string& fileName) {
  Clear();
  std::vector<CollectionRecord> records;
  std::string error;
  if (!ReadCollection(bytes, CollectionKind::Images, records, error))
    throw EDataFileError(fileName + ": " + error);
  LoadFromRecords(records, decoder, fileName);
}

namespace {

struct Decoded {
  std::optional<Pixels> pixels;
  std::string error;
};

// Decoding the pictures is most of the game's start-up: it is shared out among the
// machine's cores. Each picture is decoded on its own, so the order does not matter.
std::vector<Decoded> DecodeAll(const std::vector<CollectionRecord>& records, const PictureDecoder& decoder) {
  std::vector<Decoded> out(records.size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i; (i = next++) < records.size();)
      out[i].pixels = decoder.Decode(records[i].Payload.data(), records[i].Payload.size(), out[i].error);
  };
  const size_t helpers = std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), 4) - 1;
  std::vector<std::thread> threads;
  for (size_t t = 0; t < helpers && t + 1 < records.size(); ++t)
    threads.emplace_back([&] {
      work();
      decoder.ThreadEnds();
    });
  work();
  for (auto& t : threads) t.join();
  return out;
}

}  // namespace

void TPictureCollection::LoadFromRecords(const std::vector<CollectionRecord>& records,
                                         const PictureDecoder& decoder, const std::string& fileName) {
  Clear();
  decoder_ = &decoder;
  std::vector<Decoded> decoded = DecodeAll(records, decoder);
  for (size_t i = 0; i < records.size(); ++i) {
    const CollectionRecord& r = records[i];
    std::string& error = decoded[i].error;
    std::optional<Pixels>& pixels = decoded[i].pixels;
    if (pixels && (pixels->Width <= 0 || pixels->Height <= 0 ||
                   pixels->Rgba.size() != static_cast<size_t>(pixels->Width) * pixels->Height * 4)) {
      pixels.reset();
      error = "decoded to an unusable size";
    }
    if (!pixels) {
      Clear();
      throw EDataFileError(fileName + ": item " + std::to_string(i + 1) + ": '" + r.Name +
                           "' is not a picture (" + error + ")");
    }
    auto& item = Add(r.Name, std::move(*pixels));
    item.Png = r.Payload;
    item.PatternWidth = r.PatternWidth;
    item.PatternHeight = r.PatternHeight;
    item.SkipWidth = r.SkipWidth;
    item.SkipHeight = r.SkipHeight;
    item.SystemMemory = r.SystemMemory;
    item.Transparent = r.Transparent;
    item.TransparentColor = r.TransparentColor;
  }
}

void TPictureCollection::Upload(TPictureCollectionItem& item) {
  if (item.Texture != 0) display_->DestroyTexture(item.Texture);
  item.Texture = 0;
  if (item.Picture.Rgba.empty() && !item.Png.empty() && decoder_) {
    std::string error;
    if (auto again = decoder_->Decode(item.Png.data(), item.Png.size(), error)) item.Picture.Rgba = std::move(again->Rgba);
  }
  if (item.Picture.Rgba.empty()) return;
  item.Texture = display_->CreateTexture(item.Picture, AllOpaque(item.Picture));
  if (item.Png.empty()) return;
  // The display holds the colours now: keep what the pixel test reads.
  if (item.Solid.empty()) {
    const size_t pixels = item.Picture.Rgba.size() / 4;
    item.Solid.assign((pixels + 7) / 8, 0);
    for (size_t i = 0; i < pixels; ++i)
      if (item.Picture.Rgba[i * 4 + 3] >= TPictureCollectionItem::kSolidAlpha) item.Solid[i / 8] |= 1 << (i % 8);
  }
  std::vector<uint8_t>().swap(item.Picture.Rgba);
}

void TPictureCollection::Restore(Display& display) {
  // Textures of another display are no use here; the old one lets go of them.
  // The same display keeps its textures across a full-screen switch: only the
  // pictures it lacks are uploaded.
  if (display_ != &display) DropTextures();
  display_ = &display;
  for (auto& item : items_)
    if (item->Texture == 0) Upload(*item);
}

void TPictureCollection::DropTextures() {
  if (!display_) return;
  for (auto& item : items_) {
    if (item->Texture != 0) display_->DestroyTexture(item->Texture);
    item->Texture = 0;
  }
}

void TPictureCollection::Finalize() {
  DropTextures();
  display_ = nullptr;
}

TPictureCollectionItem& TPictureCollection::Add(std::string name, Pixels picture) {
  auto item = std::make_unique<TPictureCollectionItem>();
  item->Name = std::move(name);
  item->Picture = std::move(picture);
  LinkByName(buckets_, item.get());
  items_.push_back(std::move(item));
  if (display_) Upload(*items_.back());
  return *items_.back();
}

void TPictureCollection::Rename(TPictureCollectionItem& item, const std::string& name) {
  UnlinkByName(buckets_, &item);
  item.Name = name;
  LinkByName(buckets_, &item);
}

void TPictureCollection::Clear() {
  DropTextures();
  items_.clear();
  for (auto& head : buckets_) head = nullptr;
}

TPictureCollectionItem* TPictureCollection::TryFind(const std::string& name) const {
  return FindByName(buckets_, name);
}

TPictureCollectionItem& TPictureCollection::Find(const std::string& name) const {
  if (auto* item = TryFind(name)) return *item;
  throw EGameError("Image '" + name + "' not found");
}

}  // namespace pondaro
