// PONDARO: start-up of the real game in a window.
#include <iostream>

#include "app/app_loop.h"
#include "app/main_form.h"
#include "desktop/command_line.h"
#include "desktop/game_folder.h"
#include "desktop/quit_signals.h"
#include "desktop/sdl_events.h"
#include "desktop/sdl_game.h"
#include "desktop/x11_window.h"
#include "sprites/errors.h"

using namespace pondaro;

int main(int argc, char** argv) {
  if (auto status = AnswerCommandLine(argc, argv, std::cout, std::cerr)) return *status;
  // From the start: a signal during start-up is answered once the loop runs, and
  // a closed stderr never ends the game.
  InstallQuitSignals();
  // Started from another folder (a menu entry, a file manager), the game finds its
  // files beside the executable, or installed, in ../share/pondaro.
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
  form.SettingsDir = SettingsFolderFor(folder.Path, InstalledDataFolder());
  // A lost display ends the game as a quit signal does, as far as files go.
  X11OnConnectionLost(game.Display->WindowId(), [&form] { form.SaveOnExit(); });
  try {
    form.FormCreate();
  } catch (const EDataFileError& e) {
    // The game cannot be played without its pictures and sounds.
    game.Messages->Show(e.what());
    return 1;
  }
  TApplication app(form, events, clock);
  game.Attach(app);
  const int status = app.Run();
  if (status != 0) {
    // An error ended the game: what the player set and scored is kept all the same.
    try {
      form.SaveOnExit();
    } catch (const std::exception&) {
    }
  }
  return status;
}
