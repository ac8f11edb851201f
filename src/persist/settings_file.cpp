#include "persist/settings_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

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
  const std::string tmp = path + ".tmp";
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    done += static_cast<size_t>(n);
  }
  bool ok = done == content.size() && ::fsync(fd) == 0;
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
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::string> lines;
  std::string raw;
  while (static_cast<int>(lines.size()) < kSettingsLines && std::getline(in, raw)) {
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    lines.push_back(DecodeLine(raw));
  }
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
