#include "sprites/image_list.h"

#include <algorithm>
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
  BeginLoad(path, decoder, {});
  FinishOrClear();
}

void TPictureCollection::LoadFromBytes(const std::vector<uint8_t>& bytes, const PictureDecoder& decoder,
                                       const std::string& fileName) {
  Clear();
  std::vector<CollectionRecord> records;
  std::string error;
  if (!ReadCollection(bytes, CollectionKind::Images, records, error))
    throw EDataFileError(fileName + ": " + error);
  LoadFromRecords(std::move(records), decoder, fileName);
}

void TPictureCollection::LoadFromRecords(std::vector<CollectionRecord> records, const PictureDecoder& decoder,
                                         const std::string& fileName) {
  Clear();
  Start(std::move(records), decoder, fileName, {});
  FinishOrClear();
}

void TPictureCollection::BeginLoad(const std::string& path, const PictureDecoder& decoder,
                                   const std::vector<std::string>& first) {
  Clear();
  // The pictures are decoded where they lie in the file, kept until the last is in.
  auto file = std::make_unique<TFileBytes>(path);
  std::vector<CollectionRecord> records;
  std::string error;
  if (!ReadCollectionInPlace(file->Data(), file->Size(), CollectionKind::Images, records, error))
    throw EDataFileError(path + ": " + error);
  source_ = path;
  file_ = std::move(file);
  Start(std::move(records), decoder, path, first);
}

namespace {

// The cores the helpers may have besides the loading thread: one on a two-core
// machine, so that the game always has a core of its own.
int Helpers() { return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 2u, 4u)) - 1; }

}  // namespace

// Every picture gets its item at once, waiting for its pixels; those named in
// `first` are decoded here, the others by the loader.
void TPictureCollection::Start(std::vector<CollectionRecord> records, const PictureDecoder& decoder,
                               const std::string& fileName, const std::vector<std::string>& first) {
  decoder_ = &decoder;
  name_ = fileName;
  pending_ = std::move(records);
  std::vector<size_t> later;
  for (size_t i = 0; i < pending_.size(); ++i) {
    const CollectionRecord& r = pending_[i];
    auto item = std::make_unique<TPictureCollectionItem>();
    item->Name = r.Name;
    item->PatternWidth = r.PatternWidth;
    item->PatternHeight = r.PatternHeight;
    item->SkipWidth = r.SkipWidth;
    item->SkipHeight = r.SkipHeight;
    item->SystemMemory = r.SystemMemory;
    item->Transparent = r.Transparent;
    item->TransparentColor = r.TransparentColor;
    item->Pending = true;
    LinkByName(buckets_, item.get());
    items_.push_back(std::move(item));
    if (std::none_of(first.begin(), first.end(), [&](const std::string& n) { return SameText(n, r.Name); })) {
      later.push_back(i);
      continue;
    }
    TPictureLoader::Result now;
    now.index = i;
    now.pixels = decoder.Decode(r.PayloadData(), r.PayloadSize(), now.error);
    TakeIn(now);
  }
  if (later.empty())
    EndLoading();
  else
    later_ = std::move(later);  // the helpers start at the first TakeDecoded
}

// Started at the first TakeDecoded (after the game's first frame, which its helpers
// would slow down: their memory faults queue with this thread's), or when a
// picture is wanted before.
TPictureLoader& TPictureCollection::Loader() {
  if (!loader_) loader_ = std::make_unique<TPictureLoader>(pending_, std::move(later_), *decoder_, Helpers());
  later_.clear();
  return *loader_;
}

void TPictureCollection::TakeIn(TPictureLoader::Result& r) {
  CollectionRecord& record = pending_[r.index];
  std::optional<Pixels>& pixels = r.pixels;
  if (pixels && (pixels->Width <= 0 || pixels->Height <= 0 ||
                 pixels->Rgba.size() != static_cast<size_t>(pixels->Width) * pixels->Height * 4)) {
    pixels.reset();
    r.error = "decoded to an unusable size";
  }
  if (!pixels)
    throw EDataFileError(name_ + ": item " + std::to_string(r.index + 1) + ": '" + record.Name +
                         "' is not a picture (" + r.error + ")");
  TPictureCollectionItem& item = *items_[r.index];
  item.Picture = std::move(*pixels);
  item.Pending = false;
  // The PNG brings the colours back for another display, unless the file can.
  if (source_.empty()) item.Png = std::move(record.Payload);
  if (file_) file_->Release(record.InPlace, record.InPlaceSize);
  if (display_) Upload(item);
}

void TPictureCollection::TakeDecoded() {
  if (!Loading()) return;
  LoadStep([&] { Loader().TakeDone([this](TPictureLoader::Result& r) { TakeIn(r); }); });
}

void TPictureCollection::FinishLoading() {
  if (!Loading()) return;
  LoadStep([&] { Loader().Finish([this](TPictureLoader::Result& r) { TakeIn(r); }); });
}

// Runs a step of the loading; once every picture is in, or one is found damaged,
// the loader and its records go.
template <class F>
void TPictureCollection::LoadStep(F&& step) {
  try {
    step();
  } catch (...) {
    EndLoading();
    throw;
  }
  if (std::none_of(items_.begin(), items_.end(), [](const auto& item) { return item->Pending; })) EndLoading();
}

void TPictureCollection::EndLoading() {
  loader_.reset();  // first: its helpers read the records
  later_.clear();
  pending_.clear();
  file_.reset();
}

void TPictureCollection::FinishOrClear() {
  try {
    FinishLoading();
  } catch (...) {
    Clear();
    throw;
  }
}

TPictureCollectionItem& TPictureCollection::Ready(TPictureCollectionItem& item) {
  if (item.Pending) FinishLoading();
  return item;
}

void TPictureCollection::Upload(TPictureCollectionItem& item) {
  if (item.Texture != 0) display_->DestroyTexture(item.Texture);
  item.Texture = 0;
  if (item.Pending) return;  // uploaded when it is taken in
  if (item.Picture.Rgba.empty() && !item.Png.empty() && decoder_) {
    std::string error;
    if (auto again = decoder_->Decode(item.Png.data(), item.Png.size(), error)) item.Picture.Rgba = std::move(again->Rgba);
  }
  if (item.Picture.Rgba.empty()) return;
  item.Texture = display_->CreateTexture(item.Picture, AllOpaque(item.Picture));
  if (item.Png.empty() && source_.empty()) return;
  // The display holds the colours now: keep what the pixel test reads.
  if (item.Solid.empty()) {
    const size_t pixels = item.Picture.Rgba.size() / 4;
    item.Solid.assign((pixels + 7) / 8, 0);
    for (size_t i = 0; i < pixels; ++i)
      if (item.Picture.Rgba[i * 4 + 3] >= TPictureCollectionItem::kSolidAlpha) item.Solid[i / 8] |= 1 << (i % 8);
  }
  std::vector<uint8_t>().swap(item.Picture.Rgba);
}

// A picture read from a file whose colours went to a display that is gone gets
// them back from the file (read once for all of them).
void TPictureCollection::Recolour(size_t i, std::unique_ptr<TFileBytes>& file, std::vector<CollectionRecord>& records) {
  TPictureCollectionItem& item = *items_[i];
  if (source_.empty() || !decoder_ || item.Pending || !item.Png.empty() || !item.Picture.Rgba.empty()) return;
  std::string error;
  if (!file) {
    try {
      file = std::make_unique<TFileBytes>(source_);
      ReadCollectionInPlace(file->Data(), file->Size(), CollectionKind::Images, records, error);
    } catch (const EDataFileError&) {
      return;  // the picture stays off the new display
    }
  }
  if (i >= records.size() || !SameText(item.Name, records[i].Name)) return;
  if (auto again = decoder_->Decode(records[i].PayloadData(), records[i].PayloadSize(), error))
    if (again->Width == item.Width() && again->Height == item.Height()) item.Picture.Rgba = std::move(again->Rgba);
}

void TPictureCollection::Restore(Display& display) {
  // Textures of another display are no use here; the old one lets go of them.
  // The same display keeps its textures across a full-screen switch: only the
  // pictures it lacks are uploaded, one at a time.
  if (display_ != &display) DropTextures();
  display_ = &display;
  std::unique_ptr<TFileBytes> file;
  std::vector<CollectionRecord> records;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->Texture != 0) continue;
    Recolour(i, file, records);
    Upload(*items_[i]);
  }
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
  EndLoading();
  source_.clear();
  DropTextures();
  items_.clear();
  for (auto& head : buckets_) head = nullptr;
}

TPictureCollectionItem* TPictureCollection::TryFind(const std::string& name) {
  TPictureCollectionItem* item = FindByName(buckets_, name);
  return item ? &Ready(*item) : nullptr;
}

TPictureCollectionItem& TPictureCollection::Items(int i) { return Ready(*items_.at(static_cast<size_t>(i))); }

TPictureCollectionItem& TPictureCollection::Find(const std::string& name) {
  if (auto* item = TryFind(name)) return *item;
  throw EGameError("Image '" + name + "' not found");
}

}  // namespace pondaro
