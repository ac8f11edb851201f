// The menu screens' words and buttons. Every menu picture is laid out in screen
// coordinates, where the game puts it and where its hot rectangle lies, and then
// cut out at the picture's own top-left.
//
// A menu item has a normal look (warm yellow words with a dark outline and a soft
// shadow on the water) and a highlighted look, laid over it while the pointer is
// on it: the same words larger and brighter on a warm glow that hides the normal
// words beneath it completely.
#pragma once
#include <string>
#include <vector>

#include "canvas.h"
#include "registry.h"

namespace pondaro::assetgen {

inline constexpr int kScreenWidth = 800, kScreenHeight = 600;

// A canvas whose top-left lies at (x, y) on the screen; draw in screen coordinates.
class ScreenCanvas : public Canvas {
 public:
  ScreenCanvas(double x, double y, int w, int h) : Canvas(w, h), x_(x), y_(y) {
    cairo_translate(Cr(), -x, -y);
  }
  double X() const { return x_; }
  double Y() const { return y_; }

 private:
  double x_, y_;
};

// A hot rectangle as the game tests it: every bound included.
struct HotRect {
  double l, t, r, b;
  double Cx() const { return (l + r) / 2; }
  double Cy() const { return (t + b) / 2; }
  double W() const { return r - l + 1; }
  double H() const { return b - t + 1; }
};

// Words centred on (Cx, Cy) on the screen; several lines are separated by '\n'.
// The menus' words are wide: the face is widened by Stretch and its letters spaced
// by Tracking (a fraction of the size).
struct Label {
  std::string Text;
  double Cx = 0, Cy = 0;
  double Size = 40;
  double Stretch = 1.2, Tracking = 0.05;
};

// The letters of one line with its baseline origin at (x, y).
PathFn WordPath(const std::string& line, double x, double y, const Label& look);
// Ink bounds of what a path function builds.
Box PathInk(const PathFn& path);

TextStyle MenuStyle(double size);
TextStyle LitStyle(double size);

// Ink of the letters alone, in screen coordinates.
Box LabelInk(const Label& label);
// Everything the label paints in `style`: outline, shadow and its blur, glow.
Box LabelExtent(const Label& label, const TextStyle& style);
void DrawLabel(cairo_t* cr, const Label& label, const TextStyle& style);

// The highlighted look of `normal`: the glow that hides it, then the words `scale`
// times larger. LitExtent is what it paints.
void DrawLitLabel(cairo_t* cr, const Label& normal, double scale);
Box LitExtent(const Label& normal, double scale);
Label Scaled(const Label& label, double scale);

// The largest size at which every label fits its w x h box (ink and outline).
double CommonSize(const std::vector<std::pair<Label, std::pair<double, double>>>& labelsAndBoxes);

// Fills the path, grown by `grow` and softened by `blur`, with `fill`.
void Halo(cairo_t* cr, const PathFn& path, double grow, double blur, const Gradient& fill);
// The path of a label's letters, for halos and masks.
PathFn LabelPath(const Label& label);

// A button: its words fill the hot rectangle; the game puts the normal picture at
// (NormalX, NormalY) and the highlighted one at (LitX, LitY), LitY < 0 meaning
// its bottom on the screen's.
struct ButtonArt {
  std::string NormalName, LitName;
  Label Words;
  HotRect Hot;
  double NormalX, NormalY, LitX, LitY;
};
void AddButton(Assets& assets, const ButtonArt& button);
// Only the highlighted picture, over a normal look drawn elsewhere.
std::vector<uint8_t> LitPicture(const ButtonArt& button, const Box& normalBox);
// Only the normal picture; `box` receives its place on the screen.
std::vector<uint8_t> NormalPicture(const ButtonArt& button, Box* box = nullptr);

// A screen's title, its picture's top-left at (x, y): the words as large as w x h
// allows, centred on x = cx, their ink beginning `top` pixels below y; `stretch`
// widens the face as the menus' words are.
std::vector<uint8_t> TitlePicture(const std::string& text, double x, double y, double cx, double top, double w,
                                  double h, double stretch = 1.15);

// A box grown to hold another.
Box Union(const Box& a, const Box& b);

}  // namespace pondaro::assetgen
