// The form's side of Config.cfg: reading it at start-up, saving it, and the
// saving end of the program.
#include "app/diagnostics.h"
#include "app/main_form.h"
#include "persist/codec.h"
#include "persist/settings_file.h"
#include "persist/settings_store.h"

namespace pondaro {

void TMainForm::ReadSettings() {
  const std::string path = SettingsPath();
  const SettingsRead read = ReadSettingsFile(path);
  SettingsStore.Synced = SettingsValues{};
  if (read.kind == SettingsRead::Unreadable) {
    // Treating it as missing would write the defaults over what the player had.
    SettingsStore.Saving = false;
    ShowError(UnreadableSettingsMessage(path, read.problem, true));
    return;
  }
  if (read.kind == SettingsRead::Missing) return;
  std::vector<std::string> problems;
  const SettingsValues v = DecodeSettings(read.lines, &problems);
  for (const std::string& p : problems) Diagnose(p);
  if (v.FullScreen) GameFullScreenClick();
  if (!v.Music) GameMusic = false;
  if (!v.Sound) GameSound = false;
  Edit1 = CountryText = v.Country;
  Edit2 = PlayerName = v.Name;
  HighScores = v.Table;
  SettingsStore.Synced = v;
  if (IsReadOnlyFile(path)) {
    SettingsStore.Saving = false;
    ShowError(ReadOnlySettingsMessage(path));
  }
}

void TMainForm::SaveSettings() {
  // The padding stays on the in-memory texts, as the frames copy them afresh.
  CountryText = Edit1;
  if (!CountryText.empty()) CountryText = PadToFive(CountryText);
  PlayerName = Edit2;
  if (!PlayerName.empty()) PlayerName = PadToFive(PlayerName);
  if (!SettingsStore.Saving) return;
  SettingsValues mine;
  mine.FullScreen = GameFullScreen;
  mine.Music = GameMusic;
  mine.Sound = GameSound;
  mine.Country = Edit1;
  mine.Name = Edit2;
  mine.Table = HighScores;
  std::string error;
  if (!SettingsDir.empty() && !MakeFolders(SettingsDir, error)) {
    Diagnose(error);
    return;
  }
  const SaveOutcome saved = SaveSettingsFile(SettingsPath(), mine, SettingsStore.Synced);
  switch (saved.kind) {
    case SaveOutcome::Written:
      // Another copy's new scores are this copy's too from now on.
      HighScores = saved.values.Table;
      SettingsStore.Synced = mine;
      SettingsStore.Synced.Table = HighScores;
      break;
    case SaveOutcome::Refused:
      SettingsStore.Saving = false;
      if (SettingsStore.Ending)
        Diagnose(saved.message);
      else
        ShowError(saved.message);
      break;
    case SaveOutcome::Failed:
      Diagnose(saved.message);
      break;
  }
}

void TMainForm::SaveOnExit() {
  if (SettingsStore.Ending) return;  // once, whichever way out came first
  SettingsStore.Ending = true;
  StoreTypedName();
  // Dropped, not waited for: the entry is in the table already.
  Submission = {};
  SaveSettings();
}

}  // namespace pondaro
