// The text codec of the settings file and the score submission: a text's bytes as
// a bit string, cut into five-bit groups written with a 32-symbol alphabet.
#pragma once
#include <string>

namespace pondaro {

inline constexpr char Base32Symbols[] = "ABCDEFGHJKLMNPQRSTUVWXY123456789";

std::string Base256To2(const std::string& text);
std::string Base2To256(const std::string& bits);
std::string Base2To32(const std::string& bits);
std::string Base32To2(const std::string& symbols);

inline std::string EncodeLine(const std::string& plain) { return Base2To32(Base256To2(plain)); }
inline std::string DecodeLine(const std::string& line) { return Base2To256(Base32To2(line)); }

// Appends "%" until the length is a multiple of 5, so that the text round-trips.
std::string PadToFive(std::string text);
// Removes every trailing "%".
std::string StripPadding(std::string text);

}  // namespace pondaro
