// The pieces every menu screen is made of: still pictures placed from a table,
// highlight sprites (TMenuGame) shown under the pointer, group-removable panels
// and marks (TMenu), and the table of items with their hot rectangles and what a
// click on them does.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "app/scene_sprites.h"
#include "platform/display.h"

namespace pondaro {

// Where a picture's top-left goes, given its frame size (w, h) and the table's X, Y.
enum class TAnchor {
  TopLeft,     // (X, Y)
  Bottom,      // (X, 600 - h): standing on the bottom edge
  CentreX,     // (X - w / 2, Y): centred on the line x = X
  Centre,      // centred on the surface, then Y pixels lower
};

// One picture of a screen: created by the set-up, drawn 1:1 unless Shrink > 1
// (then the frame is drawn at 1/Shrink of its size).
struct TStill {
  const char* Image;
  double X = 0, Y = 0;
  int Z = 0;
  TAnchor Anchor = TAnchor::TopLeft;
  int Shrink = 1;
};

// Creates the still as a plain picture sprite. Throws when the picture is missing.
TPlainSprite* PlaceStill(TMainForm& form, const TStill& still);
// Creates each still in order; a missing picture is reported and the rest are still made.
void PlaceStills(TMainForm& form, std::span<const TStill> stills);
// The two logos every menu screen shows, and the tiled backdrop beneath all.
void PlaceLogosAndBackdrop(TMainForm& form);

// A hot rectangle in surface pixels, every bound included.
struct THot {
  int Left, Top, Right, Bottom;
  bool Contains(int x, int y) const { return x >= Left && x <= Right && y >= Top && y <= Bottom; }
};

struct TMenuItem;
using TShowFn = void (*)(TMainForm&, const TMenuItem&);
using TChooseFn = void (*)(TMainForm&);

// One thing the pointer can point at on a screen.
struct TMenuItem {
  THot Hot;
  const char* Normal = nullptr;     // the picture that shows the item at rest
  const char* Highlight = nullptr;  // its highlighted look; none: the cursor alone changes
  double X = 0, Y = 0;              // where the highlight goes; Y < 0: its bottom on the surface's
  int Z = 0;
  TShowFn Show = nullptr;           // creates the highlight sprite
  TChooseFn Choose = nullptr;       // a left click inside; none: nothing happens
  CursorShape Cursor = CursorShape::Hand;
};

// The highlight rule, at the pointer's position: the first item holding it sets the
// cursor and, if it has a highlight, shows it and plays "button_up" when the pointer
// comes from outside. Outside every item the pointer counts as outside. Items
// without a highlight leave the arming as it was. Returns whether an item was hit.
bool HoverItems(TMainForm& form, std::span<const TMenuItem> items, bool& pointerOutside);
// Runs the action of the first item holding the pointer. Returns whether one did.
bool ChooseItem(TMainForm& form, std::span<const TMenuItem> items);
// The click sound every chosen item makes.
void ClickSound(TMainForm& form);

// One stop of a screen's keyboard order: `Lit` is shown while it has the highlight
// and chosen by Enter; a row of choices (the options) takes Left and Right. The
// pointer's items FirstItem..LastItem of the screen's table belong to it.
struct TMenuStop {
  const TMenuItem* Lit;
  TChooseFn Left = nullptr, Right = nullptr;
  int FirstItem = 0, LastItem = 0;
};

// The items the pointer can hit on the screen showing now (none in play).
std::span<const TMenuItem> PointerItems(const TMainForm& form);
// The screen's stops in screen order (none in play and at name entry).
std::vector<TMenuStop> MenuStops(const TMainForm& form);
// Shows the highlight of the focused stop, and no other.
void ShowMenuFocus(TMainForm& form);
// The highlight follows the pointer onto the item under it, and goes out off every item.
void FocusHoveredItem(TMainForm& form);
// An arrow, Enter or Space on a menu screen or dialog; false when it is not the menu's.
bool MenuKey(TMainForm& form, int key);

// TMenuGame: the highlighted look of one item, alive until the pointer next moves.
class TMenuGame : public TPlainSprite {
 public:
  TMenuGame(TMainForm& form, const TMenuItem& item);
};

template <class T>
void Show(TMainForm& form, const TMenuItem& item) {
  new T(form, item);
}

// The highlight classes, named after what they show.
#define PONDARO_HIGHLIGHT(Name) \
  class Name : public TMenuGame { \
   public: \
    using TMenuGame::TMenuGame; \
  }
PONDARO_HIGHLIGHT(Start_Game);
PONDARO_HIGHLIGHT(Options);
PONDARO_HIGHLIGHT(High_Score);
PONDARO_HIGHLIGHT(Help);
PONDARO_HIGHLIGHT(Visit_Web_Site);
PONDARO_HIGHLIGHT(Exit_);
PONDARO_HIGHLIGHT(HelpGame_Back);
PONDARO_HIGHLIGHT(HelpGame_Up);
PONDARO_HIGHLIGHT(HelpGame_Down);
PONDARO_HIGHLIGHT(HighScore_Clear);
PONDARO_HIGHLIGHT(HighScore_View);
PONDARO_HIGHLIGHT(HighScore_Back);
PONDARO_HIGHLIGHT(TMainExit_Yes);
PONDARO_HIGHLIGHT(TMainExit_No);
PONDARO_HIGHLIGHT(Options_Row);
#undef PONDARO_HIGHLIGHT

// TMenu: dialog panels, captions and marks. Each is a picture drawn 1:1 at a fixed
// place and depth; a dialog removes all of them at once when it closes.
class TMenu : public TPlainSprite {
 public:
  // Sized to the picture's frame, top-left at (x, y). Throws when the picture is missing.
  TMenu(TMainForm& form, const std::string& image, double x, double y, int z)
      : TPlainSprite(form, image, x, y, z) {}
  TMenu(TMainForm& form, const TStill& still);

 protected:
  // Centres the sprite on the surface, shifted by dy. The halves are kept exact:
  // the engine truncates when it draws.
  void CentreOnSurface(TMainForm& form, double dy = 0);
};

}  // namespace pondaro
