// The options screen (scene 6): display mode, music, sound and the country, each
// taking effect at once; the settings are written when the screen is left.
#include <climits>

#include "app/main_form.h"
#include "menus/text_looks.h"
#include "menus/panels.h"
#include "menus/screens.h"

namespace pondaro {

namespace {

constexpr TStill kStills[] = {
    {"Options_Word", 355, 0, 1},      {"Options_Display", 0, 215, 1}, {"Options_Music", 0, 276, 1},
    {"Options_Sound", 0, 333, 1},     {"Options_Country", 0, 386, 1}, {"Options_Back_n", 347, 521, 1},
};

// In the order of the choices they mark (the first six items below).
constexpr TStill kMarks[] = {
    {"Options_window_mode", 253, 207, 900}, {"Options_full_screen", 458, 207, 900},
    {"Options_Music_On", 256, 271, 2900},   {"Options_Music_Of", 338, 270, 2900},
    {"Options_sound_on", 254, 327, 900},    {"Options_sound_off", 341, 327, 900},
};

// A click on the part of a row that is already chosen does nothing.
void ToWindow(TMainForm& f) {
  if (!f.GameFullScreen) return;
  f.GameFullScreenClick();
  ClickSound(f);
}
void ToFullScreen(TMainForm& f) {
  if (f.GameFullScreen) return;
  f.GameFullScreenClick();
  ClickSound(f);
}
void MusicOn(TMainForm& f) {
  if (f.GameMusic) return;
  f.GameMusicClick();
  ClickSound(f);
  f.PlayMusic("1");
}
void MusicOff(TMainForm& f) {
  if (!f.GameMusic) return;
  f.GameMusicClick();
  ClickSound(f);
  f.StopMusic();
}
// The click comes after the switch: heard when sound goes on, not when it goes off.
void SoundOn(TMainForm& f) {
  if (f.GameSound) return;
  f.GameSoundClick();
  ClickSound(f);
}
void SoundOff(TMainForm& f) {
  if (!f.GameSound) return;
  f.GameSoundClick();
  ClickSound(f);
}
void TypeHere(TMainForm& f) {
  f.GamegoEdit = true;
  ClickSound(f);
}
void Back(TMainForm& f) {
  f.ChangeScene(2);
  ClickSound(f);
}

constexpr CursorShape kHand = CursorShape::Hand;
// A row's band outside its choices: the default cursor, and the hover sound's
// arming is left as it was.
constexpr TMenuItem Band(int top, int bottom) {
  return {{INT_MIN, top, INT_MAX, bottom}, nullptr, nullptr, 0, 0, 0, nullptr, nullptr, CursorShape::Arrow};
}

constexpr TMenuItem kItems[] = {
    {{260, 218, 440, 250}, "Options_Display", nullptr, 0, 0, 0, nullptr, ToWindow, kHand},
    {{468, 218, 765, 250}, "Options_Display", nullptr, 0, 0, 0, nullptr, ToFullScreen, kHand},
    {{260, 280, 320, 310}, "Options_Music", nullptr, 0, 0, 0, nullptr, MusicOn, kHand},
    {{348, 280, 435, 310}, "Options_Music", nullptr, 0, 0, 0, nullptr, MusicOff, kHand},
    {{260, 338, 320, 370}, "Options_Sound", nullptr, 0, 0, 0, nullptr, SoundOn, kHand},
    {{348, 338, 435, 370}, "Options_Sound", nullptr, 0, 0, 0, nullptr, SoundOff, kHand},
    {{400, 400, 775, 445}, "Options_Country", nullptr, 0, 0, 0, nullptr, TypeHere, CursorShape::IBeam},
    {{375, 525, 513, 562}, "Options_Back_n", "Help_Back_p", 341, -1, 2, Show<HelpGame_Back>, Back},
    Band(218, 250), Band(280, 310), Band(338, 370), Band(400, 445),
};

// Enter on a row picks the choice that is not chosen.
void ToggleDisplay(TMainForm& f) { f.GameFullScreen ? ToWindow(f) : ToFullScreen(f); }
void ToggleMusic(TMainForm& f) { f.GameMusic ? MusicOff(f) : MusicOn(f); }
void ToggleSound(TMainForm& f) { f.GameSound ? SoundOff(f) : SoundOn(f); }

// The rows' names, lit while the keyboard is on the row; the hot rectangles are the
// names' words.
constexpr TMenuItem kRowNames[] = {
    {{48, 220, 208, 252}, "Options_Display", "Options_Display_d", 0, 189, 2, Show<Options_Row>, ToggleDisplay},
    {{70, 281, 186, 310}, "Options_Music", "Options_Music_d", 0, 250, 2, Show<Options_Row>, ToggleMusic},
    {{66, 340, 190, 368}, "Options_Sound", "Options_Sound_d", 0, 309, 2, Show<Options_Row>, ToggleSound},
    {{50, 404, 207, 441}, "Options_Country", "Options_Country_d", 0, 378, 2, Show<Options_Row>, TypeHere},
};
constexpr TMenuStop kStops[] = {
    {&kRowNames[0], ToWindow, ToFullScreen, 0, 1}, {&kRowNames[1], MusicOn, MusicOff, 2, 3},
    {&kRowNames[2], SoundOn, SoundOff, 4, 5},      {&kRowNames[3], nullptr, nullptr, 6, 6},
    {&kItems[7], nullptr, nullptr, 7, 7},
};
constexpr int kCountrySize = 20;
constexpr int kMaxCountryLength = 10;
constexpr int kCountryRoom = 375;  // the field's width; a widest character is counted as 37

}  // namespace

std::span<const TStill> OptionsStills() { return kStills; }
std::span<const TMenuItem> OptionsItems() { return kItems; }
std::span<const TMenuStop> OptionsStops() { return kStops; }
std::span<const TMenuItem> OptionsRowNames() { return kRowNames; }
std::span<const TStill> OptionsMarks() { return kMarks; }

Options_window_mode::Options_window_mode(TMainForm& f) : TMenu(f, kMarks[0]) {}
Options_full_screen::Options_full_screen(TMainForm& f) : TMenu(f, kMarks[1]) {}
Options_music_on::Options_music_on(TMainForm& f) : TMenu(f, kMarks[2]) {}
Options_music_off::Options_music_off(TMainForm& f) : TMenu(f, kMarks[3]) {}
Options_sound_on::Options_sound_on(TMainForm& f) : TMenu(f, kMarks[4]) {}
Options_sound_off::Options_sound_off(TMainForm& f) : TMenu(f, kMarks[5]) {}

void OptionsClick(TMainForm& form) {
  // Any click ends typing, unless it lands in the field (an empty field keeps it).
  if (!form.Edit1.empty()) form.GamegoEdit = false;
  ChooseItem(form, kItems);
}

void TMainForm::EnterOptions() {
  PlaceLogosAndBackdrop(*this);
  PlaceStills(*this, kStills);
  Countdown6 = 30;
  // With no country yet, typing goes straight into the field.
  GamegoEdit = Edit1.empty();
}

void TMainForm::OptionsFrame() {
  CountryText = Edit1;
  EditTextWidth = DXDraw().TextWidth(CountryText, kCountrySize);
  DXDraw().DrawStyledText(400, 403, CountryText, kCountrySize, looks::kDarkField);
  // The marks made now are drawn at the next tick: they show the flags as they are.
  Root().ForEach<TMenu>([](TMenu* m) { m->Dead(); });
  Guarded([&] {
    if (GameFullScreen) new Options_full_screen(*this); else new Options_window_mode(*this);
  });
  Guarded([&] {
    if (GameSound) new Options_sound_on(*this); else new Options_sound_off(*this);
  });
  Guarded([&] {
    if (GameMusic) new Options_music_on(*this); else new Options_music_off(*this);
  });
}

void TMainForm::TypeCountry(int key) {
  if (key == vk::Back && !Edit1.empty()) Edit1.pop_back();
  const int ch = EntryCharacter(key);
  if (ch != 0 && EditTextWidth + 37 <= kCountryRoom && static_cast<int>(Edit1.size()) < kMaxCountryLength)
    Edit1 += static_cast<char>(ch);
}

}  // namespace pondaro
