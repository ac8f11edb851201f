// Everything the game runs on, brought up in order and taken down in reverse:
// SDL, the display (a window or an offscreen canvas), sound, music, the message
// box, HTTP and the browser. The game itself, the shot runner and the pacing
// bench all start from here.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "app/app_loop.h"
#include "app/main_form.h"
#include "desktop/curl_http.h"
#include "desktop/sdl_display.h"
#include "desktop/sdl_picture.h"
#include "desktop/sdl_sound.h"
#include "desktop/sdl_system.h"
#include "desktop/xdg_shell.h"
#include "desktop/xmp_player.h"
#include "sprites/dirty_display.h"

namespace pondaro {

// Hands messages on to `Route` once it is set (the game's own panel), else to the
// system's box.
class RoutedMessageBox : public MessageBox {
 public:
  explicit RoutedMessageBox(std::unique_ptr<SdlMessageBox>& fallback) : fallback_(fallback) {}
  std::function<void(const std::string&)> Route;
  void Show(const std::string& message) override {
    if (Route)
      Route(message);
    else
      fallback_->Show(message);
  }

 private:
  std::unique_ptr<SdlMessageBox>& fallback_;
};

class SdlGame {
 public:
  enum class Mode { Window, Offscreen };

  // False with `error` set when SDL or the display cannot start. A missing sound
  // device is not an error: the game then runs silent. `gameFolder` holds Data/.
  bool Start(Mode mode, std::string& error, const std::string& gameFolder = ".");
  FormServices Services(Keyboard& keyboard, Clock& clock);
  // Gives the loop the services' own upkeep: finished browsers are reaped (and a
  // late failure reported, on the game's own panel) between ticks, not at the
  // next web link.
  void Attach(TApplication& app);

  SdlRuntime Runtime;
  std::unique_ptr<SdlDisplay> Display;
  // What the game draws on: it passes to Display only what changed.
  std::unique_ptr<TDirtyDisplay> Screen;
  SdlPictureDecoder Decoder;
  SdlSoundOutput Sound;
  XmpModulePlayer Music;  // after Sound: its hook goes before the mixer closes
  std::unique_ptr<SdlMessageBox> Messages = std::make_unique<SdlMessageBox>();
  RoutedMessageBox BrowserMessages{Messages};
  CurlHttpClient Http;
  std::unique_ptr<XdgShell> Browser;
};

}  // namespace pondaro
