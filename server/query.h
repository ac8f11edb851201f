// The query of "/cgi/version.pl", as the game and a browser send it: the version
// check, the submission and the online table.
#pragma once
#include <string>
#include <string_view>

namespace pondaro::scores {

enum class RequestKind { VersionCheck, Submission, Table };

// Longer queries are refused before anything else is looked at: the longest
// submission the game can make is about 200 characters.
inline constexpr size_t kMaxQueryLength = 1024;

struct ParsedQuery {
  bool ok = false;
  int status = 400;     // when not ok
  std::string error;    // when not ok: one line for the client
  RequestKind kind = RequestKind::VersionCheck;
  std::string inf;      // the encoded record of a submission
  bool all = false;     // the table: every score, not only the verified ones
};

// `raw` is the text after "?" exactly as it arrived (the game escapes nothing).
ParsedQuery ParseQuery(std::string_view raw);

}  // namespace pondaro::scores
