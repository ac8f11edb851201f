// The local table of the ten best results.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace pondaro {

struct TLocal_HighScores {
  std::string Name;
  int32_t Score = 0;
  bool operator==(const TLocal_HighScores&) const = default;
};

// Places 1 to 10 are indices 0 to 9.
using THighScoreTable = std::array<TLocal_HighScores, 10>;

inline THighScoreTable DefaultHighScores() {
  const int32_t scores[10] = {3000, 2500, 2000, 1500, 1000, 500, 400, 300, 200, 100};
  THighScoreTable t;
  for (int i = 0; i < 10; ++i) t[i] = {"Anonymous", scores[i]};
  return t;
}

}  // namespace pondaro
