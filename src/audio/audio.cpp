// The form's four audio operations: one song at a time, effects by name.
#include "app/main_form.h"

namespace pondaro {

void TMainForm::PlayMusic(const std::string& name) {
  if (!GameMusic) return;
  LastSongOrder = 0;
  if (SongHandle != 0) Services.music.SongFree(SongHandle);
  SongHandle = Services.music.SongLoadFromFile(Path("Music/" + name + ".xm"));
  if (SongHandle != 0) Services.music.SongPlay(SongHandle);
}

void TMainForm::StopMusic() {
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
}

}  // namespace pondaro
