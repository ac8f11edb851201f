// PONDARO: start-up of the real game in a window.
#include <cstdio>

#include "app/app_loop.h"
#include "app/main_form.h"
#include "platform/curl_http.h"
#include "platform/sdl_display.h"
#include "platform/sdl_events.h"
#include "platform/sdl_picture.h"
#include "platform/sdl_sound.h"
#include "platform/sdl_system.h"
#include "platform/xdg_shell.h"
#include "platform/xmp_player.h"
#include "sprites/errors.h"
#include "sprites/wave_list.h"

using namespace pondaro;

int main(int, char**) {
  SdlRuntime runtime;
  std::string error;
  if (!runtime.Start(error)) {
    SdlMessageBox().Show("Cannot start: " + error);
    return 1;
  }
  auto display = SdlDisplay::OpenWindow(error);
  if (!display) {
    SdlMessageBox().Show("Cannot open the window: " + error);
    return 1;
  }
  SdlPictureDecoder decoder;
  try {
    auto bytes = ReadWholeFile("Data/icon.png");
    std::string iconError;
    if (auto icon = decoder.Decode(bytes.data(), bytes.size(), iconError)) display->SetIcon(*icon);
  } catch (const EDataFileError&) {
    // The icon is a nicety; the game runs without it.
  }

  SdlSoundOutput sound;
  std::string soundError;
  if (runtime.AudioAvailable() && !sound.Open(soundError))
    std::fprintf(stderr, "PONDARO: no sound: %s\n", soundError.c_str());
  XmpModulePlayer music;
  SdlKeyboard keyboard;
  SdlEventSource events(display.get());
  SdlClock clock;
  SdlMessageBox messages(display->WindowId());
  CurlHttpClient http;
  XdgShell shell(messages);

  {
    TMainForm form(FormServices{*display, keyboard, sound, music, http, shell, messages, clock, decoder});
    try {
      form.FormCreate();
    } catch (const EDataFileError& e) {
      messages.Show(e.what());
      return 1;
    }
    TApplication app(form, events, clock);
    app.Run();
  }
  sound.Close();
  return 0;
}
