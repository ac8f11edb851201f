// The pieces of the online score submission: the two request addresses, the
// version check's answer and the encoded record.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/services.h"

namespace pondaro {

// The score on its way to the service (a member of the form): the version check,
// the submission, then the game's replay with the same token, each a request
// polled every tick while the game draws "Sending score..." over name entry. Esc
// or the end of the program drops it.
struct TSubmission {
  enum class Step { Idle, VersionCheck, Sending, Uploading } step = Step::Idle;
  std::unique_ptr<HttpRequest> request;
  std::string replay;  // the replay file of the game sent; empty: none to send
  std::string token;   // the version check's, which the replay goes with
  bool Running() const { return step != Step::Idle; }
};

std::string VersionCheckUrl();
// `encodedRecord` is made of capitals and digits only, so it goes in unescaped.
std::string SubmitUrl(const std::string& encodedRecord);
// Where the replay goes; empty when the token is not one that can go in an
// address unescaped (letters and digits), so nothing is sent.
std::string ReplayUploadUrl(const std::string& token);
inline constexpr char kReplayContentType[] = "application/octet-stream";
// Told once, when the score is on the online table but its replay did not get there.
inline constexpr char kReplayNotSent[] = "Score sent, but not its replay: it shows as not verified.";

// The service is ready when its reply starts with exactly "OK".
bool VersionAccepted(const std::string& reply);
// The value the submission echoes back: the fifth "|"-separated field of the reply
// ("OK" counting as the first); empty when the reply has fewer than five "|".
std::string ServerValue(const std::string& reply);

// "type=0|name=..|score=..|key=..|p=..|add=..|z=" and the zeros that make its
// length a multiple of 5, so that it encodes without padding bits.
std::string ScoreRecord(const std::string& name, int32_t score, const std::string& serverValue,
                        const std::string& country);
// The record in the settings codec: 8 symbols for every 5 characters.
std::string EncodeRecord(const std::string& record);

}  // namespace pondaro
