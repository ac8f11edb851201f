// PONDARO: start-up of the real game in a window.
#include "app/app_loop.h"
#include "app/main_form.h"
#include "desktop/game_folder.h"
#include "desktop/sdl_events.h"
#include "desktop/sdl_game.h"
#include "sprites/errors.h"

using namespace pondaro;

int main(int, char**) {
  // Started from another folder (a menu entry, a file manager), the game finds its
  // files beside the executable; Config.cfg is kept with them.
  const GameFolder folder = FindGameFolder(GameFolderCandidates());
  if (folder.Path.empty()) {
    SdlMessageBox().Show(GameFolderMissingMessage(folder));
    return 1;
  }
  SdlGame game;
  std::string error;
  if (!game.Start(SdlGame::Mode::Window, error, folder.Path)) {
    game.Messages->Show(error);
    return 1;
  }
  SdlKeyboard keyboard;
  SdlEventSource events(game.Display.get());
  SdlClock clock;
  TMainForm form(game.Services(keyboard, clock));
  form.DataDir = folder.Path;
  try {
    form.FormCreate();
  } catch (const EDataFileError& e) {
    // The game cannot be played without its pictures and sounds.
    game.Messages->Show(e.what());
    return 1;
  }
  TApplication app(form, events, clock);
  game.Attach(app);
  return app.Run();
}
