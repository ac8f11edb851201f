// The image collection: named pictures, each cut into equal frames laid out in a
// grid, looked up by name through a 256-bucket hash.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/services.h"
#include "sprites/collection_file.h"
#include "sprites/picture_loader.h"

namespace pondaro {

// 256 buckets, keyed on the lower-cased name: n*16 plus, for n >= 2, the codes of
// the second-to-last and the first character.
int NameBucket(const std::string& name);
std::string LowerCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);

// The bucket chains shared by both collections. An item goes to the head of its
// chain when added or renamed, so of two items with the same name the later wins.
template <class Item>
void LinkByName(Item* (&buckets)[256], Item* item) {
  Item*& head = buckets[NameBucket(item->Name)];
  item->NextInBucket = head;
  head = item;
}

// Unlinks from the chain of the item's current name; falls back to every chain in
// case the name was changed behind the collection's back.
template <class Item>
void UnlinkByName(Item* (&buckets)[256], Item* item) {
  auto unlinkFrom = [item](Item*& head) {
    for (Item** p = &head; *p; p = &(*p)->NextInBucket)
      if (*p == item) {
        *p = item->NextInBucket;
        item->NextInBucket = nullptr;
        return true;
      }
    return false;
  };
  if (unlinkFrom(buckets[NameBucket(item->Name)])) return;
  for (auto& head : buckets)
    if (unlinkFrom(head)) return;
}

template <class Item>
Item* FindByName(Item* const (&buckets)[256], const std::string& name) {
  for (Item* p = buckets[NameBucket(name)]; p; p = p->NextInBucket)
    if (SameText(p->Name, name)) return p;
  return nullptr;
}

class TPictureCollectionItem {
 public:
  std::string Name;
  int PatternWidth = 0, PatternHeight = 0;  // 0 or less: the whole picture
  int SkipWidth = 0, SkipHeight = 0;
  bool SystemMemory = false;
  // Kept as read; our pictures carry their transparency in the PNG alpha channel,
  // so no colour key is applied to the pixels.
  bool Transparent = true;
  uint32_t TransparentColor = 0;

  // CPU copy, for the pixel-exact collision test. Once a picture read from the
  // collection is on the display, only which pixels collide is kept (Solid, a bit
  // a pixel); the collection file, or the stored PNG (Png) of a picture that came
  // from elsewhere, brings the colours back for another upload.
  Pixels Picture;
  std::vector<uint8_t> Solid;  // row by row, bit i % 8 of byte i / 8; empty while Picture holds them
  std::vector<uint8_t> Png;
  TextureId Texture = 0;       // 0 while not uploaded to a display
  bool Pending = false;        // still being decoded: no size and no pixels yet
  TPictureCollectionItem* NextInBucket = nullptr;

  int Width() const { return Picture.Width; }
  int Height() const { return Picture.Height; }
  int FrameWidth() const { return PatternWidth > 0 ? PatternWidth : Picture.Width; }
  int FrameHeight() const { return PatternHeight > 0 ? PatternHeight : Picture.Height; }
  // Columns x rows by the skip rule on the stored pattern sizes.
  // A pattern size of 0 or less (or a skip that eats the whole step) counts as one
  // frame across the whole picture in that direction, never a division by zero.
  int FrameCount() const;
  // Frame n's rectangle within Picture; frames run row by row, left to right.
  // Empty when n is not a frame; clipped to the picture (negative skips overlap).
  TRect FrameRectOf(int n) const;
  bool Ready() const { return Texture != 0; }
  // The pixel test's view: pixels of alpha 128 or more collide.
  static constexpr uint8_t kSolidAlpha = 128;
  bool HasPixels() const { return !Solid.empty() || !Picture.Rgba.empty(); }
  bool SolidAt(int x, int y) const {
    const size_t i = static_cast<size_t>(y) * Picture.Width + x;
    return Solid.empty() ? Picture.AlphaAt(x, y) >= kSolidAlpha : (Solid[i / 8] >> (i % 8)) & 1;
  }

  // Drawing calls; each draws nothing when the item is not ready or n is not a frame.
  void Draw(Display& d, int x, int y, int n) const;
  void StretchDraw(Display& d, const TRect& dst, int n) const;
  void DrawAlpha(Display& d, const TRect& dst, int n, int alpha) const;
  // Rotated by angle (256ths) about (cx, cy), scaled to w x h, centre fraction (0.5, 0.5).
  void DrawRotate(Display& d, int cx, int cy, int w, int h, int n, int angle) const;
  void DrawRotateAlpha(Display& d, int cx, int cy, int w, int h, int n, int angle, int alpha) const;
  // Rotated about the point at fraction (fx, fy) of the w x h picture, which lands on (px, py).
  void DrawRotatePivot(Display& d, int px, int py, int w, int h, int n, double fx, double fy, int angle,
                       int alpha = 255) const;
};

class TPictureCollection {
 public:
  TPictureCollection();
  ~TPictureCollection();
  TPictureCollection(const TPictureCollection&) = delete;
  TPictureCollection& operator=(const TPictureCollection&) = delete;

  // Reads Data/Graphic.dxg: clears the collection, decodes every picture (on the
  // machine's cores). Throws EDataFileError naming the file and what is wrong; the
  // collection is then empty. The decoder must outlive the collection: a later
  // upload decodes again with it.
  void LoadFromFile(const std::string& path, const PictureDecoder& decoder);
  // The same from a whole file's bytes already in memory; `fileName` names it in errors.
  void LoadFromBytes(const std::vector<uint8_t>& bytes, const PictureDecoder& decoder,
                     const std::string& fileName);
  void LoadFromRecords(std::vector<CollectionRecord> records, const PictureDecoder& decoder,
                       const std::string& fileName);
  // As LoadFromFile, but only the pictures named in `first` are decoded before it
  // returns; helper threads decode the others meanwhile, and TakeDecoded takes them
  // in (and uploads them) as they come. Looking up a picture still missing waits
  // for the loading to end: nothing is drawn without its picture. A damaged picture
  // found later throws EDataFileError from there.
  void BeginLoad(const std::string& path, const PictureDecoder& decoder, const std::vector<std::string>& first);
  void TakeDecoded();
  // Decodes what is left (on this thread too) and takes everything in.
  void FinishLoading();
  bool Loading() const { return loader_ != nullptr || !later_.empty(); }
  // Uploads every picture to the display (again after a display reset) and remembers
  // it: later loads and adds upload too. Finalize destroys the textures and forgets
  // the display; call it before the display goes away.
  void Restore(Display& display);
  void Finalize();

  // Appends an item (tests and the loader); it becomes the head of its bucket.
  TPictureCollectionItem& Add(std::string name, Pixels picture);
  void Rename(TPictureCollectionItem& item, const std::string& name);
  void Clear();

  int Count() const { return static_cast<int>(items_.size()); }
  // The lookups wait for a picture still being decoded.
  TPictureCollectionItem& Items(int i);
  // Throws EGameError "Image '%s' not found".
  TPictureCollectionItem& Find(const std::string& name);
  TPictureCollectionItem* TryFind(const std::string& name);
  // Whether the collection holds a picture of that name, without waiting for it.
  bool Has(const std::string& name) const { return FindByName(buckets_, name) != nullptr; }

 private:
  void Start(std::vector<CollectionRecord> records, const PictureDecoder& decoder, const std::string& fileName,
             const std::vector<std::string>& first);
  // Gives a decoded picture its item (and texture), or throws naming it.
  void TakeIn(TPictureLoader::Result& r);
  template <class F>
  void LoadStep(F&& step);
  void FinishOrClear();
  void EndLoading();
  TPictureLoader& Loader();
  TPictureCollectionItem& Ready(TPictureCollectionItem& item);
  void Upload(TPictureCollectionItem& item);
  void Recolour(size_t i, std::unique_ptr<TFileBytes>& file, std::vector<CollectionRecord>& records);
  void DropTextures();

  std::vector<std::unique_ptr<TPictureCollectionItem>> items_;
  const PictureDecoder* decoder_ = nullptr;  // of the last load, for uploads after the colours went
  std::string name_;                         // of the last load, for its messages
  std::string source_;                       // the file of the last load, which keeps the PNGs
  TPictureCollectionItem* buckets_[256] = {};
  Display* display_ = nullptr;
  std::unique_ptr<TFileBytes> file_;          // while its pictures are decoded
  std::vector<CollectionRecord> pending_;    // of the pictures being decoded, by item
  std::unique_ptr<TPictureLoader> loader_;
  std::vector<size_t> later_;  // pictures for the loader, before it starts
};

}  // namespace pondaro
