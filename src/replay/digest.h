// The state digest: a hash over the rules' state (scene, level, lives, score,
// hunger, the pond and the feeding stage's values, and every sprite's class,
// position and frame). Two runs of a replay that agree on it after every stored
// tick played the same game; the first stored tick where they differ is where to
// look when one went astray.
#pragma once
#include <cstdint>
#include <string>

namespace pondaro {

class TMainForm;

uint64_t StateDigest(TMainForm& form);
std::string DigestText(uint64_t digest);  // 16 hex digits

}  // namespace pondaro
