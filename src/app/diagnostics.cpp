#include "app/diagnostics.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace pondaro {

namespace {

void Escape(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 15];
}

// The length of the valid UTF-8 sequence of two or more bytes at `at`, 0 when there is none.
size_t Utf8Length(std::string_view s, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(at);
  size_t n;
  uint32_t cp;
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
    cp = lead & 0x07;
  } else {
    return 0;
  }
  if (at + n > s.size()) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(at + i) & 0x3F);
  }
  // Over-long forms, surrogates and code points past Unicode's end are not text;
  // the C1 controls are text that terminals act on.
  const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < least[n] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF || (cp >= 0x80 && cp <= 0x9F)) return 0;
  return n;
}

}  // namespace

std::string Printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const size_t n = Utf8Length(text, i);
      if (n == 0) {
        Escape(out, c);
        ++i;
      } else {
        out.append(text.substr(i, n));
        i += n;
      }
      continue;
    }
    if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F)
      Escape(out, c);
    else
      out += static_cast<char>(c);
    ++i;
  }
  return out;
}

void Diagnose(std::string_view message) {
  const std::string line = "PONDARO: " + Printable(message) + "\n";
  for (size_t done = 0; done < line.size();) {
    const ssize_t n = ::write(STDERR_FILENO, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

}  // namespace pondaro
