// The game's command line. It takes no arguments to play; --help and --version
// are answered before anything else starts, so they work without a display.
#pragma once
#include <optional>
#include <ostream>

namespace pondaro {

// The exit status when the command line was answered here: 0 after --help or
// --version (on `out`), 2 after a one-line usage error on `err` for anything
// else. Nothing when the game should start.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace pondaro
