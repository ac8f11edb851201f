#include "desktop/xdg_shell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>

#include "app/diagnostics.h"

extern char** environ;

namespace pondaro {

XdgShell::XdgShell(MessageBox& messages, int graceMs) : messages_(messages), graceMs_(graceMs) {}

XdgShell::~XdgShell() {
  // Finished children are reaped; running ones are left to end on their own.
  bool failed;
  for (const Child& c : children_) Ended(c.pid, failed);
}

bool XdgShell::Openable(const std::string& url) {
  const bool http = url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
  if (!http && !LocalPage(url)) return false;
  for (unsigned char ch : url)
    if (ch <= ' ' || ch >= 0x7F) return false;
  return true;
}

// The game's own help page: a file:// address of an HTML page that is there.
bool XdgShell::LocalPage(const std::string& url) {
  constexpr std::string_view scheme = "file:///", page = ".html";
  if (url.rfind(scheme, 0) != 0 || url.size() < scheme.size() + page.size() ||
      url.compare(url.size() - page.size(), page.size(), page) != 0)
    return false;
  std::string path;  // the address's path, its %XX escapes undone
  for (size_t i = scheme.size() - 1; i < url.size(); ++i) {
    if (url[i] == '%' && i + 2 < url.size()) {
      path += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      path += url[i];
    }
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool XdgShell::Ended(pid_t pid, bool& failed) {
  int status = 0;
  pid_t r;
  do r = waitpid(pid, &status, WNOHANG);
  while (r < 0 && errno == EINTR);
  if (r == 0) return false;
  // Somebody else reaped it (r < 0): nothing more can be known.
  failed = r > 0 && !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  return true;
}

// The message box puts it on stderr too.
void XdgShell::ReportFailure(const std::string& url) {
  messages_.Show("The web page could not be opened. Please open this address in your browser:\n" + url);
}

void XdgShell::Poll() {
  for (size_t i = 0; i < children_.size();) {
    bool failed = false;
    if (!Ended(children_[i].pid, failed)) {
      ++i;
      continue;
    }
    const std::string url = children_[i].url;
    children_.erase(children_.begin() + static_cast<long>(i));
    if (failed) ReportFailure(url);
  }
}

bool XdgShell::OpenUrl(const std::string& url) {
  Poll();
  if (!Openable(url)) {
    Diagnose("not opening '" + url + "': only http and https addresses are opened");
    return false;
  }
  // Clicked again while the browser is coming up: that one will show the page.
  const auto now = std::chrono::steady_clock::now();
  for (const Child& c : children_)
    if (c.url == url && now - c.started < std::chrono::milliseconds(kStartingMs)) return true;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd = 0; fd <= 2; ++fd)
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setsigmask(&attr, &none);
  short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
#ifdef POSIX_SPAWN_SETSID
  flags |= POSIX_SPAWN_SETSID;
#else
  flags |= POSIX_SPAWN_SETPGROUP;
  posix_spawnattr_setpgroup(&attr, 0);
#endif
  posix_spawnattr_setflags(&attr, flags);

  std::string program = "xdg-open", address = url;
  char* argv[] = {program.data(), address.data(), nullptr};
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, "xdg-open", &actions, &attr, argv, environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    Diagnose(std::string("xdg-open: ") + std::strerror(rc));
    ReportFailure(url);
    return false;
  }

  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(graceMs_);
  for (;;) {
    bool failed = false;
    if (Ended(pid, failed)) {
      if (failed) ReportFailure(url);
      return !failed;
    }
    if (std::chrono::steady_clock::now() >= until) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  children_.push_back({pid, url, now});
  return true;
}

}  // namespace pondaro
