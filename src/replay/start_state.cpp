#include "replay/start_state.h"

#include <algorithm>

namespace pondaro {

// A field added to one of these has to be carried here too (and to the file's
// version): the sizes stand guard.
static_assert(sizeof(TPond) == 72, "TPond changed: carry the new field in start_state.cpp");
static_assert(sizeof(TFrogState) == 48, "TFrogState changed: carry the new field in start_state.cpp");
static_assert(sizeof(TFeeding) == 32, "TFeeding changed: carry the new field in start_state.cpp");
static_assert(sizeof(TMenuState) == 96, "TMenuState changed: carry the new field in start_state.cpp");
static_assert(sizeof(TInputStates) == 52, "TInputStates changed: carry the new field in start_state.cpp");

namespace {

// The one list of what is carried, between the form and the start state either way.
template <class To, class From>
void CopyState(To& to, const From& from) {
  to.Level = from.Level;
  to.Score = from.Score;
  to.Lives = from.Lives;
  to.CountryText = from.CountryText;
  to.PlayerName = from.PlayerName;
  to.Edit1 = from.Edit1;
  to.Edit2 = from.Edit2;
  to.GameFullScreen = from.GameFullScreen;
  to.GameMainExit = from.GameMainExit;
  to.GameEnterName = from.GameEnterName;
  to.GameSendResult = from.GameSendResult;
  to.GamegoEdit = from.GamegoEdit;
  to.GameClearHighScore = from.GameClearHighScore;
  to.GameExit = from.GameExit;
  to.Countdown2 = from.Countdown2;
  to.Countdown3 = from.Countdown3;
  to.Countdown4 = from.Countdown4;
  to.Countdown5 = from.Countdown5;
  to.Countdown6 = from.Countdown6;
  to.AimAngle = from.AimAngle;
  to.AimAngleOffset = from.AimAngleOffset;
  to.MouseX = from.MouseX;
  to.MouseY = from.MouseY;
  to.AimFixed = from.AimFixed;
  to.Paused = from.Paused;
  to.AppInactive = from.AppInactive;
  to.ResizePending = from.ResizePending;
  to.LevelBanner = from.LevelBanner;
  to.GameOver = from.GameOver;
  to.NormalRound = from.NormalRound;
  to.MenuMusicRestart = from.MenuMusicRestart;
  to.FireHeld = from.FireHeld;
  to.EditTextWidth = from.EditTextWidth;
  to.LevelTimeLeft = from.LevelTimeLeft;
  to.HighScores = from.HighScores;
  to.Input = from.Input;
  to.Pond = from.Pond;
  to.Frog = from.Frog;
  to.Feeding = from.Feeding;
  to.Menus = from.Menus;
  to.Timer1 = from.Timer1;
  to.LevelTimer = from.LevelTimer;
}

struct Writer {
  ByteWriter& out;
  void operator()(bool& v) { out.Bool(v); }
  void operator()(uint8_t& v) { out.U8(v); }
  void operator()(int32_t& v) { out.Signed(v); }
  void operator()(int64_t& v) { out.Signed(v); }
  void operator()(uint32_t& v) { out.Var(v); }
  void operator()(uint64_t& v) { out.Var(v); }
  void operator()(double& v) { out.Double(v); }
  void operator()(std::string& v) { out.Text(v); }
  template <class T>
  void operator()(T& v, T, T) { (*this)(v); }
};

struct Reader {
  ByteReader& in;
  static constexpr size_t kMaxText = 64;
  void operator()(bool& v) { v = in.Bool(); }
  void operator()(uint8_t& v) { v = in.U8(); }
  void operator()(int32_t& v) {
    const int64_t x = in.Signed();
    if (x < INT32_MIN || x > INT32_MAX) in.ok = false;
    v = static_cast<int32_t>(x);
  }
  void operator()(int64_t& v) { v = in.Signed(); }
  void operator()(uint32_t& v) {
    const uint64_t x = in.Var();
    if (x > UINT32_MAX) in.ok = false;
    v = static_cast<uint32_t>(x);
  }
  void operator()(uint64_t& v) { v = in.Var(); }
  void operator()(double& v) { v = in.Double(); }
  void operator()(std::string& v) { v = in.Text(kMaxText); }
  // A value the game indexes or counts with: outside [lo, hi] the file is refused.
  template <class T>
  void operator()(T& v, T lo, T hi) {
    (*this)(v);
    if (v < lo || v > hi) in.ok = false;
  }
};

bool KnownKind(uint8_t k) {
  return IsSimpleKind(k) || k == kind::Hunter || k == kind::Springy || k == kind::Sticky || k == kind::Crocodile;
}

// Every field once, in file order.
template <class Io>
void Fields(TReplayStart& s, Io& io) {
  io(s.Level, 0, 1000000);
  io(s.Score, 0, 1000000000);
  io(s.Lives, -1000, 1000000);
  io(s.CountryText);
  io(s.PlayerName);
  io(s.Edit1);
  io(s.Edit2);
  for (bool* b : {&s.GameFullScreen, &s.GameMainExit, &s.GameEnterName, &s.GameSendResult, &s.GamegoEdit,
                  &s.GameClearHighScore, &s.GameExit})
    io(*b);
  for (uint8_t* c : {&s.Countdown2, &s.Countdown3, &s.Countdown4, &s.Countdown5, &s.Countdown6}) io(*c);
  io(s.AimAngle);
  io(s.AimAngleOffset);
  io(s.MouseX);
  io(s.MouseY);
  for (bool* b : {&s.AimFixed, &s.Paused, &s.AppInactive, &s.ResizePending, &s.LevelBanner, &s.GameOver,
                  &s.NormalRound, &s.MenuMusicRestart, &s.FireHeld})
    io(*b);
  io(s.EditTextWidth);
  io(s.LevelTimeLeft);
  for (TLocal_HighScores& row : s.HighScores) {
    io(row.Name);
    io(row.Score);
  }
  TInputStates& in = s.Input;
  for (bool* b : {&in.isUp, &in.isDown, &in.isLeft, &in.isRight}) io(*b);
  for (bool& b : in.isButton) io(b);
  io(in.Pad.X, -1000, 1000);
  io(in.Pad.Y, -1000, 1000);
  io(in.Pad.Buttons);

  TPond& p = s.Pond;
  for (int r = kFirstRow; r <= kLastRow; ++r)
    for (int c = 1; c <= kColumns; ++c) {
      uint8_t k = p.LilyGrid.Kind(c, r), b = p.LilyGrid.Bonus(c, r);
      io(k);
      io(b, bonus::None, bonus::Coin);
      if constexpr (std::is_same_v<Io, Reader>) {
        if (!KnownKind(k)) io.in.ok = false;
        p.LilyGrid.SetKind(c, r, k);
        p.LilyGrid.SetBonus(c, r, b);
      }
    }
  io(p.StoneRow, int64_t{-4000000}, int64_t{kLastRow});
  io(p.ScrollRows, 0, 2);
  for (bool* b : {&p.Scrolling, &p.AdvanceOne, &p.AdvanceTwo, &p.FirstLayout, &p.FrogGone, &p.FrogDied,
                  &p.Starved, &p.BottleEmpty})
    io(*b);
  io(p.Hunger, 0, 1000000);

  TFrogState& f = s.Frog;
  io(f.FrogColumn, 0, kColumns - 1);
  io(f.FrogFacing, 0, 2);
  io(f.JumpEndFrame, 0, 1000);
  io(f.RippleSizeHere, 1, 3);
  io(f.RippleSizeAhead, 1, 3);
  io(f.FrogX);
  io(f.FrogY);
  io(f.StickyTries, 0, 1000);
  for (bool* b : {&f.FrogControls, &f.CrocodileStruck, &f.FrogEaten, &f.GooActive}) io(*b);

  TFeeding& e = s.Feeding;
  io(e.EatFrogX);
  io(e.TongueBaseY);
  io(e.TongueLift, 0, 1000);
  io(e.TongueLength, 0, 1000);
  for (bool* b : {&e.TongueOut, &e.StorkAllowed, &e.StorkLegsSpawned, &e.StorkLegsDown, &e.StorkGone,
                  &e.BuzzSilenced})
    io(*b);

  TMenuState& m = s.Menus;
  io(m.PointerOutside);
  io(m.PointerOutsideBack);
  io(m.Focus, -1, 63);
  io(m.FocusByPointer);
  io(m.Screen);
  io(m.PressChangedScreen);
  io(m.PressMs);
  io(m.PressX);
  io(m.PressY);
  for (size_t i = 0; i < m.SwallowedKeys.size(); ++i) {
    bool b = m.SwallowedKeys[i];
    io(b);
    m.SwallowedKeys[i] = b;
  }
  io(m.SwallowedPad);
  io(m.PadButtons);
  io(m.PadDirection, 0, 255);
  io(m.PadRepeat, -1000, 1000);
  io(m.NewPlace, 0, 10);

  for (TWindowTimer* t : {&s.Timer1, &s.LevelTimer}) {
    io(t->Enabled);
    io(t->Interval, 0, 1000000);
    io(t->Due);
  }
}

}  // namespace

TReplayStart CaptureStart(const TMainForm& form) {
  TReplayStart s;
  CopyState(s, form);
  return s;
}

void ApplyStart(const TReplayStart& start, TMainForm& form) { CopyState(form, start); }

void EncodeStart(const TReplayStart& start, ByteWriter& out) {
  TReplayStart copy = start;
  Writer w{out};
  Fields(copy, w);
}

bool DecodeStart(ByteReader& in, TReplayStart& start) {
  Reader r{in};
  Fields(start, r);
  return in.ok;
}

}  // namespace pondaro
