// The pages' text; how a browser shows them is in browser_test.cpp.
#include <gtest/gtest.h>

#include "pages.h"

namespace pondaro::scores::test {
namespace {

TEST(Pages, StoredTextIsEscaped) {
  EXPECT_EQ(HtmlEscape("<b>x</b> & \"q\" 'a'"), "&lt;b&gt;x&lt;/b&gt; &amp; &quot;q&quot; &#39;a&#39;");
  const std::string page = TablePage({{1, {"<script>", "\"><i>", 10, 0}, false}}, true);
  EXPECT_EQ(page.find("<script>"), std::string::npos);
  EXPECT_EQ(page.find("<i>"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;"), std::string::npos);
}

TEST(Pages, NumbersAndDates) {
  const std::string nnbsp = "\u202f";
  EXPECT_EQ(GroupDigits(5), "5");
  EXPECT_EQ(GroupDigits(450), "450");
  EXPECT_EQ(GroupDigits(1000), "1" + nnbsp + "000");
  EXPECT_EQ(GroupDigits(9999995), "9" + nnbsp + "999" + nnbsp + "995");
  EXPECT_EQ(UtcDate(0), "1970-01-01");
  EXPECT_EQ(UtcDate(1'700'000'000), "2023-11-14");
}

TEST(Pages, EqualScoresShareAPlace) {
  const std::string page = TablePage(
      {{1, {"A", "", 300, 0}, true}, {2, {"B", "", 200, 0}, true}, {3, {"C", "", 200, 0}, true}, {4, {"D", "", 100, 0}, true}});
  std::vector<std::string> places;
  for (size_t at = page.find("<td class=\"place\">"); at != std::string::npos;
       at = page.find("<td class=\"place\">", at + 1)) {
    const size_t from = at + std::string("<td class=\"place\">").size();
    places.push_back(page.substr(from, page.find('<', from) - from));
  }
  EXPECT_EQ(places, (std::vector<std::string>{"1", "2", "2", "4"}));
}

TEST(Pages, AnEmptyTableSaysSo) {
  for (const auto& [all, words] : {std::pair{true, "No scores yet"}, std::pair{false, "No verified scores yet"}}) {
    const std::string page = TablePage({}, all);
    EXPECT_EQ(page.find("<table"), std::string::npos);
    EXPECT_NE(page.find(words), std::string::npos) << all;
  }
}

}  // namespace
}  // namespace pondaro::scores::test
