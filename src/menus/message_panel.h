// The game's own message panel: what goes wrong while the game runs ("Can't
// connect to server!", a web page that would not open, a failed switch to full
// screen) is told on a panel in the dialogs' style, above everything, with the
// game standing still beneath until the player closes it with OK (Enter, Esc,
// Space, a click on the panel, the controller's A). Several messages wait their
// turn. Before the window and its pictures exist, messages go to the system's
// box instead.
#pragma once
#include <deque>
#include <string>

#include "platform/events.h"

namespace pondaro {

class TMainForm;

struct TMessagePanel {
  std::deque<std::string> Queue;  // the front one is shown
  bool Ready = false;             // the display is up with the panel's pictures
  bool OkLit = false;             // the pointer is on OK
  bool ButtonWasDown = false;     // the controller's A at the last tick
  bool ButtonPressed = false;     // A went down while this message was shown
  bool Open() const { return !Queue.empty(); }
};

// Queues a message on the panel (the form's ShowError does, once it is ready).
void PostMessage(TMainForm& form, const std::string& message);
// The input event when a message is shown: true when the panel took it.
bool MessagePanelEvent(TMainForm& form, const InputEvent& event);
// Once a tick while a message is shown: the controller's A closes it.
void MessagePanelTick(TMainForm& form);
// The scene drawn standing still, and the panel over it.
void MessagePanelFrame(TMainForm& form);

}  // namespace pondaro
