#include "persist/settings_file.h"

#include <sys/stat.h>
#include <unistd.h>

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

bool WriteFileAtomically(const std::string& path, const std::string& content, std::string& error) {
  // A name of our own: another copy of the game may be writing beside us.
  std::string tmp = path + ".XXXXXX";
  int fd = ::mkstemp(tmp.data());
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  // mkstemp makes the file private; the settings file is as readable as any other.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  bool ok = ::fchmod(fd, 0644 & ~mask) == 0;
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
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
    ok = false;
    savedErrno = errno;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    error = "cannot write " + path + ": " + std::strerror(savedErrno);
  }
  return ok;
}

std::optional<std::vector<std::string>> ReadSettingsLines(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::vector<std::string> lines;
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
  size_t got;
  while (lines.size() < kSettingsLines && (got = std::fread(block, 1, sizeof block, f)) > 0) {
    for (size_t i = 0; i < got && lines.size() < kSettingsLines; ++i) {
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
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  if (lines.size() < kSettingsLines && (!raw.empty() || damaged)) endLine();
  lines.resize(kSettingsLines);
  return lines;
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
