// The score submission against a real HTTP server on the loopback interface.
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "loopback_server.h"
#include "menus/name_entry_fixture.h"
#include "persist/score_service.h"
#include "persist/submit.h"
#include "desktop/curl_http.h"

namespace pondaro::test {
namespace {

class Submit : public NameEntryFixture {
 protected:
  // Short time-outs, so a silent server costs the test a second and a half.
  CurlHttpClient curl{1000, 1500};
  LoopbackServer server;
  Rebased rebased{curl, server.Base()};

  TMainForm& MakeOnNetwork(HttpClient& client) {
    form = std::make_unique<TMainForm>(
        FormServices{display, keyboard, sound, music, client, shell, messages, clock, decoder});
    form->DataDir = dir;
    form->Seed(1);
    form->FormCreate();
    app = std::make_unique<TApplication>(*form, events, clock);
    return *form;
  }

  // Plays the end of a game: score, name, send box ticked, Enter.
  void PlayAndSend(TMainForm& f, int32_t score, const std::string& name, const std::string& country = "") {
    f.Edit1 = country;
    f.Edit2.clear();
    GameOver(score);
    ASSERT_TRUE(f.GameEnterName);
    Type(name);
    Click(264, 386);
    ASSERT_TRUE(f.GameSendResult);
    Key(vk::Return);
    Settle(f);
    EXPECT_EQ(f.Scene, 7);
  }

  // Ticks until the request in flight has its answer (it runs on its own thread).
  void Settle(TMainForm& f, std::chrono::seconds limit = std::chrono::seconds(5)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (f.Submission.Running() && std::chrono::steady_clock::now() < until) {
      Tick();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  // The record carried by a submission request's target.
  static std::string RecordOf(const ServerRequest& r) {
    const std::string prefix = std::string(kScorePath) + "?hs&prg=Pondaro&inf=";
    const std::string target = r.Target();
    if (target.rfind(prefix, 0) != 0) return "<not a submission: " + target + ">";
    const std::string encoded = target.substr(prefix.size());
    for (char c : encoded)
      if (!std::strchr(Base32Symbols, c)) return "<not encoded: " + encoded + ">";
    return DecodeLine(encoded);
  }
};

TEST_F(Submit, BothRequestsCarryTheGamesHeadersCookieAndEncodedRecord) {
  auto& f = MakeOnNetwork(rebased);
  server.Script({ServerReply::Ok("OK|a|b|c|d|e\n", {"Set-Cookie: session=pond42; Path=/"}), ServerReply::Ok("")});
  PlayAndSend(f, 450, "BOB");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(f.HighScores[6], (TLocal_HighScores{"BOB", 450}));

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].line, "GET /cgi/version.pl?prg=Pondaro HTTP/1.1");
  for (const ServerRequest& r : requests) {
    EXPECT_EQ(r.headers.at("user-agent"), std::string("PONDARO/") + PONDARO_VERSION + " (Linux)");
    EXPECT_EQ(r.headers.at("accept"), "text/html, */*");
  }
  EXPECT_EQ(requests[0].headers.count("cookie"), 0u);
  EXPECT_EQ(requests[1].headers.at("cookie"), "session=pond42");

  // 43 characters, two zeros to 45, 72 symbols.
  const std::string record = "type=0|name=BOB|score=450|key=" + std::string(1, kScoreKey) + "|p=d|add=|z=00";
  ASSERT_EQ(record.size(), 45u);
  const std::string target = requests[1].Target();
  EXPECT_EQ(target.size(), std::string("/cgi/version.pl?hs&prg=Pondaro&inf=").size() + 72);
  EXPECT_EQ(RecordOf(requests[1]), record);
  EXPECT_EQ(std::string(Base2To256(Base32To2(EncodeRecord(record)))), record);
}

TEST_F(Submit, TheServerValueIsTheFifthFieldOfAnOkReply) {
  auto& f = MakeOnNetwork(rebased);
  // "OK" alone, and fewer than five "|": sent with an empty value; the country goes along.
  for (const char* reply : {"OK", "OK|a|b|c|d"}) {
    server.Script({ServerReply::Ok(reply), ServerReply::Ok("")});
    const size_t before = server.Requests().size();
    PlayAndSend(f, 2700, "ANN", "Oz");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), before + 2) << reply;
    EXPECT_EQ(RecordOf(requests.back()), "type=0|name=ANN|score=2700|key=P|p=|add=Oz|z=") << reply;
  }
  EXPECT_EQ(ServerValue("OK|1|2|3|x y|5|6"), "x y");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Submit, AVersionCheckThatFailsSendsNothingAndSaysSo) {
  struct Case {
    const char* what;
    ServerReply reply;
  };
  const Case cases[] = {
      {"small letters", ServerReply::Ok("ok|a|b|c|d|e")},
      {"empty reply", ServerReply::Ok("")},
      {"HTTP error", ServerReply::Status(500, "OK|a|b|c|d|e")},
      {"hang-up", ServerReply::CloseAtOnce()},
      {"silence", ServerReply::NeverAnswers()},
  };
  auto& f = MakeOnNetwork(rebased);
  int32_t score = 1000;
  for (const Case& c : cases) {
    messages.shown.clear();
    server.Script({c.reply, ServerReply::Ok("")});
    const size_t before = server.Requests().size();
    const auto start = std::chrono::steady_clock::now();
    PlayAndSend(f, ++score, "EVE");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 4.0) << c.what;
    ASSERT_EQ(messages.shown.size(), 1u) << c.what;
    EXPECT_EQ(messages.shown[0], "Can't connect to server!");
    // curl may try a dropped request once more on a fresh connection; never the submission.
    const auto requests = server.Requests();
    ASSERT_GT(requests.size(), before) << c.what;
    for (size_t i = before; i < requests.size(); ++i)
      EXPECT_EQ(requests[i].Target(), "/cgi/version.pl?prg=Pondaro") << c.what;
    // Stored and saved all the same.
    EXPECT_EQ(f.HighScores[4], (TLocal_HighScores{"EVE", score})) << c.what;
    EXPECT_EQ(SavedTable(), f.HighScores) << c.what;
  }

  // Nobody listening at all.
  CurlHttpClient refusedCurl(1000, 1500);
  Rebased refused(refusedCurl, "http://127.0.0.1:" + std::to_string(LoopbackServer::ClosedPort()));
  auto& g = MakeOnNetwork(refused);
  messages.shown.clear();
  PlayAndSend(g, 5000, "REF");
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Can't connect to server!"});
  EXPECT_EQ(g.HighScores[0], (TLocal_HighScores{"REF", 5000}));
}

TEST_F(Submit, AFailedSubmissionIsSilent) {
  auto& f = MakeOnNetwork(rebased);
  for (ServerReply second : {ServerReply::Status(500), ServerReply::NeverAnswers()}) {
    server.Script({ServerReply::Ok("OK|a|b|c|d|e"), second});
    PlayAndSend(f, 3100, "SAM");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(f.HighScores[0].Name, "SAM");
  }
}

// Looks at the table in memory and on disk at the moment each request is made.
class Probe : public HttpClient {
 public:
  TMainForm* form = nullptr;
  std::string config;
  std::vector<THighScoreTable> tables;
  std::vector<std::string> files;
  std::optional<std::string> Get(const std::string&, std::string& error) override {
    tables.push_back(form->HighScores);
    std::ifstream in(config, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    files.push_back(text.str());
    error = "offline";
    return std::nullopt;
  }
};

TEST_F(Submit, TheEntryIsStoredAndSavedBeforeTheServiceIsAsked) {
  Probe probe;
  auto& f = MakeOnNetwork(probe);
  probe.form = &f;
  probe.config = ConfigPath();
  PlayAndSend(f, 2200, "KIM");
  ASSERT_EQ(probe.tables.size(), 1u);
  EXPECT_EQ(probe.tables[0][2], (TLocal_HighScores{"KIM", 2200}));
  EXPECT_NE(probe.files[0].find(EncodeLine("KIM%%")), std::string::npos);
}

// A service that never answers holds nothing up: the game draws on and says it
// is sending, Esc stops waiting at once, and so does a quit signal, with the
// settings written.
TEST_F(Submit, AServerThatNeverAnswersIsLeftAtOnce) {
  CurlHttpClient patient(60000, 60000);
  Rebased silent(patient, server.Base());
  auto& f = MakeOnNetwork(silent);
  for (const bool quit : {false, true}) {
    server.Script({ServerReply::NeverAnswers()});
    f.Edit2.clear();
    GameOver(quit ? 2800 : 2900);
    Type(quit ? "QUIT" : "ESC");
    Click(264, 386);
    Key(vk::Return);
    for (int i = 0; i < 10; ++i) {
      display.calls.clear();
      Tick();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(f.Scene, 9);
    ASSERT_TRUE(f.Submission.Running());
    bool saying = false;
    for (const DrawCall& d : display.calls) saying = saying || (d.kind == DrawCall::Text && d.text == "Sending score...");
    EXPECT_TRUE(saying);
    const auto start = std::chrono::steady_clock::now();
    if (quit) {
      InputEvent end;
      end.Type = EventType::Terminate;
      f.HandleEvent(end);
      EXPECT_TRUE(f.Terminated);
    } else {
      Key(vk::Escape);
      EXPECT_EQ(f.Scene, 7);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_FALSE(f.Submission.Running());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(SavedTable(), f.HighScores);
    EXPECT_EQ(f.HighScores[quit ? 2 : 1].Name, quit ? "QUIT" : "ESC");
  }
  EXPECT_EQ(server.Requests().size(), 2u);  // two version checks, nothing more
}

TEST_F(Submit, TheHttpClientCutsLongBodiesAndFailsOnErrorStatus) {
  server.Script({ServerReply::Ok(std::string(100 * 1024, 'x')), ServerReply::Status(404, "gone"),
                 ServerReply::Ok("fine")});
  std::string error;
  auto body = curl.Get(server.Base() + "/big", error);
  ASSERT_TRUE(body) << error;
  EXPECT_EQ(body->size(), CurlHttpClient::kMaxBody);
  EXPECT_FALSE(curl.Get(server.Base() + "/missing", error));
  EXPECT_NE(error.find("404"), std::string::npos) << error;
  body = curl.Get(server.Base() + "/after", error);
  EXPECT_EQ(body.value_or(""), "fine");
  // Only the web's own protocols.
  EXPECT_FALSE(curl.Get("file:///etc/hostname", error));
  EXPECT_EQ(server.Requests().size(), 3u);
}

}  // namespace
}  // namespace pondaro::test
