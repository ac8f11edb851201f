// The game's command line. It takes no arguments to play; --help and --version
// are answered before anything else starts, so they work without a display, and
// so is --verify, which needs none either.
#pragma once
#include <optional>
#include <ostream>
#include <string>

namespace pondaro {

struct GameArguments {
  std::string ReplayFile;  // --replay FILE: show it in the window, then end
  std::string VerifyFile;  // --verify FILE: re-play it headless and say whether it holds
};

// The exit status when the command line was answered here: 0 after --help or
// --version (on `out`), 2 after a one-line usage error on `err` for anything
// else. Nothing when the game should start (or verify), with `args` filled in.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                                     GameArguments& args);

}  // namespace pondaro
