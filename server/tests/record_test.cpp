// The submission record: what the game's own code builds is accepted; every
// forgery and slip is refused, with the status the client sees.
#include <gtest/gtest.h>

#include "fixtures.h"
#include "persist/codec.h"
#include "persist/score_service.h"
#include "record.h"

namespace pondaro::scores::test {
namespace {

const std::string kToken(32, 'a');

// A record written by hand, padded and encoded the way the game does it.
std::string Encode(std::string record) {
  while (record.size() % 5 != 0) record += '0';
  return EncodeLine(record);
}

TEST(Record, WhatTheGameSendsIsReadBack) {
  struct Case {
    std::string name, country;
    int64_t score;
  };
  const Case cases[] = {
      {"BOB", "", 450},                        // 43 characters: two zeros of padding
      {"A", "Oz", 5},                          // the smallest score
      {"Zz9Zz9Zz9Z", "NewZealand", 9999995},   // longest fields, highest score below the bound
      {"froggy", "de", 2147483645},            // the game's largest multiple of 5, above the bound
  };
  for (const Case& c : cases) {
    const RecordCheck r = CheckRecord(EncodeRecord(ScoreRecord(c.name, static_cast<int32_t>(c.score), kToken, c.country)),
                                      3'000'000'000LL);
    ASSERT_TRUE(r.ok) << c.name << ": " << r.error;
    EXPECT_EQ(r.submission.name, c.name);
    EXPECT_EQ(r.submission.country, c.country);
    EXPECT_EQ(r.submission.score, c.score);
    EXPECT_EQ(r.submission.token, kToken);
  }
}

TEST(Record, ForgedAndBrokenRecordsAreRefused) {
  const std::string key(1, kScoreKey);
  struct Case {
    const char* what;
    std::string inf;
    int status;
  };
  const Case cases[] = {
      {"no token", EncodeRecord(ScoreRecord("BOB", 450, "", "")), 403},
      {"short token", EncodeRecord(ScoreRecord("BOB", 450, std::string(31, 'a'), "")), 403},
      {"capital token", EncodeRecord(ScoreRecord("BOB", 450, std::string(32, 'A'), "")), 403},
      {"wrong key", Encode("type=0|name=BOB|score=450|key=Q|p=" + kToken + "|add=|z="), 403},
      {"two-letter key", Encode("type=0|name=BOB|score=450|key=PP|p=" + kToken + "|add=|z="), 403},
      {"not a multiple of 5", EncodeRecord(ScoreRecord("BOB", 451, kToken, "")), 400},
      {"zero score", EncodeRecord(ScoreRecord("BOB", 0, kToken, "")), 400},
      {"negative score", EncodeRecord(ScoreRecord("BOB", -450, kToken, "")), 400},
      {"score at the bound", EncodeRecord(ScoreRecord("BOB", 10000000, kToken, "")), 400},
      {"leading zero", Encode("type=0|name=BOB|score=0450|key=" + key + "|p=" + kToken + "|add=|z="), 400},
      {"plus sign", Encode("type=0|name=BOB|score=+450|key=" + key + "|p=" + kToken + "|add=|z="), 400},
      {"huge score", Encode("type=0|name=BOB|score=99999999999999999999995|key=" + key + "|p=" + kToken + "|add=|z="), 400},
      {"empty name", EncodeRecord(ScoreRecord("", 450, kToken, "")), 400},
      {"eleven letters", EncodeRecord(ScoreRecord("ABCDEFGHIJK", 450, kToken, "")), 400},
      {"markup in the name", EncodeRecord(ScoreRecord("<b>x", 450, kToken, "")), 400},
      {"space in the name", EncodeRecord(ScoreRecord("A B", 450, kToken, "")), 400},
      {"padding in the name", EncodeRecord(ScoreRecord("BOB%", 450, kToken, "")), 400},
      {"byte above 127", EncodeRecord(ScoreRecord("J\xC3\xB6rg", 450, kToken, "")), 400},
      {"long country", EncodeRecord(ScoreRecord("BOB", 450, kToken, "Switzerland")), 400},
      {"country with a dot", EncodeRecord(ScoreRecord("BOB", 450, kToken, "U.K")), 400},
      {"table 1", Encode("type=1|name=BOB|score=450|key=" + key + "|p=" + kToken + "|add=|z="), 400},
      {"fields swapped", Encode("type=0|score=450|name=BOB|key=" + key + "|p=" + kToken + "|add=|z="), 400},
      {"field missing", Encode("type=0|name=BOB|score=450|key=" + key + "|p=" + kToken + "|z="), 400},
      {"field added", Encode("type=0|name=BOB|score=450|key=" + key + "|p=" + kToken + "|add=|x=1|z="), 400},
      {"no ending", Encode("type=0|name=BOB|score=450|key=" + key + "|p=" + kToken + "|add="), 400},
      {"ending not zeros", Encode("type=0|name=BOB|score=450|key=" + key + "|p=" + kToken + "|add=|z=1"), 400},
      {"five zeros", EncodeLine("type=0|name=BOBO|score=450|key=" + key + "|p=" + kToken + "|add=|z=00000"), 400},
      {"small letters", "abcdefgh", 400},
      {"zero symbol", "ABCDEFG0", 400},
      {"one symbol short", EncodeRecord(ScoreRecord("BOB", 450, kToken, "")).substr(1), 400},
      {"not a record", EncodeLine("hello world!!!!"), 400},
      {"empty", "", 400},
      {"too long", std::string(264, 'A'), 414},
  };
  for (const Case& c : cases) {
    const RecordCheck r = CheckRecord(c.inf, kDefaultMaxScore);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_EQ(r.status, c.status) << c.what << ": " << r.error;
    EXPECT_FALSE(r.error.empty()) << c.what;
  }
}

TEST(Record, TheBoundIsTheOneConfigured) {
  EXPECT_TRUE(CheckRecord(EncodeRecord(ScoreRecord("A", 95, kToken, "")), 100).ok);
  const RecordCheck at = CheckRecord(EncodeRecord(ScoreRecord("A", 100, kToken, "")), 100);
  EXPECT_FALSE(at.ok);
  EXPECT_NE(at.error.find("below 100"), std::string::npos) << at.error;
}

TEST(Record, TheEntryAlphabetIsTheGames) {
  int accepted = 0;
  for (int c = 0; c < 256; ++c) accepted += EntryCharacter(static_cast<char>(c));
  EXPECT_EQ(accepted, 62);
  for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890")) EXPECT_TRUE(EntryCharacter(c));
}

}  // namespace
}  // namespace pondaro::scores::test
