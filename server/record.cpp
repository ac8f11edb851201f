#include "record.h"

#include <cstring>
#include <vector>

#include "persist/codec.h"
#include "persist/score_service.h"

namespace pondaro::scores {

namespace {

RecordCheck Refuse(int status, std::string why) {
  RecordCheck r;
  r.status = status;
  r.error = std::move(why);
  return r;
}

bool AllOf(std::string_view text, bool (*pred)(char)) {
  for (char c : text)
    if (!pred(c)) return false;
  return true;
}

bool HexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
bool Zero(char c) { return c == '0'; }
bool Digit(char c) { return c >= '0' && c <= '9'; }
bool Symbol(char c) { return c != '\0' && std::strchr(Base32Symbols, c) != nullptr; }

}  // namespace

bool EntryCharacter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

RecordCheck CheckRecord(std::string_view inf, int64_t maxScore) {
  if (inf.size() > kMaxEncodedRecord) return Refuse(414, "record too long");
  if (!AllOf(inf, Symbol)) return Refuse(400, "record is not encoded");
  // The game pads the record to 5 characters, 8 symbols; anything else would
  // decode with stray bits in front.
  if (inf.empty() || inf.size() % 8 != 0) return Refuse(400, "record has a broken length");
  const std::string record = DecodeLine(std::string(inf));

  static constexpr const char* kKeys[] = {"type", "name", "score", "key", "p", "add", "z"};
  constexpr size_t kFields = std::size(kKeys);
  std::string values[kFields];
  size_t pos = 0;
  for (size_t i = 0; i < kFields; ++i) {
    const std::string prefix = std::string(i == 0 ? "" : "|") + kKeys[i] + "=";
    if (record.compare(pos, prefix.size(), prefix) != 0) return Refuse(400, std::string("record lacks field ") + kKeys[i]);
    pos += prefix.size();
    const size_t end = i + 1 < kFields ? record.find('|', pos) : record.size();
    if (end == std::string::npos) return Refuse(400, std::string("record lacks field ") + kKeys[i + 1]);
    values[i] = record.substr(pos, end - pos);
    pos = end;
  }
  const std::string& type = values[0];
  const std::string& name = values[1];
  const std::string& score = values[2];
  const std::string& key = values[3];
  const std::string& token = values[4];
  const std::string& country = values[5];
  const std::string& zeros = values[6];

  if (zeros.size() > 4 || !AllOf(zeros, Zero)) return Refuse(400, "record has a broken ending");
  if (type != "0") return Refuse(400, "no such table");
  if (key.size() != 1 || key[0] != kScoreKey) return Refuse(403, "wrong key");
  if (token.size() != kTokenLength || !AllOf(token, HexDigit)) return Refuse(403, "no valid token: ask for a version first");
  if (name.empty() || name.size() > kMaxNameLength || !AllOf(name, EntryCharacter))
    return Refuse(400, "the name must be 1 to 10 letters or digits");
  if (country.size() > kMaxCountryLength || !AllOf(country, EntryCharacter))
    return Refuse(400, "the country must be up to 10 letters or digits");

  const std::string bound = std::to_string(maxScore);
  const std::string rule = "the score must be a positive multiple of 5 below " + bound;
  // Written as the game writes it: digits, no sign, no leading zero.
  if (score.empty() || score.size() > 18 || !AllOf(score, Digit) || score[0] == '0') return Refuse(400, rule);
  const int64_t value = std::stoll(score);
  if (value % 5 != 0 || value >= maxScore) return Refuse(400, rule);

  RecordCheck ok;
  ok.ok = true;
  ok.status = 200;
  ok.submission = {name, country, token, value};
  return ok;
}

}  // namespace pondaro::scores
