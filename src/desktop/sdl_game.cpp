#include "desktop/sdl_game.h"

#include <malloc.h>

#include "app/diagnostics.h"
#include "sprites/errors.h"
#include "sprites/wave_list.h"

namespace pondaro {

bool SdlGame::Start(Mode mode, std::string& error, const std::string& gameFolder) {
  // One malloc arena for every thread: the pictures decoded on helper threads are
  // freed on this one, and a per-thread arena kept up to 14 MB of them resident
  // beside the textures that replaced them (peak 70 to 84 MB from run to run).
  mallopt(M_ARENA_MAX, 1);
  if (!Runtime.Start(error)) return false;
  if (mode == Mode::Window && !Runtime.HasScreen()) {
    // SDL falls back to drawing into memory when it finds no display: the game
    // would run where nobody can see it.
    error = "Cannot open the game's window: no display was found (DISPLAY and WAYLAND_DISPLAY are not set).";
    return false;
  }
  Display = mode == Mode::Window ? SdlDisplay::OpenWindow(error) : SdlDisplay::OpenOffscreen(error);
  if (!Display) return false;
  Screen = std::make_unique<TDirtyDisplay>(*Display);
  Messages = std::make_unique<SdlMessageBox>(Display->WindowId());
  Browser = std::make_unique<XdgShell>(BrowserMessages);
  if (mode == Mode::Window) {
    try {
      auto bytes = ReadWholeFile(gameFolder + "/Data/icon.png");
      std::string iconError;
      if (auto icon = Decoder.Decode(bytes.data(), bytes.size(), iconError)) Display->SetIcon(*icon);
    } catch (const EDataFileError&) {
      // The icon is a nicety; the game runs without it.
    }
  }
  std::string soundError;
  if (Runtime.AudioAvailable() && !Sound.Open(soundError))
    Diagnose("no sound: " + soundError);
  return true;
}

FormServices SdlGame::Services(Keyboard& keyboard, Clock& clock) {
  return FormServices{*Screen, keyboard, Sound, Music, Http, *Browser, *Messages, clock, Decoder};
}

void SdlGame::Attach(TApplication& app) {
  app.Housekeeping = [this] { Browser->Poll(); };
  BrowserMessages.Route = [&form = app.Form()](const std::string& message) { form.ShowError(message); };
}

}  // namespace pondaro
