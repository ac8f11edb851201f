#include "persist/codec.h"

#include <array>
#include <cstring>

namespace pondaro {

std::string Base256To2(const std::string& text) {
  static const auto table = [] {
    std::array<std::array<char, 8>, 256> t{};
    for (int b = 0; b < 256; ++b)
      for (int i = 0; i < 8; ++i) t[b][i] = (b >> (7 - i)) & 1 ? '1' : '0';
    return t;
  }();
  std::string bits;
  bits.reserve(text.size() * 8);
  for (unsigned char c : text) bits.append(table[c].data(), 8);
  return bits;
}

std::string Base2To256(const std::string& bits) {
  std::string padded(static_cast<size_t>((8 - bits.size() % 8) % 8), '0');
  padded += bits;
  std::string text;
  text.reserve(padded.size() / 8);
  for (size_t i = 0; i < padded.size(); i += 8) {
    unsigned v = 0;
    for (size_t k = 0; k < 8; ++k) v = (v << 1) | (padded[i + k] == '1' ? 1u : 0u);
    text.push_back(static_cast<char>(v));
  }
  return text;
}

std::string Base2To32(const std::string& bits) {
  std::string padded(static_cast<size_t>((5 - bits.size() % 5) % 5), '0');
  padded += bits;
  std::string out;
  out.reserve(padded.size() / 5);
  for (size_t i = 0; i < padded.size(); i += 5) {
    unsigned v = 0;
    for (size_t k = 0; k < 5; ++k) v = (v << 1) | (padded[i + k] != '0' ? 1u : 0u);
    out.push_back(Base32Symbols[v]);
  }
  return out;
}

std::string Base32To2(const std::string& symbols) {
  std::string bits;
  bits.reserve(symbols.size() * 5);
  for (char c : symbols) {
    if (c == '\0') continue;
    const char* at = std::strchr(Base32Symbols, c);
    if (!at) continue;  // anything outside the alphabet adds nothing
    int v = static_cast<int>(at - Base32Symbols);
    for (int i = 4; i >= 0; --i) bits.push_back((v >> i) & 1 ? '1' : '0');
  }
  return bits;
}

std::string PadToFive(std::string text) {
  while (text.size() % 5 != 0) text.push_back('%');
  return text;
}

std::string StripPadding(std::string text) {
  while (!text.empty() && text.back() == '%') text.pop_back();
  return text;
}

}  // namespace pondaro
