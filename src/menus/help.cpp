// The help screen (scene 5): five pages of text with a few pictures, paged with
// two arrow buttons. Every page change rebuilds the screen.
#include <algorithm>

#include "app/main_form.h"
#include "menus/help_text.h"
#include "menus/screens.h"
#include "persist/score_service.h"

namespace pondaro {

namespace {

// Each picture sits beside its caption. The pond's lilies fill their 150 px cells,
// so here they are drawn at half size; three of them one above the other at full
// size would cover each other and their captions.
constexpr TStill kEnemies[] = {
    {"kuvshinka_simple", 292, 244, 1},
    {"kuvshinka_hunter", 305, 338, 1, TAnchor::TopLeft, 2},
    {"kuvshinka_pruginka", 305, 423, 1, TAnchor::TopLeft, 2},
    {"kuvshinka_liapuchka", 575, 263, 1, TAnchor::TopLeft, 2},
    {"kroko", 522, 318, 1, TAnchor::TopLeft, 2},
    {"aist", 596, 414, 1, TAnchor::TopLeft, 6},
};
// The insects larger than in play, each centred beside its two lines.
constexpr TStill kFood[] = {
    {"Help_mushka", 330, 263, 1}, {"Help_muha", 318, 347, 1}, {"Help_komar", 308, 432, 1},
    {"Help_vodomerka", 580, 268, 1}, {"Help_pchel", 580, 340, 1},
};
constexpr TStill kAbout[] = {{"logo", 280, 270, 0}};
constexpr TStill kEveryPage[] = {
    {"Help_panel", 242, 168, 0},
    {"Help_word", 371, 0, 1},
    {"Help_arrows", 554, 0, 1, TAnchor::Bottom},
    {"Help_back_n", 347, 521, 1},
};

void Back(TMainForm& f) {
  f.ChangeScene(2);
  ClickSound(f);
}

void NextPage(TMainForm& f) {
  if (f.HelpPage >= 5) return;
  ++f.HelpPage;
  f.ChangeScene(5);
  ClickSound(f);
}

void PreviousPage(TMainForm& f) {
  if (f.HelpPage <= 1) return;
  --f.HelpPage;
  f.ChangeScene(5);
  ClickSound(f);
}

// The next-page arrow is the upper one.
constexpr TMenuItem kItems[] = {
    {{375, 525, 513, 562}, "Help_back_n", "Help_Back_p", 341, -1, 2, Show<HelpGame_Back>, Back},
    {{613, 509, 709, 535}, "Help_arrows", "Help_Down", 594, 490, 2, Show<HelpGame_Down>, NextPage},
    {{578, 552, 749, 577}, "Help_arrows", "Help_Up", 558, -1, 2, Show<HelpGame_Up>, PreviousPage},
};

struct TLine {
  int X, Y, Size;
  const char* Text;
};

// Each page: its heading at size 16, then its lines.
constexpr TLine kPage1[] = {
    {260, 180, 16, "GAME OVERVIEW AND OBJECTIVES"},
    {260, 240, 9, "Take the first steps with a cute young frog max in"},
    {260, 260, 9, "the world full of adventure and danger."},
    {260, 290, 9, "Jump from one water lily to another and expand the"},
    {260, 310, 9, "horizons and get food."},
    {260, 340, 9, "Max is growing up, demanding that the meal should be"},
    {260, 360, 9, "more substantial. Be aware: Don\"t become someone\"s"},
    {260, 380, 9, "meal when searching for food."},
    {260, 410, 9, "Even a sophisticated user won\"t be indifferent to"},
    {260, 430, 9, "this marvelousto animated cartoon world. Cheerful"},
    {260, 450, 9, "mood and enjoyment are guaranteed."},
};
constexpr TLine kPage2[] = {
    {260, 180, 16, "CONTROLS"},
    {260, 220, 12, "MENU NAVIGATIONS"},
    {260, 250, 8, "Use the cursor keys or mouse to move the menu cursor up"},
    {260, 270, 8, "and down. Press the \"Enter\" key or any mouse button to"},
    {260, 290, 8, "enter menu options."},
    {260, 310, 8, "Press the \"Left Arrow\", \"Right Arrow\" keys or any mouse"},
    {260, 330, 8, "button to change a menu option."},
    {260, 350, 8, "Press \"Esc\" to back from the submenu to Main Menu."},
    {260, 370, 12, "GAME NAVIGATIONS"},
    {260, 400, 8, "Use the keys \"Up Arrow\", \"Left Arrow\" and \"Right Arrow\""},
    {260, 420, 8, "to move a frog. Use mouse to cath the food"},
    {260, 440, 8, "Use the keys \"P\" to pause or resume the game."},
    {260, 460, 8, "Use \"Escape\" key to quit the game to Main Menu."},
    {260, 480, 8, "Use \"Alt\"+\"Enter\" keys to change window/full screen mode."},
};
constexpr TLine kPage3[] = {
    {260, 180, 16, "Enemies"},
    {400, 280, 8, "water lily"},  {400, 355, 8, "water lily"}, {400, 375, 8, "that eats frogs"},
    {400, 440, 8, "a springy"},   {400, 460, 8, "water lily"}, {680, 280, 8, "a sticking"},
    {680, 300, 8, "water lily"},  {680, 355, 8, "a crocodile"}, {680, 375, 8, "water lily"},
    {680, 440, 8, "a stork"},
};
constexpr TLine kPage4[] = {
    {260, 180, 16, "Food"},
    {400, 280, 8, "midge"},       {400, 300, 8, "+5 score"},  {400, 365, 8, "fly"},
    {400, 385, 8, "+10 score"},   {400, 450, 8, "mosquito"},  {400, 470, 8, "+15 score"},
    {680, 280, 8, "pond skater"}, {680, 300, 8, "+20 score"}, {680, 365, 8, "bee"},
    {680, 385, 8, "+25 score"},
};
constexpr TLine kPage5[] = {
    {260, 180, 16, "ABOUT"},
    {375, 260, 14, "PONDARO, v.2.0"},
    {375, 290, 12, "\xC2\xA9 Zentaplex. Made with love for frogs."},
    {375, 310, 12, kHomePageUrl},
};

std::span<const TLine> PageLines(int page) {
  switch (page) {
    case 1: return kPage1;
    case 2: return kPage2;
    case 3: return kPage3;
    case 4: return kPage4;
    default: return kPage5;
  }
}

}  // namespace

std::span<const TStill> HelpPageStills(int page) {
  switch (page) {
    case 3: return kEnemies;
    case 4: return kFood;
    case 5: return kAbout;
    default: return {};
  }
}
std::span<const TStill> HelpStills() { return kEveryPage; }
std::span<const TMenuItem> HelpItems() { return kItems; }

// Back and the arrows arm their hover sounds apart.
void HelpHover(TMainForm& form) {
  HoverItems(form, HelpItems().first(1), form.Menus.PointerOutsideBack);
  HoverItems(form, HelpItems().subspan(1), form.Menus.PointerOutside);
}

void TMainForm::EnterHelp() {
  // However the screen is entered, it shows one of its five pages.
  HelpPage = static_cast<uint8_t>(std::clamp<int>(HelpPage, 1, 5));
  // A missing picture loses only itself: the page keeps its buttons.
  PlaceStills(*this, HelpPageStills(HelpPage));
  PlaceStills(*this, kEveryPage);
  PlaceLogosAndBackdrop(*this);
}

void TMainForm::HelpFrame() {
  for (const TLine& line : PageLines(HelpPage)) DrawHelpLine(DXDraw(), line.X, line.Y, line.Text, line.Size);
}

}  // namespace pondaro
