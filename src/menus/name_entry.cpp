// Name entry after a game over: the panel, the typed name, the send option, and
// storing a new high score.
#include <cmath>
#include <cstring>
#include <string>

#include "app/main_form.h"
#include "menus/game_over.h"
#include "menus/text_looks.h"

namespace pondaro {

namespace {

constexpr char kEntryAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890";
// Widths the typing limit counts with, A to Z and 0 to 9; a small letter is as wide
// as its capital.
constexpr int kLetterWidths[26] = {39, 40, 37, 38, 37, 38, 40, 41, 17, 33, 38, 39, 45,
                                   39, 38, 36, 40, 35, 39, 39, 40, 37, 53, 42, 37, 37};
constexpr int kDigitWidths[10] = {38, 18, 37, 40, 40, 38, 39, 38, 40, 38};
constexpr int kMaxNameLength = 10;
constexpr int kMaxNameWidth = 360;
constexpr int kNameTextSize = 20;
constexpr int kNameY = 305;  // the descenders of a typed name stay inside its field (y 315..348)

bool Inside(int x, int y, int left, int top, int right, int bottom) {
  return x >= left && x <= right && y >= top && y <= bottom;
}

}  // namespace

int TMainForm::EntryCharacter(int key) {
  // Keypad digits type their digits; the other keypad keys and the F-keys, whose
  // codes fall on the small letters, type nothing.
  if (key >= vk::Numpad0 && key <= vk::Numpad0 + 9) return '0' + (key - vk::Numpad0);
  if (key >= vk::Multiply && key <= vk::F24) return 0;
  if (key <= 0 || key > 127) return 0;
  return std::strchr(kEntryAlphabet, key) != nullptr ? key : 0;
}

int TMainForm::GlyphWidth(int ch) {
  if (ch >= 'A' && ch <= 'Z') return kLetterWidths[ch - 'A'];
  if (ch >= 'a' && ch <= 'z') return kLetterWidths[ch - 'a'];
  if (ch >= '0' && ch <= '9') return kDigitWidths[ch - '0'];
  return 0;
}

void TMainForm::GameEnterNameClick() {
  GameEnterName = !GameEnterName;
  if (!GameEnterName) return;
  // An empty name is typed at once; a remembered one is offered with typing off.
  // Set before the panel is made, so a missing picture does not stop the typing.
  GamegoEdit = Edit2.empty();
  new TEnter_Name(*this);
}

void TMainForm::GameSendResultClick() {
  GameSendResult = !GameSendResult;
  Root().ForEach<TEnter_Name_Send>([](TEnter_Name_Send* s) { s->Dead(); });
  if (GameSendResult) new TEnter_Name_Send(*this);
}

void TMainForm::StoreHighScore() {
  int r = 10;
  for (int place = 9; place >= 1; --place)
    if (HighScores[place - 1].Score <= Score) --r;
  // The entries from place r down move one place lower; the old tenth drops out.
  for (int place = 10; place > r; --place) HighScores[place - 1] = HighScores[place - 2];
  HighScores[r - 1] = {PlayerName, Score};
  Menus.NewPlace = r;
}

void TMainForm::TypeName(int key) {
  if (key == vk::Back && !Edit2.empty()) Edit2.pop_back();
  const int ch = EntryCharacter(key);
  if (ch != 0 && static_cast<int>(Edit2.size()) < kMaxNameLength && EditTextWidth + GlyphWidth(ch) <= kMaxNameWidth)
    Edit2 += static_cast<char>(ch);
}

void TMainForm::CommitName() {
  // Only a name the player has seen in the open panel is committed, and once.
  if (!GameEnterName || Submission.Running()) return;
  PlayerName = Edit2;  // keys typed since the last frame count too
  // A score equal to the tenth asked for a name: it is kept as every tie is.
  if (PlayerName.empty() || Score < HighScores[9].Score) return;
  StoreHighScore();
  if (GameSendResult) {
    // The entry is on disk before the network is asked; the table follows the answer.
    GamegoEdit = false;
    SaveSettings();
    SubmitScore();
    return;
  }
  ChangeScene(7);
}

void TMainForm::StoreTypedName() {
  // A score being sent is in the table already.
  if (Scene != 9 || Submission.Running() || Score < HighScores[9].Score) return;
  if (Edit2.empty()) Edit2 = SettingsStore.Synced.Name;
  PlayerName = Edit2.empty() ? DefaultHighScores()[0].Name : Edit2;
  StoreHighScore();
  GameEnterName = GamegoEdit = false;
}

void TMainForm::GameOverClick() {
  if (Submission.Running()) return;
  if (Score < HighScores[9].Score) {
    Services.clock.Sleep(200);
    ChangeScene(2);
    return;
  }
  if (!Edit2.empty()) GamegoEdit = false;
  if (Inside(MouseX, MouseY, 250, 315, 550, 348)) {
    GamegoEdit = true;
    Guarded([&] { PlaySound("button_down"); });
  } else if (Inside(MouseX, MouseY, 245, 367, 283, 405)) {
    GameSendResultClick();
    Guarded([&] { PlaySound("button_down"); });
  }
}

void TMainForm::NameEntryFrame() {
  SubmissionFrame();
  if (!GameEnterName) return;
  PlayerName = Edit2;
  Display& d = DXDraw();
  const std::string score = std::to_string(Score);
  d.DrawStyledText(400 - 12 * static_cast<int>(score.size()), 225, score, kNameTextSize, looks::kPaleField);
  EditTextWidth = d.TextWidth(PlayerName, kNameTextSize);
  if (!PlayerName.empty())
    d.DrawStyledText(400 - static_cast<int>(std::lrint(EditTextWidth / 2.0)), kNameY, PlayerName, kNameTextSize,
                     looks::kPaleField);
}

TEnter_Name::TEnter_Name(TMainForm& form) : TMenu(form, "Enter_Name", 0, 0, 0) { CentreOnSurface(form); }

TEnter_Name_Send::TEnter_Name_Send(TMainForm& form) : TMenu(form, "Enter_Name_Send", 243, 362, 1) {}

}  // namespace pondaro
