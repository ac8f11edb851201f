// Sending a new high score to the score service, and opening web pages.
#include "persist/submit.h"

#include "app/diagnostics.h"
#include "app/main_form.h"
#include "persist/codec.h"
#include "persist/score_service.h"

namespace pondaro {

std::string VersionCheckUrl() { return std::string(kVersionCheckBase) + kScorePath + "?prg=Pondaro"; }

std::string SubmitUrl(const std::string& encodedRecord) {
  return std::string(kSubmitBase) + kScorePath + "?hs&prg=Pondaro&inf=" + encodedRecord;
}

bool VersionAccepted(const std::string& reply) { return reply.compare(0, 2, "OK") == 0; }

std::string ServerValue(const std::string& reply) {
  size_t start = 0;
  for (int field = 0; field < 4; ++field) {
    start = reply.find('|', start);
    if (start == std::string::npos) return "";
    ++start;
  }
  const size_t end = reply.find('|', start);
  return end == std::string::npos ? "" : reply.substr(start, end - start);
}

std::string ScoreRecord(const std::string& name, int32_t score, const std::string& serverValue,
                        const std::string& country) {
  std::string r = "type=0|name=" + name + "|score=" + std::to_string(score) + "|key=" + kScoreKey +
                  "|p=" + serverValue + "|add=" + country + "|z=";
  while (r.size() % 5 != 0) r += '0';
  return r;
}

std::string EncodeRecord(const std::string& record) { return Base2To32(Base256To2(record)); }

// The entry is in the local table and on disk before this starts; whatever the
// service does, it stays there.
void TMainForm::SubmitScore() {
  Submission.request = Services.http.Start(VersionCheckUrl());
  Submission.step = TSubmission::Step::VersionCheck;
}

void TMainForm::PollSubmission() {
  if (!Submission.Running() || !Submission.request->Done()) return;
  std::string error;
  const auto reply = Submission.request->Result(error);
  if (Submission.step == TSubmission::Step::VersionCheck) {
    const std::string text = reply.value_or("");
    if (VersionAccepted(text)) {
      const std::string record = ScoreRecord(Edit2, Score, ServerValue(text), Edit1);
      Submission.request = Services.http.Start(SubmitUrl(EncodeRecord(record)));
      Submission.step = TSubmission::Step::Sending;
      return;
    }
    if (!error.empty()) Diagnose("version check: " + error);
    Submission = {};
    ChangeScene(7);
    ShowError("Can't connect to server!");
    return;
  }
  // The reply is not looked at, and a failure is not the player's concern: the
  // entry is already in the local table.
  if (!reply) Diagnose("score submission: " + error);
  Submission = {};
  ChangeScene(7);
}

void TMainForm::AbandonSubmission() {
  if (!Submission.Running()) return;
  Submission = {};  // the request ends at once
  ChangeScene(7);
}

void TMainForm::SubmissionFrame() {
  PollSubmission();
  if (!Submission.Running()) return;
  const std::string line = "Sending score...";
  DXDraw().DrawText(400 - DXDraw().TextWidth(line, 16) / 2, 415, line, 16, Color{0, 128, 0, 255});
}

void TMainForm::GoWeb(const std::string& address) {
  // The shell reports its own failures; the game keeps running either way.
  Services.shell.OpenUrl(address);
}

}  // namespace pondaro
