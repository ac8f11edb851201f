// The main menu (scene 2): six words on the pond, chosen with the mouse.
#include "app/main_form.h"
#include "menus/home_page.h"
#include "menus/screens.h"
#include "persist/score_service.h"

namespace pondaro {

namespace {

constexpr TStill kStills[] = {
    {"Start Game_n", 355, 161}, {"Options_n", 423, 240},        {"High Score_n", 374, 312},
    {"Help_n", 465, 388},       {"Visit Web Site_n", 326, 457}, {"Exit_n", 477, 529},
};

// Every item plays its click after its action.
template <int kScene>
void Go(TMainForm& f) {
  f.ChangeScene(kScene);
  ClickSound(f);
}

void VisitWebSite(TMainForm& f) {
  VisitHomePage(f);
  ClickSound(f);
}

void Exit(TMainForm& f) {
  f.GameMainExitClick();
  ClickSound(f);
}

constexpr TMenuItem kItems[] = {
    {{355, 165, 735, 205}, "Start Game_n", "Start Game_d", 328, 136, 1, Show<Start_Game>, Go<3>},
    {{425, 240, 675, 283}, "Options_n", "Options_d", 413, 213, 1, Show<Options>, Go<6>},
    {{380, 315, 725, 355}, "High Score_n", "High Score_d", 354, 288, 1, Show<High_Score>, Go<7>},
    {{470, 390, 623, 430}, "Help_n", "Help_d", 442, 364, 1, Show<Help>, Go<5>},
    {{330, 460, 765, 500}, "Visit Web Site_n", "Visit Web Site_d", 307, 435, 1, Show<Visit_Web_Site>, VisitWebSite},
    {{480, 530, 615, 570}, "Exit_n", "Exit_d", 451, 503, 1, Show<Exit_>, Exit},
};

}  // namespace

std::span<const TStill> MainMenuStills() { return kStills; }
std::span<const TMenuItem> MainMenuItems() { return kItems; }

void TMainForm::EnterMainMenu() {
  DXDraw().SetCursor(CursorShape::Arrow);
  if (MenuMusicRestart) {
    MenuMusicRestart = false;
    PlayMusic("1");
  }
  HelpPage = 1;
  PlaceStills(*this, kStills);
  PlaceLogosAndBackdrop(*this);
}

}  // namespace pondaro
