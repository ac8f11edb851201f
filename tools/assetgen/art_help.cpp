// The help screen's title and buttons, and the Back button the options screen
// shares with it.
//
// The game puts "Help_arrows" on the bottom edge at x 554 with both page arrows
// in it: "next page" above (hot x 613..709, y 509..535), "previous page" below
// (x 578..749, y 552..577); their highlights "Help_Down" (next, at (594, 490))
// and "Help_Up" (previous, on the bottom edge at x 558). Back: "Help_back_n" and
// "Options_Back_n" at (347, 521), hot x 375..513, y 525..562, highlighted by
// "Help_Back_p" on the bottom edge at x 341. "Help_panel" lies under the pages'
// words at (242, 168).
#include <cmath>

#include "menu_words.h"

namespace pondaro::assetgen {

namespace {

// The help texts run over x 250..780: the title is centred above them.
constexpr double kTextCentre = 515;

ButtonArt BackButton() {
  const HotRect hot{375, 525, 513, 562};
  Label back{"Back", hot.Cx(), hot.Cy()};
  back.Size = CommonSize({{back, {hot.W(), hot.H() * 1.2}}});
  return {"Help_back_n", "Help_Back_p", back, hot, 347, 521, 341, -1};
}

// Both arrows in one picture standing on the bottom edge; each button's highlight
// is drawn over its own part.
void Arrows(Assets& assets) {
  const HotRect nextHot{613, 509, 709, 535}, previousHot{578, 552, 749, 577};
  Label next{"Next \xC2\xBB", nextHot.Cx(), nextHot.Cy()}, previous{"\xC2\xAB Previous", previousHot.Cx(), previousHot.Cy()};
  const double size = CommonSize({{next, {nextHot.W(), nextHot.H() * 1.3}}, {previous, {previousHot.W(), previousHot.H() * 1.3}}});
  next.Size = previous.Size = size;
  const TextStyle s = MenuStyle(size);
  const Box nextBox = LabelExtent(next, s), previousBox = LabelExtent(previous, s);
  const double x = 554, top = std::floor(std::min(nextBox.y, nextHot.t));
  const Box all = Union(Union(nextBox, previousBox), {previousHot.l, previousHot.t, previousHot.W(), previousHot.H()});
  ScreenCanvas c(x, top, static_cast<int>(std::ceil(all.x + all.w - x)), static_cast<int>(kScreenHeight - top));
  DrawLabel(c.Cr(), next, s);
  DrawLabel(c.Cr(), previous, s);
  assets.Picture("Help_arrows", c.Png());
  assets.Picture("Help_Down", LitPicture({"", "Help_Down", next, nextHot, x, top, 594, 490}, nextBox));
  assets.Picture("Help_Up", LitPicture({"", "Help_Up", previous, previousHot, x, top, 558, -1}, previousBox));
}

// A calm, dark pane under the pages' words and pictures (x 242..790, y 168..508),
// so that the busy pond behind does not run through the letters.
std::vector<uint8_t> Pane() {
  constexpr int w = 548, h = 340;
  Canvas c(w, h);
  cairo_t* cr = c.Cr();
  auto shape = [](cairo_t* k) { RoundedRectPath(k, 4, 4, w - 8, h - 10, 22); };
  SoftShape(cr, shape, Hex(0x021E22, 0.35), 2, 4, 3);
  shape(cr);
  Gradient::Linear(0, 4, 0, h - 6, {{0, Hex(0x0B4A55, 0.74)}, {1, Hex(0x06303A, 0.8)}}).Use(cr);
  cairo_fill_preserve(cr);
  SetColor(cr, Hex(0x8FE0D2, 0.45));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  return c.Png();
}

}  // namespace

void AddHelpArt(Assets& assets) {
  assets.Picture("Help_panel", Pane());
  assets.Picture("Help_word", TitlePicture("Help", 371, 0, kTextCentre, 30, 230, 100));
  const ButtonArt back = BackButton();
  AddButton(assets, back);
  // The same Back on the options screen, so that one highlight serves both.
  assets.Picture("Options_Back_n", NormalPicture(back));
  Arrows(assets);
}

ASSETGEN_MODULE(AddHelpArt);

}  // namespace pondaro::assetgen
