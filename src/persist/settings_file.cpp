#include "persist/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "persist/codec.h"

namespace pondaro {

namespace {

std::string PaddedLine(const std::string& text) { return text.empty() ? "" : EncodeLine(PadToFive(text)); }

}  // namespace

std::string FormatSettings(const SettingsValues& v) {
  std::string out;
  auto line = [&out](const std::string& s) {
    out += s;
    out += "\r\n";
  };
  line(EncodeLine(v.FullScreen ? "true" : "false"));
  line(EncodeLine(v.Music ? "true" : "false"));
  line(EncodeLine(v.Sound ? "true" : "false"));
  line(PaddedLine(v.Country));
  line(PaddedLine(v.Name));
  for (const auto& e : v.Table) {
    line(PaddedLine(e.Name));
    line(PaddedLine(std::to_string(e.Score)));
  }
  return out;
}

std::string ResolveLinks(const std::string& path) {
  std::string at = path;
  // As many steps as the system itself follows; a loop ends here and fails later.
  for (int step = 0; step < 40; ++step) {
    struct stat st;
    if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(at.c_str(), target.data(), target.size());
    if (n < 0) return at;
    target.resize(static_cast<size_t>(n));
    if (!target.empty() && target[0] != '/') {
      const size_t slash = at.rfind('/');
      if (slash != std::string::npos) target = at.substr(0, slash + 1) + target;
    }
    at = target;
  }
  return at;
}

bool WriteFileAtomically(const std::string& path, const std::string& content, std::string& error) {
  // Through a link to its target: the new file is renamed over the target, in the
  // target's folder, and the link keeps pointing at it.
  const std::string target = ResolveLinks(path);
  // A name of our own: another copy of the game may be writing beside us.
  std::string tmp = target + ".XXXXXX";
  int fd = ::mkstemp(tmp.data());
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  // mkstemp makes the file private; the settings file keeps the permissions it
  // had, or is as readable as any other new file.
  mode_t mode;
  struct stat old;
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0644 & ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0;
  size_t done = 0;
  while (ok && done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    done += static_cast<size_t>(n);
  }
  ok = ok && done == content.size() && ::fsync(fd) == 0;
  int savedErrno = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    savedErrno = errno;
  }
  if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
    ok = false;
    savedErrno = errno;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    error = "cannot write " + path + ": " + std::strerror(savedErrno);
  }
  return ok;
}

bool MakeFolders(const std::string& path, std::string& error) {
  // Each prefix of the path in turn, so that every folder made is made private.
  for (size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string folder = path.substr(0, end);
    if (!folder.empty() && folder.back() != '/' && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
      error = "cannot make the folder " + folder + ": " + std::strerror(errno);
      return false;
    }
    if (end == std::string::npos) break;
  }
  struct stat st;
  const int problem = ::stat(path.c_str(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
  if (problem) error = "cannot make the folder " + path + ": " + std::strerror(problem);
  return problem == 0;
}

SettingsRead ReadSettingsFile(const std::string& path) {
  SettingsRead r;
  auto unreadable = [&r](std::string why) {
    r.kind = SettingsRead::Unreadable;
    r.problem = std::move(why);
    return r;
  };
  auto kindProblem = [](const struct stat& st) -> std::string {
    if (S_ISREG(st.st_mode)) return "";
    return S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file";
  };
  // Looked at before it is opened: opening a device or a FIFO may already do something.
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return r;
    return unreadable(std::strerror(errno));
  }
  if (std::string why = kindProblem(st); !why.empty()) return unreadable(why);
  // Non-blocking, so that a FIFO put there since cannot hold the open up either.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? r : unreadable(std::strerror(errno));
  if (::fstat(fd, &st) != 0 || !kindProblem(st).empty()) {
    const std::string why = kindProblem(st);
    ::close(fd);
    return unreadable(why.empty() ? std::strerror(errno) : why);
  }

  std::vector<std::string>& lines = r.lines;
  std::string raw;
  bool damaged = false, afterCr = false;
  auto endLine = [&] {
    // A damaged display line reads as "false": the window, as without a file.
    if (damaged)
      lines.push_back(lines.empty() ? "false" : "");
    else
      lines.push_back(DecodeLine(raw));
    raw.clear();
    damaged = false;
  };
  char block[1 << 16];
  size_t total = 0;
  while (lines.size() < kSettingsLines && total < kMaxSettingsBytes) {
    const ssize_t got = ::read(fd, block, std::min(sizeof block, kMaxSettingsBytes - total));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int e = errno;
      ::close(fd);
      r.lines.clear();
      return unreadable(std::strerror(e));
    }
    if (got == 0) break;
    total += static_cast<size_t>(got);
    for (ssize_t i = 0; i < got && lines.size() < kSettingsLines; ++i) {
      const char c = block[i];
      const bool lfOfCrlf = c == '\n' && afterCr;
      afterCr = c == '\r';
      if (lfOfCrlf) continue;
      if (c == '\r' || c == '\n')
        endLine();
      else if (raw.size() < kMaxSettingsLine)
        raw.push_back(c);
      else
        damaged = true;
    }
  }
  ::close(fd);
  if (lines.size() < kSettingsLines && (!raw.empty() || damaged)) endLine();
  lines.resize(kSettingsLines);
  r.kind = SettingsRead::Read;
  return r;
}

std::optional<std::vector<std::string>> ReadSettingsLines(const std::string& path) {
  SettingsRead r = ReadSettingsFile(path);
  if (r.kind != SettingsRead::Read) return std::nullopt;
  return std::move(r.lines);
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

std::optional<int32_t> ParseScore(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (*first == '+' && text.size() > 1 && text[1] != '-') ++first;
  int32_t value = 0;
  auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end != last || first == last) return std::nullopt;
  return value;
}

}  // namespace pondaro
