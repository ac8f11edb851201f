#include "sprites/collection_file.h"

#include <gtest/gtest.h>

#include <functional>

namespace pondaro {
namespace {

// Puts a fresh checksum on bytes edited in place, so that only the parser's own
// checks can catch the damage.
void Reseal(std::vector<uint8_t>& bytes) {
  const size_t body = bytes.size() - 4;
  const uint32_t crc = Crc32(bytes.data(), body);
  for (int i = 0; i < 4; ++i) bytes[body + i] = static_cast<uint8_t>(crc >> (8 * i));
}

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

CollectionRecord Picture(std::string name) {
  CollectionRecord r;
  r.Name = std::move(name);
  r.PatternWidth = 48;
  r.PatternHeight = -1;
  r.SkipWidth = 2;
  r.SkipHeight = 0;
  r.Transparent = false;
  r.SystemMemory = true;
  r.TransparentColor = 0x00FF00FE;
  r.Payload = {1, 2, 3};
  return r;
}

CollectionRecord Sound(std::string name) {
  CollectionRecord r;
  r.Name = std::move(name);
  r.Looped = true;
  r.MaxPlayingCount = 3;
  r.Frequency = 22050;
  r.Pan = -10000;
  r.Volume = -2500;
  r.Payload = {'R', 'I', 'F', 'F'};
  return r;
}

// The file's checksum is the standard CRC-32 (IEEE), whatever the length and alignment.
TEST(CollectionFile, TheChecksumIsCrc32) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0xCBF43926u);
  std::vector<uint8_t> bytes(40);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
  for (size_t from = 0; from < 9; ++from)
    for (size_t n = 0; from + n <= bytes.size(); ++n) {
      uint32_t bitwise = 0xFFFFFFFFu;
      for (size_t i = from; i < from + n; ++i) {
        bitwise ^= bytes[i];
        for (int k = 0; k < 8; ++k) bitwise = (bitwise & 1) ? 0xEDB88320u ^ (bitwise >> 1) : bitwise >> 1;
      }
      ASSERT_EQ(Crc32(bytes.data() + from, n), ~bitwise) << from << " + " << n;
    }
}

TEST(CollectionFile, RoundTripsEveryAttributeOfBothKinds) {
  std::vector<CollectionRecord> back;
  std::string error;
  auto images = WriteCollection(CollectionKind::Images, {Picture("Start Game_n"), Picture("frog")});
  ASSERT_TRUE(ReadCollection(images, CollectionKind::Images, back, error)) << error;
  ASSERT_EQ(back.size(), 2u);
  const auto& p = back[0];
  EXPECT_EQ(p.Name, "Start Game_n");
  EXPECT_EQ(back[1].Name, "frog");
  EXPECT_EQ(p.PatternWidth, 48);
  EXPECT_EQ(p.PatternHeight, -1);
  EXPECT_EQ(p.SkipWidth, 2);
  EXPECT_FALSE(p.Transparent);
  EXPECT_TRUE(p.SystemMemory);
  EXPECT_EQ(p.TransparentColor, 0x00FF00FEu);
  EXPECT_EQ(p.Payload, (std::vector<uint8_t>{1, 2, 3}));

  auto sounds = WriteCollection(CollectionKind::Sounds, {Sound("kvak")});
  ASSERT_TRUE(ReadCollection(sounds, CollectionKind::Sounds, back, error)) << error;
  ASSERT_EQ(back.size(), 1u);
  const auto& s = back[0];
  EXPECT_TRUE(s.Looped);
  EXPECT_EQ(s.MaxPlayingCount, 3);
  EXPECT_EQ(s.Frequency, 22050);
  EXPECT_EQ(s.Pan, -10000);
  EXPECT_EQ(s.Volume, -2500);
  EXPECT_EQ(s.Payload.size(), 4u);
}

TEST(CollectionFile, RejectsEachKindOfDamageWithItsOwnReason) {
  const auto good = WriteCollection(CollectionKind::Images, {Picture("frog"), Picture("menu")});
  // Offsets: header 12; item 1 = name length 2 + "frog" 4 + attributes 22 + length 4 + payload 3.
  const size_t item2 = 12 + 2 + 4 + 22 + 4 + 3;
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"empty", [](auto& b) { b.clear(); }, "empty"},
      {"short", [](auto& b) { b.resize(10); }, "signature"},
      {"magic", [](auto& b) { b[0] = 'X'; }, "signature"},
      {"version", [](auto& b) { b[4] = 9; }, "unsupported version 9"},
      {"kind", [](auto& b) { b[6] = 2; }, "holds sounds"},
      {"flipped byte", [](auto& b) { b[20] ^= 0x10; }, "checksum"},
      {"cut short", [](auto& b) { b.resize(b.size() - 5); }, "checksum"},
      {"huge count", [](auto& b) { PutU32(b, 8, 0xFFFFFFFF), Reseal(b); }, "item count"},
      {"count too high", [](auto& b) { PutU32(b, 8, 3), Reseal(b); }, "item 3: bad or truncated name"},
      {"count too low", [](auto& b) { PutU32(b, 8, 1), Reseal(b); }, "after the last item"},
      {"empty name", [&](auto& b) { b[item2] = 0, b[item2 + 1] = 0, Reseal(b); }, "item 2: bad"},
      {"long name", [&](auto& b) { b[item2] = 0, b[item2 + 1] = 1, Reseal(b); }, "item 2: bad"},
      {"huge payload", [&](auto& b) { PutU32(b, item2 + 2 + 4 + 22, 0x7FFFFFFF), Reseal(b); },
       "item 2: 'menu' has a bad or truncated payload"},
      {"payload past the end", [&](auto& b) { PutU32(b, item2 + 2 + 4 + 22, 4), Reseal(b); },
       "'menu' has a bad or truncated payload"},
      {"empty payload", [&](auto& b) { PutU32(b, 12 + 2 + 4 + 22, 0), Reseal(b); }, "item 1: 'frog'"},
  };
  for (const auto& c : cases) {
    auto bytes = good;
    c.damage(bytes);
    std::vector<CollectionRecord> records = {Picture("stale")};
    std::string error;
    EXPECT_FALSE(ReadCollection(bytes, CollectionKind::Images, records, error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    EXPECT_TRUE(records.empty()) << c.what;
  }
  std::vector<CollectionRecord> records;
  std::string error;
  EXPECT_FALSE(ReadCollection(good, CollectionKind::Sounds, records, error));
  EXPECT_NE(error.find("holds pictures"), std::string::npos) << error;
}

}  // namespace
}  // namespace pondaro
