// The table page in a real browser: what it shows, in what order, and that stored
// text stays text, on a desktop and on a phone.
#include <gtest/gtest.h>

#include "browser_fixture.h"
#include "http_fixture.h"

namespace pondaro::scores::test {
namespace {

using nlohmann::json;

class Browser : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string reason;
    chromium = SharedBrowser(reason);
    if (!chromium) GTEST_SKIP() << "Chromium cannot run here: " << reason;
    ASSERT_GT(service.Port(), 0);
  }
  std::string TableUrl() const { return service.Base() + "/cgi/version.pl?prg=Pondaro&type=0&show"; }

  // 130 scores: markup in names and countries, one tie, the rest all different.
  void Seed() {
    std::vector<StoredScore> scores;
    for (int i = 0; i < 126; ++i) scores.push_back({"P" + std::to_string(i), "C" + std::to_string(i % 7), 5 * (i + 10), 1'700'000'000});
    scores.push_back({"<b>x", "<i>y</i>", 9000, 1'700'000'000});
    scores.push_back({"<img src=x onerror=\"document.title='hacked'\">", "&amp;", 8000, 1'700'000'000});
    scores.push_back({"First", "", 7000, 1'700'000'000});
    scores.push_back({"Second", "", 7000, 1'700'000'100});
    service.Scores().Insert(scores);
  }

  RunningService service;
  testing::Chromium* chromium = nullptr;
};

// "12 345" as the page writes it, back to a number.
int64_t Number(const std::string& text) {
  int64_t n = 0;
  for (char c : text)
    if (c >= '0' && c <= '9') n = n * 10 + (c - '0');
  return n;
}

TEST_F(Browser, TheTableShowsTheBest100InOrderWithStoredTextAsText) {
  Seed();
  chromium->Open(TableUrl(), 1280, 900);
  EXPECT_EQ(chromium->Evaluate("document.title"), "PONDARO: online high scores");
  const json rows = chromium->Evaluate(kRenderedRows);
  ASSERT_EQ(rows.size(), 100u);
  for (const json& row : rows) ASSERT_EQ(row.size(), 5u) << row.dump();

  EXPECT_EQ(rows[0], (json{"1", "<b>x", "<i>y</i>", "9\u202f000", "2023-11-14"}));
  EXPECT_EQ(rows[1][1], "<img src=x onerror=\"document.title='hacked'\">");
  EXPECT_EQ(rows[1][2], "&amp;");
  // A tie shares its place; the earlier score is listed first.
  EXPECT_EQ(rows[2], (json{"3", "First", "", "7\u202f000", "2023-11-14"}));
  EXPECT_EQ(rows[3], (json{"3", "Second", "", "7\u202f000", "2023-11-14"}));
  for (size_t i = 1; i < rows.size(); ++i)
    EXPECT_GE(Number(rows[i - 1][3]), Number(rows[i][3])) << i;
  EXPECT_EQ(Number(rows[99][3]), 5 * (125 + 10 - 95));
  // Nothing stored became an element.
  EXPECT_EQ(chromium->Evaluate("document.querySelectorAll('tbody b, tbody i, tbody img').length"), 0);
}

TEST_F(Browser, ThePhoneLayoutFitsAndKeepsTheCountry) {
  service.Scores().Insert({{"WWWWWWWWWW", "WWWWWWWWWW", 9999995, 1'700'000'000}, {"Ann", "Oz", 5, 1'700'000'000}});
  struct Screen {
    const char* what;
    int width, height;
    bool mobile;
    size_t columns;
  };
  for (const Screen& s : {Screen{"phone", 320, 640, true, 4}, Screen{"phone", 390, 844, true, 4},
                          Screen{"desktop", 1280, 800, false, 5}}) {
    chromium->Open(TableUrl(), s.width, s.height, s.mobile);
    const json rows = chromium->Evaluate(kRenderedRows);
    ASSERT_EQ(rows.size(), 2u) << s.what;
    EXPECT_EQ(rows[0].size(), s.columns) << s.what << s.width << rows.dump();
    // On a phone the country is written under the name.
    if (s.mobile) EXPECT_EQ(rows[1][1], "Ann\nOz") << rows.dump();
    else EXPECT_EQ(rows[1][2], "Oz") << rows.dump();
    EXPECT_LE(chromium->Evaluate("document.documentElement.scrollWidth").get<int>(), s.width) << s.what << s.width;
    const double size = chromium->Evaluate("parseFloat(getComputedStyle(document.querySelector('td.name')).fontSize)");
    EXPECT_GE(size, 14.0) << s.what;
  }
}

TEST_F(Browser, TheHomePageLeadsToTheTable) {
  Seed();
  chromium->Open(service.Base() + "/", 1280, 800);
  EXPECT_EQ(chromium->Evaluate("document.title"), "PONDARO");
  const std::string link = chromium->Evaluate("document.querySelector('a.button').href");
  EXPECT_EQ(link, TableUrl());
  chromium->Open(link, 1280, 800);
  EXPECT_EQ(chromium->Evaluate(kRenderedRows).size(), 100u);
}

TEST_F(Browser, AnEmptyTableSaysSo) {
  chromium->Open(TableUrl(), 390, 844, true);
  EXPECT_EQ(chromium->Evaluate(kRenderedRows).size(), 0u);
  EXPECT_NE(chromium->Evaluate("document.body.innerText").get<std::string>().find("No scores yet"), std::string::npos);
}

}  // namespace
}  // namespace pondaro::scores::test
