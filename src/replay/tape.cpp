#include "replay/tape.h"

#include "replay/player.h"
#include "replay/shelf.h"
#include "replay/watch.h"

namespace pondaro {

namespace {

TRecord Question(TRecordKind kind, int64_t value = 0) {
  TRecord r;
  r.Kind = kind;
  r.Value = value;
  return r;
}

}  // namespace

class TTape::TapeClock : public Clock {
 public:
  TapeClock(TTape& tape, Clock& live) : tape_(tape), live_(live) {}
  uint64_t Milliseconds() const override {
    const TRecord r = tape_.Ask(Question(TRecordKind::Clock), [&] {
      return Question(TRecordKind::Clock, static_cast<int64_t>(live_.Milliseconds()));
    });
    return static_cast<uint64_t>(r.Value);
  }
  // A replay plays at its own pace: the game's little waits are not waited.
  void Sleep(int ms) override {
    if (!tape_.Player()) live_.Sleep(ms);
  }

 private:
  TTape& tape_;
  Clock& live_;
};

class TTape::TapeKeyboard : public Keyboard {
 public:
  TapeKeyboard(TTape& tape, Keyboard& live) : tape_(tape), live_(live) {}
  bool IsDown(int key) const override {
    return tape_.Ask(Question(TRecordKind::Key, key), [&] {
             TRecord r = Question(TRecordKind::Key, key);
             r.Down = live_.IsDown(key);
             return r;
           }).Down;
  }
  JoystickState Joystick() const override {
    return tape_.Ask(Question(TRecordKind::Pad), [&] {
             TRecord r = Question(TRecordKind::Pad);
             r.Pad = live_.Joystick();
             return r;
           }).Pad;
  }

 private:
  TTape& tape_;
  Keyboard& live_;
};

// Passes the drawing on (unless the tape is quiet) and puts the display's answers
// that reach the rules through the tape. While a replay plays, the frame's calls
// are kept, to show it again while the watching pauses.
class TTape::TapeDisplay : public Display {
 public:
  TapeDisplay(TTape& tape, Display& live) : tape_(tape), live_(live) {}

  bool CanDraw() const override {
    return tape_.Ask(Question(TRecordKind::CanDraw), [&] { return Question(TRecordKind::CanDraw, live_.CanDraw()); })
        .Value;
  }
  int SurfaceWidth() const override { return live_.SurfaceWidth(); }
  int SurfaceHeight() const override { return live_.SurfaceHeight(); }
  int WindowWidth() const override { return live_.WindowWidth(); }
  TextureId CreateTexture(const Pixels& pixels, bool opaque) override { return live_.CreateTexture(pixels, opaque); }
  void DestroyTexture(TextureId id) override { live_.DestroyTexture(id); }

  void BeginFrame() override {
    if (tape_.Quiet) return;
    frame_.clear();
    live_.BeginFrame();
  }
  void EndFrame() override {
    if (tape_.Quiet) return;
    if (tape_.Player() && tape_.Overlay) tape_.Overlay(live_);
    live_.EndFrame();
  }
  void Fill(Color c) override {
    Call call(Call::Fill);
    call.color = c;
    Pass(call);
  }
  void Draw(TextureId tex, const TRect& src, int x, int y) override {
    Call call(Call::Plain, tex, src);
    call.x = x;
    call.y = y;
    Pass(call);
  }
  void DrawStretched(TextureId tex, const TRect& src, const TRect& dst, int alpha) override {
    Call call(Call::Stretched, tex, src);
    call.dst = dst;
    call.alpha = alpha;
    Pass(call);
  }
  void DrawRotated(TextureId tex, const TRect& src, int cx, int cy, int w, int h, int angle, int alpha) override {
    Rotation(Call::Rotated, tex, src, cx, cy, w, h, 0.5, 0.5, angle, alpha);
  }
  void DrawRotatedAbout(TextureId tex, const TRect& src, int px, int py, int w, int h, double fx, double fy,
                        int angle, int alpha) override {
    Rotation(Call::RotatedAbout, tex, src, px, py, w, h, fx, fy, angle, alpha);
  }
  void Rotation(int kind, TextureId tex, const TRect& src, int px, int py, int w, int h, double fx, double fy,
                int angle, int alpha) {
    Call call(static_cast<Call::Kind>(kind), tex, src);
    call.x = px;
    call.y = py;
    call.w = w;
    call.h = h;
    call.fx = fx;
    call.fy = fy;
    call.angle = angle;
    call.alpha = alpha;
    Pass(call);
  }
  void DrawText(int x, int y, const std::string& text, int pointSize, Color c) override {
    Call call(Call::Text);
    call.x = x;
    call.y = y;
    call.w = pointSize;
    call.color = c;
    call.text = text;
    Pass(call);
  }
  void DrawStyledText(int x, int y, const std::string& text, int pointSize, const TextLook& look) override {
    Call call(Call::Styled);
    call.x = x;
    call.y = y;
    call.w = pointSize;
    call.text = text;
    call.look = look;
    Pass(call);
  }
  // Where a styled text goes, not what the rules do: not recorded.
  int StyledTextWidth(const std::string& text, int pointSize, TextFace face) override {
    return live_.StyledTextWidth(text, pointSize, face);
  }
  // Where drawn text lands, for a display that redraws only what changed: not the rules'.
  TRect TextBounds(int x, int y, const std::string& text, int pointSize) override {
    return live_.TextBounds(x, y, text, pointSize);
  }
  TRect StyledTextBounds(int x, int y, const std::string& text, int pointSize, const TextLook& look) override {
    return live_.StyledTextBounds(x, y, text, pointSize, look);
  }
  // The name entry's typing limit counts with the width: it reaches the rules.
  int TextWidth(const std::string& text, int pointSize) override {
    return static_cast<int>(tape_
                                .Ask(Question(TRecordKind::TextWidth),
                                     [&] { return Question(TRecordKind::TextWidth, live_.TextWidth(text, pointSize)); })
                                .Value);
  }

  void SetCursor(CursorShape shape) override { live_.SetCursor(shape); }
  // A replay's focus changes and full-screen switches stay in the replay.
  void SetCaption(const std::string& caption) override {
    if (!tape_.Player()) live_.SetCaption(caption);
  }
  bool SetFullScreen(bool on) override {
    return tape_.Ask(Question(TRecordKind::FullScreen), [&] {
                  return Question(TRecordKind::FullScreen, live_.SetFullScreen(on));
                }).Value;
  }
  bool IsMaximized() const override {
    return tape_.Ask(Question(TRecordKind::Maximized),
                     [&] { return Question(TRecordKind::Maximized, live_.IsMaximized()); })
        .Value;
  }

  void Redraw() {
    live_.BeginFrame();
    for (const Call& c : frame_) Send(c);
    if (tape_.Overlay) tape_.Overlay(live_);
    live_.EndFrame();
  }

 private:
  struct Call {
    enum Kind { Fill, Plain, Stretched, Rotated, RotatedAbout, Text, Styled } kind;
    explicit Call(Kind k, TextureId t = 0, const TRect& s = {}) : kind(k), texture(t), src(s) {}
    TextureId texture = 0;
    TRect src, dst;
    int x = 0, y = 0, w = 0, h = 0, angle = 0, alpha = 255;
    double fx = 0, fy = 0;
    Color color;
    std::string text;
    TextLook look;
  };

  void Pass(const Call& c) {
    if (tape_.Quiet) return;
    if (tape_.Player()) frame_.push_back(c);
    Send(c);
  }
  void Send(const Call& c) {
    switch (c.kind) {
      case Call::Fill: live_.Fill(c.color); break;
      case Call::Plain: live_.Draw(c.texture, c.src, c.x, c.y); break;
      case Call::Stretched: live_.DrawStretched(c.texture, c.src, c.dst, c.alpha); break;
      case Call::Rotated: live_.DrawRotated(c.texture, c.src, c.x, c.y, c.w, c.h, c.angle, c.alpha); break;
      case Call::RotatedAbout:
        live_.DrawRotatedAbout(c.texture, c.src, c.x, c.y, c.w, c.h, c.fx, c.fy, c.angle, c.alpha);
        break;
      case Call::Text: live_.DrawText(c.x, c.y, c.text, c.w, c.color); break;
      case Call::Styled: live_.DrawStyledText(c.x, c.y, c.text, c.w, c.look); break;
    }
  }

  TTape& tape_;
  Display& live_;
  std::vector<Call> frame_;
};

TTape::TTape(const FormServices& live)
    : live_(live),
      clock_(std::make_unique<TapeClock>(*this, live.clock)),
      keyboard_(std::make_unique<TapeKeyboard>(*this, live.keyboard)),
      display_(std::make_unique<TapeDisplay>(*this, live.display)) {}

TTape::~TTape() = default;

FormServices TTape::Services() {
  FormServices s = live_;
  return FormServices{*display_, *keyboard_, s.sound, s.music, s.http, s.shell, s.messages, *clock_, s.decoder};
}

TRecord TTape::Ask(const TRecord& question, const std::function<TRecord()>& live) {
  if (player_) return player_->Answer(question);
  TRecord answer = live();
  Recorder.Note(answer);
  if (watch_) watch_->LiveAnswer(answer);
  return answer;
}

void TTape::Redraw() { display_->Redraw(); }

void TTape::SetWatch(std::unique_ptr<TReplayWatch> watch) { watch_ = std::move(watch); }

void TTape::LeaveReplay(TMainForm& form) {
  if (watch_) watch_->Abandon(form);
}

TDriveScope::TDriveScope(TMainForm& form, TRecordKind kind, const InputEvent& event) : form_(form) {
  if (form.Tape) form.Tape->DriveBegins(form, TDrive{kind, event});
}

TDriveScope::~TDriveScope() {
  if (form_.Tape) form_.Tape->DriveEnds(form_);
}

void TTape::DriveBegins(TMainForm& form, const TDrive& drive) {
  if (player_) return;
  Recorder.DriveBegins(form, drive);
  if (watch_) watch_->LiveDrive(form, drive);
}

void TTape::DriveEnds(TMainForm& form) {
  if (player_) return;
  Recorder.DriveEnds(form);
  if (watch_) watch_->LiveDriveEnds(form);
}

void TTape::GameStarts(TMainForm& form) {
  if (!player_) Recorder.GameStarts(form);
}

void TTape::GameEnds(TMainForm& form) {
  if (player_) {
    player_->GameEnds(form);
    return;
  }
  std::optional<TReplay> game = Recorder.GameEnds(form);
  if (!game) return;  // none was being recorded, or it ended already (the name committed)
  LastGame = std::move(game);
  ++GamesRecorded;
  LastGameTaint = Recorder.Tainted();
  if (KeepReplays && LastGameTaint.empty()) KeepIfInTable(form, *LastGame);
}

}  // namespace pondaro
