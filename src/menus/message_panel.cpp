#include "menus/message_panel.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "app/main_form.h"
#include "menus/menu.h"
#include "menus/text_looks.h"

namespace pondaro {

namespace {

// Where assetgen draws the panel (art_dialogs.cpp): the picture, the card the
// message is written on, and OK.
constexpr int kPanelX = 175, kPanelY = 160, kPanelW = 450, kPanelH = 280;
constexpr int kCardLeft = 205, kCardRight = 595, kCardTop = 208, kCardBottom = 362;
constexpr THot kOk{355, 372, 445, 402};
constexpr int kOkLitX = 335, kOkLitY = 352;
constexpr int kTextSize = 14, kLineStep = 24;
// The game beneath stands still, dimmed.
constexpr Color kDim{0, 22, 30, 120};

bool OnPanel(int x, int y) { return x >= kPanelX && x < kPanelX + kPanelW && y >= kPanelY && y < kPanelY + kPanelH; }

// The message in lines that fit the card: its own line breaks kept, words wrapped,
// a word too long for a line (an address) broken where it must.
std::vector<std::string> Lines(Display& d, const std::string& message) {
  const int room = kCardRight - kCardLeft;
  auto fits = [&](const std::string& s) { return d.StyledTextWidth(s, kTextSize, TextFace::Body) <= room; };
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= message.size()) {
    const size_t end = std::min(message.find('\n', start), message.size());
    std::string line;
    size_t i = start;
    while (i < end) {
      const size_t space = std::min(message.find(' ', i), end);
      const std::string word = message.substr(i, space - i);
      const std::string tried = line.empty() ? word : line + " " + word;
      if (fits(tried)) {
        line = tried;
      } else if (!line.empty()) {
        out.push_back(line);
        line.clear();
        continue;  // the word again, on a line of its own
      } else {
        // Longer than a whole line: as much of it as fits.
        size_t n = word.size();
        while (n > 1 && !fits(word.substr(0, n))) --n;
        out.push_back(word.substr(0, n));
        i += n;
        continue;
      }
      i = space + 1;
    }
    out.push_back(line);
    start = end + 1;
  }
  return out;
}

void Close(TMainForm& f) {
  f.MessagePanel.Queue.pop_front();
  f.MessagePanel.OkLit = false;
  f.MessagePanel.ButtonPressed = false;
  ClickSound(f);
  if (!f.MessagePanel.Open()) {
    // Play hides the pointer again, unless the exit dialog waits beneath.
    const bool play = (f.Scene == 3 || f.Scene == 4) && !f.GameMainExit;
    f.DXDraw().SetCursor(play ? CursorShape::None : CursorShape::Arrow);
  }
  f.SyncLevelTimer();
}

// The scene as it stands: its sprites, unmoved, and its texts.
void StillScene(TMainForm& f) {
  f.SpriteEngine.Dead();
  if (f.Scene != 1 && f.Scene != 2) f.DXDraw().Fill(Color{0, 0, 0, 255});
  f.SpriteEngine.Draw();
  switch (f.Scene) {
    case 3: f.CrossingTexts(false); break;
    case 4: f.FeedingTexts(false); break;
    case 5: f.HelpFrame(); break;
    case 6: f.OptionsFrame(); break;
    case 7: f.HighScoreFrame(); break;
    case 9: f.NameEntryFrame(); break;
    default: break;
  }
}

void DrawPicture(TMainForm& f, const char* name, int x, int y) {
  if (const TPictureCollectionItem* p = f.ImageList.TryFind(name); p && p->Ready()) p->Draw(f.DXDraw(), x, y, 0);
}

}  // namespace

void PostMessage(TMainForm& f, const std::string& message) {
  TMessagePanel& m = f.MessagePanel;
  const bool opening = !m.Open();
  m.Queue.push_back(message);
  if (!opening) return;
  m.OkLit = false;
  m.ButtonPressed = false;
  m.ButtonWasDown = (f.Services.keyboard.Joystick().Buttons & 1u) != 0;
  f.DXDraw().SetCursor(CursorShape::Arrow);
  try {
    f.PlaySound("pause");
  } catch (const std::exception&) {
    // A missing sound would only bring another message about itself.
  }
  f.SyncLevelTimer();
}

bool MessagePanelEvent(TMainForm& f, const InputEvent& e) {
  if (!f.MessagePanel.Open()) return false;
  switch (e.Type) {
    case EventType::KeyDown:
      if (e.Key == vk::Return && e.Alt) return false;  // full screen, on every screen
      if (!e.Repeat && (e.Key == vk::Return || e.Key == vk::Escape || e.Key == vk::Space)) Close(f);
      return true;
    case EventType::MouseMove:
      f.MouseX = e.X;
      f.MouseY = e.Y;
      f.MessagePanel.OkLit = kOk.Contains(e.X, e.Y);
      f.DXDraw().SetCursor(f.MessagePanel.OkLit ? CursorShape::Hand : CursorShape::Arrow);
      return true;
    case EventType::MouseDown:
      // A click on the panel closes it; one beside it is not for the game beneath.
      if (e.Button == MouseButton::Left && OnPanel(f.MouseX, f.MouseY)) Close(f);
      return true;
    default:
      return false;  // releases, focus, the window and the system go on as ever
  }
}

void MessagePanelTick(TMainForm& f) {
  TMessagePanel& m = f.MessagePanel;
  if (!m.Open()) return;
  // A press and its release: the same press then does nothing in the game.
  const bool down = (f.Services.keyboard.Joystick().Buttons & 1u) != 0;
  if (down && !m.ButtonWasDown) m.ButtonPressed = true;
  m.ButtonWasDown = down;
  if (!down && m.ButtonPressed) Close(f);
}

void MessagePanelFrame(TMainForm& f) {
  StillScene(f);
  if (!f.MessagePanel.Open()) return;
  Display& d = f.DXDraw();
  d.Fill(kDim);
  DrawPicture(f, "Message_panel", kPanelX, kPanelY);
  if (f.MessagePanel.OkLit) DrawPicture(f, "Message_OK_d", kOkLitX, kOkLitY);
  const std::vector<std::string> lines = Lines(d, f.MessagePanel.Queue.front());
  const int shown = std::min<int>(static_cast<int>(lines.size()), (kCardBottom - kCardTop) / kLineStep);
  int y = (kCardTop + kCardBottom) / 2 - shown * kLineStep / 2 - 4;
  for (int i = 0; i < shown; ++i, y += kLineStep) {
    const int w = d.StyledTextWidth(lines[i], kTextSize, TextFace::Body);
    d.DrawStyledText((kCardLeft + kCardRight - w) / 2, y, lines[i], kTextSize, looks::kMessage);
  }
}

}  // namespace pondaro
