// The main menu's six words, each in its normal and highlighted look.
//
// The game puts the normal pictures and the highlights at fixed places and tests
// the pointer against fixed hot rectangles; the words are centred on those
// rectangles and fill them, all at one size.
#include "menu_words.h"

namespace pondaro::assetgen {

void AddMenuItemArt(Assets& assets) {
  struct Item {
    const char* text;
    HotRect hot;
    double nx, ny, lx, ly;
  };
  const Item items[] = {
      {"Start Game", {355, 165, 735, 205}, 355, 161, 328, 136},
      {"Options", {425, 240, 675, 283}, 423, 240, 413, 213},
      {"High Score", {380, 315, 725, 355}, 374, 312, 354, 288},
      {"Help", {470, 390, 623, 430}, 465, 388, 442, 364},
      {"Visit Web Site", {330, 460, 765, 500}, 326, 457, 307, 435},
      {"Exit", {480, 530, 615, 570}, 477, 529, 451, 503},
  };
  // Descenders may reach a little beyond the rectangle.
  std::vector<std::pair<Label, std::pair<double, double>>> boxes;
  for (const Item& i : items) boxes.push_back({Label{i.text}, {i.hot.W(), i.hot.H() * 1.3}});
  const double size = CommonSize(boxes);
  for (const Item& i : items) {
    const std::string name = i.text;
    AddButton(assets, {name + "_n", name + "_d", {i.text, i.hot.Cx(), i.hot.Cy(), size}, i.hot, i.nx, i.ny, i.lx, i.ly});
  }
}

ASSETGEN_MODULE(AddMenuItemArt);

}  // namespace pondaro::assetgen
