// The form's four audio operations: one song at a time, effects by name.
#include <cstring>

#include "app/main_form.h"
#include "audio/flight_sound.h"

namespace pondaro {

namespace {

constexpr const char* kFlightSounds[] = {"mushka", "muha", "komar", "vodomerka", "pchel"};

bool IsFlightSound(const std::string& name) {
  for (const char* s : kFlightSounds)
    if (name == s) return true;
  return false;
}

}  // namespace

void TMainForm::PlayMusic(const std::string& name) {
  // With music off a playing song is left alone.
  songAfterFrame_.clear();
  if (!GameMusic) return;
  LastSongOrder = 0;
  if (SongHandle != 0) Services.music.SongFree(SongHandle);
  SongHandle = Services.music.SongLoadFromFile(Path("Music/" + name + ".xm"));
  if (SongHandle != 0) Services.music.SongPlay(SongHandle);
}

void TMainForm::StopMusic() {
  songAfterFrame_.clear();
  if (SongHandle != 0) Services.music.SongFree(SongHandle);
  SongHandle = 0;
}

void TMainForm::PlaySound(const std::string& name) {
  if (!GameSound) return;
  DXWaveList.Find(name).Play(false);
}

void TMainForm::StopSound(const std::string& name) {
  if (name == "button_up") DXWaveList.Find("button_up").Stop();
  if (name == "all") {
    for (int i = 0; i < DXWaveList.Count(); ++i) DXWaveList.Items(i).Stop();
    return;
  }
  if (IsFlightSound(name)) {
    // An insect that stops its sound as it dies has asked to die already and
    // does not count itself.
    int alive = 0;
    for (TSprite* s : Root().List()) {
      if (s->Dying) continue;
      auto* source = dynamic_cast<TFlightSoundSource*>(s);
      if (source && name == source->FlightSound()) ++alive;
    }
    if (alive == 0) DXWaveList.Find(name).Stop();
  }
}

void TMainForm::SetFlightSounds(bool heard) {
  if (heard == !Feeding.BuzzSilenced) return;
  Feeding.BuzzSilenced = !heard;
  // Only kinds still in the air have a buzz to stop or start again.
  for (const char* name : kFlightSounds) {
    bool flying = false;
    for (TSprite* s : Root().List()) {
      auto* source = dynamic_cast<TFlightSoundSource*>(s);
      flying = flying || (source && !s->Dying && source->FlightSound() == std::string(name));
    }
    if (!flying) continue;
    if (heard)
      PlaySound(name);
    else
      DXWaveList.Find(name).Stop();
  }
}

}  // namespace pondaro
