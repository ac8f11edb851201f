#include "desktop/command_line.h"

#include <string>

namespace pondaro {

namespace {

const char kHelp[] =
    "Usage: pondaro [--help | --version | --replay FILE | --verify FILE]\n"
    "\n"
    "PONDARO: a young frog crosses a lily pond level by level, then catches\n"
    "insects with its tongue. To play, the game takes no arguments; its options\n"
    "are on its Options screen.\n"
    "\n"
    "  -h, --help         show this help and exit\n"
    "      --version      show the version and exit\n"
    "      --replay FILE  play a replay (.pdr) in the window and end with it:\n"
    "                     P pauses, F plays at 4x, Esc or a click ends it\n"
    "      --verify FILE  re-play a replay without a window, at full speed, and\n"
    "                     print score=N ticks=N digest=...; exit 0 when the game\n"
    "                     comes out as recorded, 1 when it goes another way, 2\n"
    "                     when the file cannot be read or was recorded by another\n"
    "                     version of the game\n"
    "\n"
    "Data/ and Music/ are read from the working folder, else from the\n"
    "executable's folder, else from " PONDARO_DATA_FROM_BIN " relative to it (the\n"
    "installed game). Config.cfg, with the options, the name and the high-score\n"
    "table, is kept beside them; the installed game keeps it in\n"
    "$XDG_CONFIG_HOME/pondaro/ (~/.config/pondaro/). The replays of the games in\n"
    "the table are kept beside it, in replays/.\n";

}  // namespace

std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                                     GameArguments& args) {
  bool help = false, version = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      help = true;
    } else if (arg == "--version") {
      version = true;
    } else if (arg == "--replay" || arg == "--verify") {
      if (i + 1 >= argc) {
        err << "pondaro: " << arg << " needs a replay file; try 'pondaro --help'\n";
        return 2;
      }
      (arg == "--replay" ? args.ReplayFile : args.VerifyFile) = argv[++i];
    } else {
      err << "pondaro: " << (arg.size() > 1 && arg[0] == '-' ? "unknown option" : "unexpected argument") << " '"
          << arg << "'; try 'pondaro --help'\n";
      return 2;
    }
  }
  if (help) {
    out << kHelp;
  } else if (version) {
    out << "PONDARO " PONDARO_VERSION "\n";
  } else {
    return std::nullopt;
  }
  out.flush();
  return out ? 0 : 1;
}

}  // namespace pondaro
