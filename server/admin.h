// pondaro-scores admin: the operator's moderation of the table, on either
// backend, while the service runs.
#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace pondaro::scores {

// `args` after "admin". Returns the exit status: 0, 1 when some of the work
// could not be done (said on `err`), 2 for a usage error.
int RunAdmin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace pondaro::scores
