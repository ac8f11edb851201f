#include "replay/watch.h"

#include <cstdio>
#include <cstdlib>

#include "app/main_form.h"
#include "menus/menu.h"
#include "menus/text_looks.h"
#include "replay/shelf.h"
#include "replay/tape.h"

namespace pondaro {

namespace {

// Controller buttons as the game numbers them (bit n - 1 of JoystickState::Buttons).
constexpr uint32_t kPadB = 1u << 1, kShoulders = (1u << 4) | (1u << 5), kPadBack = 1u << 6,
                   kPadStart = 1u << 7;
constexpr int kStick = 500;
constexpr int kBannerSize = 20, kKeysSize = 14;

bool Pushed(const JoystickState& p) { return std::abs(p.X) > kStick || std::abs(p.Y) > kStick; }

}  // namespace

bool TReplayWatch::Request(TMainForm& form, const std::string& file, TWatchMode mode, std::string& error) {
  TReplay replay;
  if (!LoadReplay(file, replay, error)) return false;
  if (replay.GameVersion != PONDARO_VERSION || replay.DataChecksum != tape_.Recorder.DataChecksum(form)) {
    error = file + ": recorded by another version of PONDARO (" + replay.GameVersion + ")";
    return false;
  }
  replay_ = std::move(replay);
  mode_ = mode;
  requested_ = true;
  return true;
}

void TReplayWatch::Start(TMainForm& form) {
  requested_ = false;
  saved_ = CaptureStart(form);
  backScene_ = form.Scene;
  savedSound_ = form.GameSound;
  savedMusic_ = form.GameMusic;
  savedMessages_ = form.MessagePanel;
  form.MessagePanel.Queue.clear();
  player_ = std::make_unique<TReplayPlayer>(std::move(replay_), tape_);
  player_->Begin(form);
  // The demo is seen, not heard: the menu's song goes on under it.
  if (mode_ == TWatchMode::Demo) form.GameSound = form.GameMusic = false;
  paused_ = fast_ = false;
  lastPad_ = tape_.Live().keyboard.Joystick();
  tape_.Overlay = [this](Display& d) { DrawBanner(d); };
  tape_.Live().display.SetCaption("PONDARO - Replay");
}

bool TReplayWatch::PutBack(TMainForm& form) {
  requested_ = false;
  if (!player_) return false;
  lastProblem_ = player_->Problem();
  if (lastProblem_.empty() && player_->FirstDivergence() != 0)
    lastProblem_ = "the game went another way from tick " + std::to_string(player_->FirstDivergence());
  if (!lastProblem_.empty()) std::fprintf(stderr, "PONDARO: replay: %s\n", lastProblem_.c_str());
  player_->End();
  player_.reset();
  tape_.Overlay = nullptr;
  tape_.Quiet = false;
  ApplyStart(saved_, form);
  form.MessagePanel = savedMessages_;
  return true;
}

void TReplayWatch::Abandon(TMainForm& form) {
  if (!PutBack(form)) return;
  form.GameSound = savedSound_;
  form.GameMusic = savedMusic_;
  // The screen the player was on, as far as saving goes: no name entry of the replay's.
  form.Scene = static_cast<uint8_t>(backScene_);
}

void TReplayWatch::Stop(TMainForm& form) {
  if (!PutBack(form)) return;
  if (mode_ == TWatchMode::Alone) {
    form.Terminated = true;
    return;
  }
  form.GameSound = savedSound_;
  // The demo left the menu's song playing; a watched game played its own.
  if (mode_ == TWatchMode::Table) {
    form.GameMusic = savedMusic_;
    form.MenuMusicRestart = true;
  }
  form.ChangeScene(backScene_);
  // Back on the row that was chosen, for the keys to go on from.
  form.Menus.Focus = saved_.Menus.Focus;
  ShowMenuFocus(form);
  form.GameMusic = savedMusic_;
  form.DXDraw().SetCursor(CursorShape::Arrow);
  form.DXDraw().SetCaption(form.AppInactive ? "PONDARO [Pause]" : "PONDARO");
  idleTicks_ = 0;
}

void TReplayWatch::LiveTick(TMainForm& form) {
  if (requested_) Start(form);
  if (!player_) return;
  const JoystickState pad = tape_.Live().keyboard.Joystick();
  const uint32_t pressed = pad.Buttons & ~lastPad_.Buttons;
  const bool pushed = Pushed(pad) && !Pushed(lastPad_);
  lastPad_ = pad;
  if (mode_ == TWatchMode::Demo) {
    if (pressed || pushed) return Stop(form);
  } else {
    if (pressed & (kPadB | kPadBack)) return Stop(form);
    if (pressed & kPadStart) paused_ = !paused_;
    if (pressed & kShoulders) fast_ = !fast_;
  }
  if (paused_) {
    tape_.Redraw();
    return;
  }
  const int ticks = fast_ ? kFastTicks : 1;
  bool more = true;
  for (int i = 0; i < ticks && more; ++i) {
    // Of a fast tick's frames only the last is drawn.
    tape_.Quiet = i + 1 < ticks;
    more = player_->Advance(form, 1);
  }
  tape_.Quiet = false;
  if (!more) Stop(form);
}

void TReplayWatch::LiveEvent(TMainForm& form, const InputEvent& e) {
  const bool press = (e.Type == EventType::KeyDown && !e.Repeat) || e.Type == EventType::MouseDown;
  switch (e.Type) {
    case EventType::Terminate:
      form.EndSession();  // which puts the player's state back first
      return;
    case EventType::Close:
      Stop(form);
      if (!form.Terminated) form.FormClose();
      return;
    case EventType::FocusGained:
    case EventType::FocusLost:
      // The player's own game is told when it comes back.
      saved_.AppInactive = e.Type == EventType::FocusLost;
      return;
    case EventType::Resized:
      saved_.ResizePending = true;
      return;
    default:
      break;
  }
  if (mode_ == TWatchMode::Demo) {
    if (press) Stop(form);
    return;
  }
  // A click is the pointer's way back.
  if (e.Type == EventType::MouseDown && e.Button == MouseButton::Left) return Stop(form);
  if (e.Type != EventType::KeyDown || e.Repeat) return;
  if (e.Key == vk::Escape) Stop(form);
  if (e.Key == 'P') paused_ = !paused_;
  if (e.Key == 'F') fast_ = !fast_;
}

// "Replay" and the name at the foot of the screen, outlined to read over any
// pond, what is going on beside it, and the keys on the right.
void TReplayWatch::DrawBanner(Display& d) {
  const std::string& name = player_ ? player_->Replay().Name : replay_.Name;
  std::string text = mode_ == TWatchMode::Demo ? "Demo" : "Replay";
  if (!name.empty()) text += ": " + name;
  if (paused_)
    text += "   paused";
  else if (fast_)
    text += "   x4";
  d.DrawStyledText(12, 568, text, kBannerSize, looks::kDarkField);
  const std::string keys = mode_ == TWatchMode::Demo ? "Press any key" : "P pause   F fast   Esc back";
  d.DrawStyledText(788 - d.StyledTextWidth(keys, kKeysSize, TextFace::Body), 574, keys, kKeysSize,
                   looks::kSmallPrint);
}

void TReplayWatch::LiveDrive(TMainForm& /*form*/, const TDrive& drive) {
  lastDriveTick_ = drive.Kind == TRecordKind::Ticks;
  if (drive.Kind == TRecordKind::Event) {
    const EventType t = drive.Event.Type;
    if (t == EventType::KeyDown || t == EventType::KeyUp || t == EventType::MouseMove ||
        t == EventType::MouseDown || t == EventType::MouseUp)
      idleTicks_ = 0;
  }
}

void TReplayWatch::LiveDriveEnds(TMainForm& form) {
  if (!lastDriveTick_) return;
  if (form.Scene != 2 || form.GameMainExit || form.MessagePanel.Open() || Active()) {
    idleTicks_ = 0;
    return;
  }
  if (++idleTicks_ < kDemoAfterTicks) return;
  idleTicks_ = 0;
  const std::string best = BestReplay(form);
  std::string error;
  if (!best.empty() && !Request(form, best, TWatchMode::Demo, error))
    std::fprintf(stderr, "PONDARO: %s\n", error.c_str());
}

void TReplayWatch::LiveAnswer(const TRecord& answer) {
  if (answer.Kind != TRecordKind::Pad) return;
  if (answer.Pad.Buttons != idlePad_.Buttons || Pushed(answer.Pad) != Pushed(idlePad_)) idleTicks_ = 0;
  idlePad_ = answer.Pad;
}

}  // namespace pondaro
