// What every Config.cfg the game writes must be: 25 CRLF-ended lines made of the
// codec's symbols only.
#pragma once
#include <cstring>
#include <string>

#include "persist/codec.h"
#include "persist/settings_file.h"

namespace pondaro::test {

// "" when `raw` is such a file, else what is wrong with it.
inline std::string WrittenConfigProblem(const std::string& raw) {
  size_t lines = 0;
  for (size_t at = 0; at < raw.size();) {
    const size_t end = raw.find("\r\n", at);
    if (end == std::string::npos) return "Config.cfg: a line without CRLF";
    for (size_t i = at; i < end; ++i)
      if (raw[i] == 0 || !std::strchr(Base32Symbols, raw[i])) return "Config.cfg: a byte outside the codec";
    ++lines;
    at = end + 2;
  }
  if (lines != kSettingsLines) return "Config.cfg has " + std::to_string(lines) + " lines";
  return "";
}

}  // namespace pondaro::test
