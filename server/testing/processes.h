// Temporary folders and child processes for the tests, the benchmark and the shot.
#pragma once
#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace pondaro::scores::testing {

// A fresh folder under `base` ($TMPDIR or /tmp when empty), removed with
// everything in it.
class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "pondaro-scores", const std::string& base = "");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct SpawnOptions {
  std::string runAs;                      // a user name, when running as root; empty: as we are
  std::string log;                        // standard output and error go here (appended); empty: /dev/null
  std::string workDir;                    // empty: ours
  std::vector<std::pair<int, int>> fds;   // (our fd, the child's fd number), e.g. pipes on 3 and 4
  int parentDeathSignal = 9;              // the child gets it if the test dies first
};

// Starts argv[0] (looked up in PATH); -1 with `error` set when it cannot start.
pid_t Spawn(const std::vector<std::string>& argv, const SpawnOptions& options, std::string& error);
// The exit status (128 + signal when killed), or -1 when it has not ended within `timeoutMs`.
int WaitExit(pid_t pid, int timeoutMs);
// Sends `signal`, waits up to `graceMs`, then kills.
int Stop(pid_t pid, int signal, int graceMs);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
// The last `lines` lines of a file, to explain a failure.
std::string Tail(const std::string& path, int lines = 15);

// The user unprivileged children run as when we are root: "postgres", else
// "nobody"; empty when we are not root (the children then run as us).
std::string UnprivilegedUser();

// A TCP port on 127.0.0.1 that was free a moment ago.
int FreePort();
// True when nothing listens on 127.0.0.1:port and it can be bound.
bool PortFree(int port);

}  // namespace pondaro::scores::testing
