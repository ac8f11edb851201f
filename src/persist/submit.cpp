// Sending a new high score to the score service, and opening web pages.
#include "persist/submit.h"

#include <cstdio>

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

void TMainForm::SubmitScore() {
  std::string error;
  const std::string reply = Services.http.Get(VersionCheckUrl(), error).value_or("");
  if (!VersionAccepted(reply)) {
    if (!error.empty()) std::fprintf(stderr, "PONDARO: version check: %s\n", error.c_str());
    ShowError("Can't connect to server!");
    return;
  }
  const std::string record = ScoreRecord(Edit2, Score, ServerValue(reply), Edit1);
  // The reply is not looked at, and a failure is not the player's concern: the
  // entry is already in the local table.
  if (!Services.http.Get(SubmitUrl(EncodeRecord(record)), error))
    std::fprintf(stderr, "PONDARO: score submission: %s\n", error.c_str());
}

void TMainForm::GoWeb(const std::string& address) {
  // The shell reports its own failures; the game keeps running either way.
  Services.shell.OpenUrl(address);
}

}  // namespace pondaro
