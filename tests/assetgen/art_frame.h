// The generated collection loaded as the game loads it, and one frame of a
// picture read pixel by pixel, for the tests of the pictures.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "desktop/sdl_picture.h"
#include "sprites/image_list.h"

namespace pondaro {

constexpr int kSolid = 128;

// A suite over the pictures of Data/Graphic.dxg, loaded once.
class PondArt : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    images = new TPictureCollection;
    images->LoadFromFile(PONDARO_GAME_DIR "/Data/Graphic.dxg", SdlPictureDecoder());
  }
  static void TearDownTestSuite() {
    delete images;
    images = nullptr;
  }
  static const TPictureCollectionItem& Pic(const std::string& name) { return images->Find(name); }

  static inline TPictureCollection* images = nullptr;
};

// One frame's pixels, addressed in the frame's own coordinates.
struct Frame {
  const TPictureCollectionItem& item;
  TRect r;
  Frame(const TPictureCollectionItem& it, int n) : item(it), r(it.FrameRectOf(n)) {}
  int W() const { return r.Width(); }
  int H() const { return r.Height(); }
  uint8_t A(int x, int y) const { return item.Picture.AlphaAt(r.Left + x, r.Top + y); }
  bool Solid(int x, int y) const { return x >= 0 && y >= 0 && x < W() && y < H() && A(x, y) >= kSolid; }
  const uint8_t* Px(int x, int y) const {
    return &item.Picture.Rgba[(static_cast<size_t>(r.Top + y) * item.Picture.Width + r.Left + x) * 4];
  }
  // Solid pixels inside [x0, x1] x [y0, y1].
  int SolidIn(int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) n += Solid(x, y);
    return n;
  }
  double AlphaSum() const {
    double s = 0;
    for (int y = 0; y < H(); ++y)
      for (int x = 0; x < W(); ++x) s += A(x, y);
    return s;
  }
  TRect SolidBox() const {
    TRect b{W(), H(), -1, -1};
    for (int y = 0; y < H(); ++y)
      for (int x = 0; x < W(); ++x)
        if (Solid(x, y)) b = {std::min(b.Left, x), std::min(b.Top, y), std::max(b.Right, x + 1), std::max(b.Bottom, y + 1)};
    return b;
  }
};

}  // namespace pondaro
