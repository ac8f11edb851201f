// A map of picture frames, optionally repeated over the whole visible area: the
// menu backdrop and the game's scrolling water.
#pragma once
#include <vector>

#include "sprites/image_list.h"
#include "sprites/sprite.h"

namespace pondaro {

class TBackgroundSprite : public TSprite {
 public:
  explicit TBackgroundSprite(TSprite* parent);
  ~TBackgroundSprite() override;

  TPictureCollectionItem* Image = nullptr;  // every tile is one frame of it
  std::vector<bool> SolidMap;               // MapColumns x MapRows, row by row
  std::vector<int> Map;                     // frame per cell; negative: empty
  int MapColumns = 0, MapRows = 0;
  bool Tile = false;  // repeat the map endlessly over the visible area

  // Resizes the map to all-frame-0, all-solid cells; a size of 0 or less empties it.
  void SetMapDimensions(int width, int height);
  // -1 / false outside the map.
  int CellFrame(int col, int row) const;
  bool SolidAt(int col, int row) const;

  void Paint() override;
  TRect BoxRect() const override;
  bool HitTest(TSprite* other) override;

 private:
  bool MapEmpty() const { return MapColumns <= 0 || MapRows <= 0; }
};

}  // namespace pondaro
