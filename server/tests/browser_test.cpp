// The table page in a real browser: what it shows, in what order, and that stored
// text stays text, on a desktop and on a phone; which scores it shows as verified.
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
  // The verified scores, or all of them.
  std::string TableUrl(bool all = true) const {
    return service.Base() + "/cgi/version.pl?prg=Pondaro&type=0&show" + (all ? "&all" : "");
  }

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
  EXPECT_EQ(chromium->Evaluate("document.title"), "PONDARO: all online high scores");
  const json rows = chromium->Evaluate(kRenderedRows);
  ASSERT_EQ(rows.size(), 100u);
  for (const json& row : rows) ASSERT_EQ(row.size(), 6u) << row.dump();

  EXPECT_EQ(rows[0], (json{"1", "<b>x", "<i>y</i>", "9\u202f000", "2023-11-14", "not verified"}));
  EXPECT_EQ(rows[1][1], "<img src=x onerror=\"document.title='hacked'\">");
  EXPECT_EQ(rows[1][2], "&amp;");
  // A tie shares its place; the earlier score is listed first.
  EXPECT_EQ(rows[2], (json{"3", "First", "", "7\u202f000", "2023-11-14", "not verified"}));
  EXPECT_EQ(rows[3], (json{"3", "Second", "", "7\u202f000", "2023-11-14", "not verified"}));
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
  for (const Screen& s : {Screen{"phone", 320, 640, true, 5}, Screen{"phone", 390, 844, true, 5},
                          Screen{"desktop", 1280, 800, false, 6}}) {
    chromium->Open(TableUrl(), s.width, s.height, s.mobile);
    const json rows = chromium->Evaluate(kRenderedRows);
    ASSERT_EQ(rows.size(), 2u) << s.what;
    EXPECT_EQ(rows[0].size(), s.columns) << s.what << s.width << rows.dump();
    // On a phone the country is written under the name.
    if (s.mobile) EXPECT_EQ(rows[1][1], "Ann\nOz") << rows.dump();
    else EXPECT_EQ(rows[1][2], "Oz") << rows.dump();
    // The mark is a word where there is room, a dash on a phone.
    EXPECT_EQ(rows[1].back(), s.mobile ? "\u2013" : "not verified") << rows.dump();
    EXPECT_LE(chromium->Evaluate("document.documentElement.scrollWidth").get<int>(), s.width) << s.what << s.width;
    const double size = chromium->Evaluate("parseFloat(getComputedStyle(document.querySelector('td.name')).fontSize)");
    EXPECT_GE(size, 14.0) << s.what;
  }
}

TEST_F(Browser, TheHomePageLeadsToTheTableAndItsViews) {
  Seed();
  chromium->Open(service.Base() + "/", 1280, 800);
  EXPECT_EQ(chromium->Evaluate("document.title"), "PONDARO");
  const std::string link = chromium->Evaluate("document.querySelector('a.button').href");
  EXPECT_EQ(link, TableUrl(false));
  chromium->Open(link, 1280, 800);
  EXPECT_EQ(chromium->Evaluate(kRenderedRows).size(), 0u) << "none of them verified";
  const std::string all = chromium->Evaluate("document.querySelector('.views a').href");
  EXPECT_EQ(all, TableUrl(true));
  chromium->Open(all, 1280, 800);
  EXPECT_EQ(chromium->Evaluate(kRenderedRows).size(), 100u);
  EXPECT_EQ(chromium->Evaluate("document.querySelector('.views a').href"), TableUrl(false));
}

TEST_F(Browser, AnEmptyTableSaysSo) {
  for (const auto& [all, words] : {std::pair{true, "No scores yet"}, std::pair{false, "No verified scores yet"}}) {
    chromium->Open(TableUrl(all), 390, 844, true);
    EXPECT_EQ(chromium->Evaluate(kRenderedRows).size(), 0u);
    EXPECT_NE(chromium->Evaluate("document.body.innerText").get<std::string>().find(words), std::string::npos) << all;
  }
}

// Three scores sent as the game sends them: one with the replay of the game that
// made it, one with that replay tampered (one key press changed), one forged
// with no replay at all. Only the first is shown as verified, with its replay.
TEST_F(Browser, OnlyAScoreItsReplayProvesShowsAsVerified) {
  service.WithVerifier();
  const Golden& g = Golden::Keys();
  auto send = [&](const std::string& name, int64_t score, const std::string& replay) {
    const std::string token = pondaro::ServerValue(HttpGet(service.Port(), "/cgi/version.pl?prg=Pondaro").body);
    EXPECT_EQ(HttpGet(service.Port(), "/cgi/version.pl?" + SubmissionQuery(name, score, token)).status, 200);
    if (replay.empty()) return;
    const RawReply r = RawHttp(service.Port(), std::string("POST ") + kReplayPath + "?token=" + token +
                                                   " HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Length: " +
                                                   std::to_string(replay.size()) + "\r\n\r\n" + replay);
    EXPECT_EQ(r.status, 202) << r.body;
  };
  send(g.replay.Name, g.replay.Score, g.bytes);
  send(g.replay.Name, g.replay.Score, g.Tampered());
  send("Forger", 9'999'995, "");
  ASSERT_TRUE(service.Checked());

  chromium->Open(TableUrl(false), 1280, 800);
  const json rows = chromium->Evaluate(kRenderedRows);
  ASSERT_EQ(rows.size(), 1u) << rows.dump();
  EXPECT_EQ(rows[0][1], g.replay.Name);
  EXPECT_EQ(rows[0][5], "\u2713");
  const std::string href = chromium->Evaluate("document.querySelector('a.proof').href");
  const RawReply file = HttpGet(service.Port(), href.substr(service.Base().size()));
  EXPECT_EQ(file.status, 200);
  EXPECT_EQ(file.body, g.bytes) << "the replay to watch is the one sent";
  EXPECT_EQ(file.Header("Content-Type"), "application/octet-stream");

  chromium->Open(TableUrl(true), 1280, 800);
  const json all = chromium->Evaluate(kRenderedRows);
  ASSERT_EQ(all.size(), 3u) << all.dump();
  EXPECT_EQ(all[0][1], "Forger");
  EXPECT_EQ(all[0][5], "not verified");
  int verified = 0;
  for (const json& row : all) verified += row[5] == "\u2713";
  EXPECT_EQ(verified, 1) << all.dump();
  EXPECT_EQ(chromium->Evaluate("document.querySelectorAll('a.proof').length"), 1);
}

}  // namespace
}  // namespace pondaro::scores::test
