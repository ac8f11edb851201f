// Ctrl+C in a terminal and a desktop that logs out (SIGINT, SIGTERM, SIGHUP) end
// the game the way its own exit does: the event loop is handed a Terminate event,
// never a window-close request that would open the exit dialog.
#pragma once

namespace pondaro {

// Installs the handlers, and ignores SIGPIPE: a diagnostic written to a closed
// pipe must not end the game. A second quit signal while the game is still
// ending takes the default action: a hung game can always be stopped.
void InstallQuitSignals();

// True once, after a signal came in.
bool TakeQuitRequest();
// True while a signal waits to be taken; for waits outside the event loop (a
// message box) that must give way to it.
bool QuitRequested();

}  // namespace pondaro
