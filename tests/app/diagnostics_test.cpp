// Every message the game prints or shows goes through one escaping rule.
#include "app/diagnostics.h"

#include <gtest/gtest.h>

#include "app/form_fixture.h"
#include "persist/codec.h"

namespace pondaro::test {
namespace {

TEST(Printable, BytesATerminalWouldActOnAreWrittenOut) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"plain text, 100%", "plain text, 100%"},
      {"two\nlines\tand a tab", "two\nlines\tand a tab"},
      {"\x1b[31mred\x1b[0m", "\\x1B[31mred\\x1B[0m"},
      {std::string("nul\0cr\r", 7), "nul\\x00cr\\x0D"},
      {"del\x7f", "del\\x7F"},
      {"\xd0\x9b\xd1\x8f\xd0\xb3\xd1\x83\xd1\x88\xd0\xba\xd0\xb0 \xf0\x9f\x90\xb8", "\xd0\x9b\xd1\x8f\xd0\xb3\xd1\x83\xd1\x88\xd0\xba\xd0\xb0 \xf0\x9f\x90\xb8"},
      {"\xc2\x9b" "2J", "\\xC2\\x9B2J"},       // the C1 control CSI, valid UTF-8
      {"\xc0\xaf", "\\xC0\\xAF"},              // an over-long slash
      {"\xed\xa0\x80", "\\xED\\xA0\\x80"},     // a surrogate
      {"cut \xe2\x82", "cut \\xE2\\x82"},      // a sequence the text ends in
      {"\xff\xfe", "\\xFF\\xFE"},
  };
  for (const auto& c : cases) EXPECT_EQ(Printable(c.in), c.out) << c.out;
}

// A damaged Config.cfg's bytes reach the terminal escaped.
TEST_F(FormTest, ADamagedScoreIsReportedEscaped) {
  std::string lines[25];
  lines[0] = EncodeLine("false");
  lines[6] = EncodeLine("\x1b]0;owned\x07");  // ten characters: no padding
  std::ofstream out(ConfigPath(), std::ios::binary);
  for (const std::string& l : lines) out << l << "\r\n";
  out.close();
  testing::internal::CaptureStderr();
  Make();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "PONDARO: Config.cfg line 7: '\\x1B]0;owned\\x07' is not a whole number; keeping 3000\n");
  EXPECT_EQ(form->HighScores[0].Score, 3000);
}

}  // namespace
}  // namespace pondaro::test
