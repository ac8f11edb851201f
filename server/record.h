// The submission record: decoded with the game's own codec, split into its fields
// and checked. The record carries no integrity field, so these checks and the
// one-time token are all that stand between the table and a forged score; only
// the replay sent after it (verifier.h) makes a score verified.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace pondaro::scores {

// The tokens the version check hands out: 32 small hexadecimal digits (128 bits).
inline constexpr size_t kTokenLength = 32;
inline constexpr size_t kMaxNameLength = 10;
inline constexpr size_t kMaxCountryLength = 10;
// The longest record the game can make is 105 characters, 168 symbols.
inline constexpr size_t kMaxEncodedRecord = 256;
inline constexpr int64_t kDefaultMaxScore = 10'000'000;

struct Submission {
  std::string name;
  std::string country;
  std::string token;
  int64_t score = 0;
};

struct RecordCheck {
  bool ok = false;
  int status = 400;   // when not ok
  std::string error;  // when not ok: one line for the client
  Submission submission;
};

// A character the game's name and country entry can type: A-Z, a-z, 0-9.
bool EntryCharacter(char c);

// Decodes `inf` and checks every field: the order the game writes them in, the
// table type, the key letter, the token's form, the name (1 to 10 entry
// characters), the country (0 to 10), the score (a positive multiple of 5 below
// `maxScore`, written as the game writes numbers) and the zero padding.
RecordCheck CheckRecord(std::string_view inf, int64_t maxScore);

}  // namespace pondaro::scores
