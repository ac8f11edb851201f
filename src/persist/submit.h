// The pieces of the online score submission: the two request addresses, the
// version check's answer and the encoded record.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/services.h"

namespace pondaro {

// The score on its way to the service (a member of the form): the version check,
// then the submission, each a request polled every tick while the game draws
// "Sending score..." over name entry. Esc or the end of the program drops it.
struct TSubmission {
  enum class Step { Idle, VersionCheck, Sending } step = Step::Idle;
  std::unique_ptr<HttpRequest> request;
  bool Running() const { return step != Step::Idle; }
};

std::string VersionCheckUrl();
// `encodedRecord` is made of capitals and digits only, so it goes in unescaped.
std::string SubmitUrl(const std::string& encodedRecord);

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
