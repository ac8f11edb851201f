// Shell: web addresses opened with xdg-open, started directly (never through a
// shell) in its own session with its standard streams on /dev/null.
//
// xdg-open may hand the address to a browser and return at once, or run the
// browser itself and stay until it is closed, so the game never waits for it
// for long. After starting it, OpenUrl watches for a short grace period: most
// failures (no browser, no handler) end xdg-open well within it and are reported
// at once. A child still running then is reaped later, without blocking, at the
// next OpenUrl or Poll; a failure seen there is reported then. When xdg-open
// cannot be started or fails, a message box gives the address so the player can
// open it by hand. While the browser is still being started for an address
// (xdg-open runs, for a few seconds at most), more clicks on it open nothing more.
#pragma once
#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

#include "platform/services.h"

namespace pondaro {

class XdgShell : public Shell {
 public:
  static constexpr int kGraceMs = 300;
  // After this long a running xdg-open is the browser itself: the address may be opened again.
  static constexpr int kStartingMs = 10000;

  explicit XdgShell(MessageBox& messages, int graceMs = kGraceMs);
  ~XdgShell() override;
  XdgShell(const XdgShell&) = delete;
  XdgShell& operator=(const XdgShell&) = delete;

  // True when xdg-open was started and has not failed within the grace period.
  bool OpenUrl(const std::string& url) override;
  // Reaps finished children and reports those that failed.
  void Poll();
  size_t Running() const { return children_.size(); }

  // http or https, or the file:// address of an HTML page that exists (the game's
  // own help page); no spaces, control characters or bytes outside ASCII.
  static bool Openable(const std::string& url);
  static bool LocalPage(const std::string& url);

 private:
  struct Child {
    pid_t pid;
    std::string url;
    std::chrono::steady_clock::time_point started;
  };
  // True when the child has ended; `failed` tells how.
  static bool Ended(pid_t pid, bool& failed);
  void ReportFailure(const std::string& url);

  MessageBox& messages_;
  int graceMs_;
  std::vector<Child> children_;
};

}  // namespace pondaro
