// The name-entry panel shown after a good game, and the tick of its send box.
//
// The game centres the panel on the 800 x 600 screen, writes the score at y 225
// and the name at y 310 over it (green, size 20, centred on x = 400), takes
// clicks on the name field (x 250..550, y 315..348) and on the send box
// (x 245..283, y 367..405), and puts the tick's picture at (243, 362). Everything
// below is laid out in screen coordinates and shifted into the panel's frame.
#include <cmath>

#include "canvas.h"
#include "menu_words.h"
#include "pond.h"

namespace pondaro::assetgen {

namespace {

constexpr int kPanelW = 480, kPanelH = 360;
constexpr double kLeft = (800 - kPanelW) / 2.0, kTop = (600 - kPanelH) / 2.0;  // 160, 120

// The plate, in screen coordinates; the frame keeps room for its shadow.
constexpr double kPlateX = 175, kPlateY = 128, kPlateW = 450, kPlateH = 340, kPlateR = 28;
constexpr double kHeaderBottom = 206;
constexpr Field kScoreField{296, 221, 208, 46, 14};
constexpr Field kNameField{250, 315, 300, 33, 10};
constexpr Field kSendBox{245, 367, 38, 38, 8};

const Rgba kInk = Hex(0x4A1C06);

TextStyle Words(double size) {
  TextStyle s;
  s.Size = size;
  s.Outline = kInk;
  s.OutlineWidth = std::max(1.6, size * 0.07);
  s.Shadow = Hex(0x022A30, 0.45);
  s.ShadowDx = size * 0.05;
  s.ShadowDy = size * 0.08;
  s.ShadowBlur = std::max(1.5, size * 0.06);
  return s;
}

std::vector<uint8_t> Panel() {
  Canvas canvas(kPanelW, kPanelH);
  cairo_t* cr = canvas.Cr();
  cairo_translate(cr, -kLeft, -kTop);

  DrawPlate(cr, {kPlateX, kPlateY, kPlateW, kPlateH, kPlateR, kHeaderBottom});
  DrawTextCentered(cr, "New High Score!", 400, 167, Words(FitTextSize("New High Score!", "Leckerli One", 330, 52)));
  // Flowers resting on the rim's upper corners.
  DrawWaterLily(cr, kPlateX + 16, kPlateY + 18, 24, 0.3);
  DrawLilyBud(cr, kPlateX + kPlateW - 24, kPlateY + 22, 30, 2.5);

  DrawInset(cr, kScoreField);
  TextStyle label = Words(24);
  DrawTextCentered(cr, "Score", 242, 244, label);
  DrawTextCentered(cr, "Type your name", 400, 294, label);
  DrawInset(cr, kNameField);
  DrawInset(cr, kSendBox);
  TextStyle send = Words(22);
  const Box ink = TextInk("Send to the online table", send.Face, send.Size);
  DrawText(cr, "Send to the online table", 296 - ink.x, 386 - ink.y - ink.h / 2, send);
  TextStyle hint = Words(19);
  hint.Top = Hex(0xFFD27A);
  hint.Bottom = Hex(0xF08A2A);
  DrawTextCentered(cr, "Press Enter to save", 400, 437, hint);
  return canvas.Png();
}

// A bold green tick whose strokes stay in the box at (245..283, 367..405).
std::vector<uint8_t> Tick() {
  constexpr int kW = 46, kH = 46;
  constexpr double kX = 243, kY = 362;  // where the game puts the picture
  Canvas canvas(kW, kH);
  cairo_t* cr = canvas.Cr();
  cairo_translate(cr, -kX, -kY);
  auto tick = [](cairo_t* c) {
    cairo_move_to(c, 252, 386);
    cairo_curve_to(c, 256, 389, 259, 393, 261, 398);
    cairo_curve_to(c, 266, 385, 272, 377, 279, 371);
  };
  auto stroke = [&](cairo_t* c, double width) {
    tick(c);
    cairo_set_line_width(c, width);
    cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
  };
  {
    // The shadow of a stroke: drawn apart, blurred, laid under it.
    Canvas shade(kW, kH);
    cairo_translate(shade.Cr(), -kX, -kY);
    stroke(shade.Cr(), 9);
    SetColor(shade.Cr(), Hex(0x0B2A08, 0.45));
    cairo_stroke(shade.Cr());
    BlurSurface(shade.Surface(), 1.5);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, shade.Surface(), 1.5, 2);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  stroke(cr, 9);
  SetColor(cr, Hex(0x1F5A12));
  cairo_stroke(cr);
  stroke(cr, 5.6);
  Gradient::Linear(250, 370, 280, 398, {{0, Hex(0x9CF05A)}, {1, Hex(0x2E9A1C)}}).Use(cr);
  cairo_stroke(cr);
  // A glint on the long stroke.
  cairo_move_to(cr, 266, 384);
  cairo_curve_to(cr, 269, 379, 272, 376, 275, 373.5);
  cairo_set_line_width(cr, 1.6);
  SetColor(cr, Hex(0xEFFFD8, 0.8));
  cairo_stroke(cr);
  return canvas.Png();
}

}  // namespace

void AddNameEntryArt(Assets& assets) {
  assets.Picture("Enter_Name", Panel());
  assets.Picture("Enter_Name_Send", Tick());
}

ASSETGEN_MODULE(AddNameEntryArt);

}  // namespace pondaro::assetgen
