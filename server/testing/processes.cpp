#include "processes.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/close_range.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace pondaro::scores::testing {

TempDir::TempDir(const std::string& prefix, const std::string& base) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = (!base.empty() ? base : tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder: " + std::string(strerror(errno)));
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

pid_t Spawn(const std::vector<std::string>& argv, const SpawnOptions& o, std::string& error) {
  uid_t uid = 0;
  gid_t gid = 0;
  if (!o.runAs.empty()) {
    const passwd* pw = getpwnam(o.runAs.c_str());
    if (!pw) {
      error = "no user " + o.runAs;
      return -1;
    }
    uid = pw->pw_uid;
    gid = pw->pw_gid;
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const int logFd = open(o.log.empty() ? "/dev/null" : o.log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (logFd < 0) {
    error = "cannot open " + o.log;
    return -1;
  }
  if (!o.runAs.empty() && fchown(logFd, uid, gid) != 0) { /* the log stays ours; the child only appends */ }
  int report[2];  // tells the parent why exec failed
  if (pipe2(report, O_CLOEXEC) != 0) {
    close(logFd);
    error = "pipe failed";
    return -1;
  }
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    auto fail = [&](const char* what) {
      const int e = errno;
      (void)!write(report[1], what, strlen(what));
      (void)!write(report[1], ": ", 2);
      (void)!write(report[1], strerror(e), strlen(strerror(e)));
      _exit(127);
    };
    // Move the wanted descriptors out of the way first, then onto their numbers.
    std::vector<std::pair<int, int>> moved;
    for (auto [from, to] : o.fds) moved.emplace_back(fcntl(from, F_DUPFD_CLOEXEC, 100), to);
    for (auto [from, to] : moved)
      if (dup2(from, to) < 0) fail("dup2");
    if (dup2(logFd, 1) < 0 || dup2(logFd, 2) < 0) fail("dup2");
    // Nothing else of ours goes along: a listening socket inherited by a browser
    // would keep its port taken after the test let go of it.
    unsigned firstFree = 3;
    for (auto [from, to] : o.fds) firstFree = std::max(firstFree, static_cast<unsigned>(to) + 1);
    close_range(firstFree, ~0U, CLOSE_RANGE_CLOEXEC);
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull >= 0) dup2(devNull, 0);
    if (!o.runAs.empty()) {
      if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) fail("cannot change user");
    }
    // Set after the user change, which clears it.
    prctl(PR_SET_PDEATHSIG, o.parentDeathSignal);
    if (getppid() != parent) _exit(1);
    if (!o.workDir.empty() && chdir(o.workDir.c_str()) != 0) fail("chdir");
    execvp(args[0], args.data());
    fail(args[0]);
  }
  close(logFd);
  close(report[1]);
  if (pid < 0) {
    close(report[0]);
    error = "fork failed";
    return -1;
  }
  char why[512];
  const ssize_t n = read(report[0], why, sizeof why - 1);
  close(report[0]);
  if (n > 0) {
    waitpid(pid, nullptr, 0);
    error = std::string(why, static_cast<size_t>(n));
    return -1;
  }
  return pid;
}

int WaitExit(pid_t pid, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (r < 0) return -2;
    if (std::chrono::steady_clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

int Stop(pid_t pid, int signal, int graceMs) {
  kill(pid, signal);
  int status = WaitExit(pid, graceMs);
  if (status == -1) {
    kill(pid, SIGKILL);
    status = WaitExit(pid, 5000);
  }
  return status;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string Tail(const std::string& path, int lines) {
  const std::string text = ReadFile(path);
  size_t pos = text.size();
  for (int i = 0; i <= lines && pos != std::string::npos && pos > 0; ++i) pos = text.rfind('\n', pos - 1);
  return pos == std::string::npos ? text : text.substr(pos + 1);
}

std::string UnprivilegedUser() {
  if (geteuid() != 0) return "";
  for (const char* name : {"postgres", "nobody"})
    if (getpwnam(name)) return name;
  return "";
}

namespace {

int BindLoopback(int port) {
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  // A port left in TIME_WAIT by an earlier run is free to a server, which sets this too.
  const int on = 1;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(s);
    return -1;
  }
  return s;
}

}  // namespace

int FreePort() {
  const int s = BindLoopback(0);
  if (s < 0) return -1;
  sockaddr_in a{};
  socklen_t len = sizeof a;
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  close(s);
  return ntohs(a.sin_port);
}

bool PortFree(int port) {
  const int s = BindLoopback(port);
  if (s < 0) return false;
  close(s);
  return true;
}

}  // namespace pondaro::scores::testing
