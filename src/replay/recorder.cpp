#include "replay/recorder.h"

#include <cstdio>
#include <ctime>

#include "app/main_form.h"
#include "replay/digest.h"

namespace pondaro {

bool MoveOnlyPlacesPointer(const TMainForm& form) {
  return (form.Scene == 3 || form.Scene == 4 || form.Scene == 9) && !form.GameMainExit;
}

namespace {

TRecord DriveRecord(const TDrive& d) {
  TRecord r;
  r.Kind = d.Kind;
  r.Event = d.Event;
  return r;
}

}  // namespace

uint32_t TRecorder::DataChecksum(const TMainForm& form) {
  if (!checksum_) {
    std::string error;
    checksum_ = FileChecksum(form.Path("Data/Graphic.dxg"), error);
    if (!error.empty()) std::fprintf(stderr, "PONDARO: %s\n", error.c_str());
  }
  return *checksum_;
}

void TRecorder::Add(const TRecord& r) {
  std::vector<TRecord>& out = recording_ ? replay_.Records : pendingRecords_;
  if (recording_ && r.IsDrive()) ++drives_;
  // A tick straight after a tick lengthens the run.
  if (r.Kind == TRecordKind::Ticks && !out.empty() && out.back().Kind == TRecordKind::Ticks) {
    ++out.back().Count;
    return;
  }
  out.push_back(r);
}

void TRecorder::AddHeldMove() {
  if (!heldMove_) return;
  const TRecord move = *heldMove_;
  heldMove_.reset();
  Add(move);
}

void TRecorder::DriveBegins(TMainForm& form, const TDrive& d) {
  if (depth_++ > 0) return;  // a drive within a drive is part of it
  drive_ = d;
  if (!recording_) {
    // A game starts from the main menu: keep this drive's beginning in case it does.
    pending_ = form.Scene == 2;
    if (pending_) {
      pendingStart_ = CaptureStart(form);
      pendingRecords_.assign(1, DriveRecord(d));
      answers_.Clear();
    }
    return;
  }
  if (d.Kind == TRecordKind::Event && !IsGameEvent(d.Event.Type)) Taint("the program was asked to end");
  if (d.Kind == TRecordKind::Ticks) {
    ++replay_.Ticks;
    if (replay_.Ticks > kMaxReplayTicks) Taint("the game went on too long to keep");
  }
  const bool pureMove = d.Kind == TRecordKind::Event && d.Event.Type == EventType::MouseMove &&
                        MoveOnlyPlacesPointer(form);
  if (pureMove) {
    // Replaces a held move: nothing was asked in between.
    heldMove_ = DriveRecord(d);
    return;
  }
  AddHeldMove();
  Add(DriveRecord(d));
}

void TRecorder::DriveEnds(TMainForm& form) {
  if (--depth_ > 0) return;
  pending_ = false;
  if (recording_ && drive_.Kind == TRecordKind::Ticks && replay_.Ticks % kDigestEvery == 0) TakeDigest(form);
}

void TRecorder::TakeDigest(TMainForm& form) {
  if (replay_.Digests.size() < replay_.Ticks / kDigestEvery) replay_.Digests.push_back(StateDigest(form));
}

void TRecorder::Note(const TRecord& answer) {
  if (!recording_ && !pending_) return;
  // Clock readings are always written: two readings in a row may differ.
  if (answer.Kind != TRecordKind::Clock) {
    const TRecord* last = answers_.Last(answer);
    if (last && last->SameAnswer(answer)) return;
    answers_.Remember(answer);
  }
  if (recording_) AddHeldMove();
  Add(answer);
}

void TRecorder::GameStarts(TMainForm& form) {
  if (recording_) return;
  replay_ = TReplay{};
  replay_.GameVersion = PONDARO_VERSION;
  replay_.DataChecksum = DataChecksum(form);
  replay_.StartDate = static_cast<int64_t>(std::time(nullptr));
  heldMove_.reset();
  taint_.clear();
  recording_ = true;
  drives_ = 1;
  if (pending_ && depth_ > 0) {
    replay_.Start = pendingStart_;
    replay_.Records = std::move(pendingRecords_);
    if (drive_.Kind == TRecordKind::Ticks) replay_.Ticks = 1;
  } else {
    // Not from an input on the main menu: a test hook set the game going.
    replay_.Start = CaptureStart(form);
    answers_.Clear();
    Taint("the game was started by a test hook");
  }
  pending_ = false;
}

std::optional<TReplay> TRecorder::GameEnds(TMainForm& form) {
  if (!recording_) return std::nullopt;
  recording_ = false;
  AddHeldMove();
  replay_.FinalDigest = StateDigest(form);
  // Ended within its 100th tick, the game's last state stands for that tick's.
  if (depth_ > 0 && drive_.Kind == TRecordKind::Ticks && replay_.Ticks % kDigestEvery == 0)
    TakeDigest(form);
  replay_.Score = form.Score;
  replay_.Level = form.Level;
  // The name goes with a score the table took.
  replay_.Name = form.HighScores != replay_.Start.HighScores ? form.Edit2 : "";
  if (replay_.Records.empty() || !replay_.Records.front().IsDrive()) Taint("the game has no inputs");
  return std::move(replay_);
}

void TRecorder::Taint(const std::string& why) {
  if (recording_ && taint_.empty()) taint_ = why;
}

}  // namespace pondaro
