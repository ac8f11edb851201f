#include "replay/player.h"

#include "app/main_form.h"
#include "replay/digest.h"
#include "replay/tape.h"

namespace pondaro {

namespace {

// The feeding stage's clock fires 1000 ms after it was (re)started and every 1000 ms
// after that, and frame ticks come at most every 30 ms: a recording with a longer
// stretch of ticks without it was not made by the game (and would stretch the
// stage for more points).
constexpr int kMostTicksPerLevelSecond = 40;

bool InGame(int scene) { return scene == 3 || scene == 4 || scene == 9; }

}  // namespace

TReplayPlayer::TReplayPlayer(TReplay replay, TTape& tape) : replay_(std::move(replay)), tape_(tape) {}

TReplayPlayer::~TReplayPlayer() { End(); }

void TReplayPlayer::Begin(TMainForm& form) {
  // Set up on the live services, saving nothing: the screen left was saved as it was shown.
  wasReplaying_ = form.Replaying;
  form.Replaying = true;
  form.ChangeScene(2);
  // A game starts with no message over it (a watched replay keeps the player's aside).
  form.MessagePanel.Queue.clear();
  tape_.Play(this);
  ApplyStart(replay_.Start, form);
  form_ = &form;
}

void TReplayPlayer::End() {
  if (tape_.Player() == this) tape_.Play(nullptr);
  if (form_) form_->Replaying = wasReplaying_;
  form_ = nullptr;
}

void TReplayPlayer::Fail(const std::string& why) {
  if (problem_.empty()) problem_ = "tick " + std::to_string(ticks_) + ": " + why;
}

bool TReplayPlayer::Step(TMainForm& form) {
  if (ended_ || !problem_.empty()) return false;
  if (next_ >= replay_.Records.size()) {
    Fail("the replay ends before its game does");
    return false;
  }
  const TRecord drive = replay_.Records[next_];
  if (!drive.IsDrive()) {
    Fail("out of step: the game did not ask what the recording answers");
    return false;
  }
  if (drive.Kind == TRecordKind::Ticks) {
    if (runLeft_ == 0) runLeft_ = drive.Count;
    if (--runLeft_ == 0) ++next_;
  } else {
    ++next_;
  }
  ++drives_;
  try {
    switch (drive.Kind) {
      case TRecordKind::Ticks:
        ++ticks_;
        // A pause or the exit dialog stops it; going on starts its second again.
        if (!form.LevelTimer.Enabled || form.LevelTimer.Due != levelTimerDue_) ticksWithoutLevelTimer_ = 0;
        levelTimerDue_ = form.LevelTimer.Due;
        if (form.LevelTimer.Enabled && ++ticksWithoutLevelTimer_ > kMostTicksPerLevelSecond) {
          Fail("the feeding stage's clock stood still");
          return false;
        }
        inTick_ = true;
        form.Guarded([&] { form.DXTimerTimer(); });
        inTick_ = false;
        if (!ended_ && ticks_ % kDigestEvery == 0) CheckDigest(StateDigest(form));
        break;
      case TRecordKind::Timer1: form.Guarded([&] { form.Timer1Timer(); }); break;
      case TRecordKind::LevelTimer:
        ticksWithoutLevelTimer_ = 0;
        form.Guarded([&] { form.LevelTimerTimer(); });
        break;
      default: form.Guarded([&] { form.HandleEvent(drive.Event); }); break;
    }
  } catch (const std::exception& e) {
    inTick_ = false;
    Fail(std::string("the game stopped: ") + e.what());
    return false;
  }
  if (!began_) {
    began_ = true;
    if (!ended_ && !InGame(form.Scene)) Fail("its first input does not start a game");
  }
  if (ended_) {
    if (runLeft_ != 0 || next_ != replay_.Records.size()) Fail("the replay goes on past its game's end");
  } else if (runLeft_ == 0 && next_ < replay_.Records.size() && !replay_.Records[next_].IsDrive()) {
    Fail("out of step: the game asked fewer questions than were recorded");
  }
  return !ended_ && problem_.empty();
}

bool TReplayPlayer::Advance(TMainForm& form, int ticks) {
  const uint32_t until = ticks_ + static_cast<uint32_t>(ticks);
  while (ticks_ < until)
    if (!Step(form)) return false;
  return true;
}

TRecord TReplayPlayer::Answer(const TRecord& question) {
  const TRecord* last = answers_.Last(question);
  if (ended_ || !problem_.empty()) return last ? *last : question;
  if (runLeft_ == 0 && next_ < replay_.Records.size()) {
    const TRecord& r = replay_.Records[next_];
    if (!r.IsDrive() && r.SameQuestion(question)) {
      ++next_;
      answers_.Remember(r);
      return r;
    }
  }
  // Left out when recorded: the same as last time. The clock is always written.
  if (last && question.Kind != TRecordKind::Clock) return *last;
  Fail("out of step: the game asked what the recording does not answer");
  return last ? *last : question;
}

void TReplayPlayer::CheckDigest(uint64_t digest) {
  const size_t k = ticks_ / kDigestEvery;
  if (k == 0 || k <= digestsChecked_ || k > replay_.Digests.size()) return;
  digestsChecked_ = k;
  if (digest != replay_.Digests[k - 1] && divergence_ == 0) divergence_ = ticks_;
}

void TReplayPlayer::GameEnds(TMainForm& form) {
  if (ended_) return;
  ended_ = true;
  finalDigest_ = StateDigest(form);
  // Ended within its 100th tick, the game's last state stands for that tick's.
  if (inTick_ && ticks_ % kDigestEvery == 0) CheckDigest(finalDigest_);
  score_ = form.Score;
  level_ = form.Level;
  name_ = form.HighScores != replay_.Start.HighScores ? form.Edit2 : "";
}

}  // namespace pondaro
