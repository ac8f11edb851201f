// The replay of a game whose score was sent goes after it with the same token:
// only then, only the game just played, and never from a replay being watched.
// The player waits for it no longer than for the score, and hears of it only
// when it failed.
#include <chrono>
#include <thread>

#include "desktop/curl_http.h"
#include "persist/loopback_server.h"
#include "persist/submit.h"
#include "replay/taped_game.h"

namespace pondaro::test {
namespace {

class ReplayUpload : public TapedGame {
 protected:
  // A short game by the keys, `name` typed, the send box ticked, Enter; then
  // ticks until the service's answers are in.
  void PlayAndSend(const std::string& name) {
    PlayShortGame(name, true);
    Tick(3);
  }
  static std::string Reply(const std::string& token) { return "OK|Pondaro|1|7200|" + token + "|\n"; }
  // What the player was told, on the game's panel or in the system's box.
  std::vector<std::string> Told() {
    std::vector<std::string> told = messages.shown;
    told.insert(told.end(), form->MessagePanel.Queue.begin(), form->MessagePanel.Queue.end());
    return told;
  }
};

TEST_F(ReplayUpload, TheGameJustSentGoesAfterItsScoreWithItsToken) {
  http.replies = {Reply("c0ffee"), std::string("OK: score stored\n"), std::string("OK: replay stored\n")};
  PlayAndSend("FROG");
  ASSERT_EQ(http.requests.size(), 3u);
  EXPECT_EQ(http.requests[0], VersionCheckUrl());
  EXPECT_EQ(http.requests[2], std::string(kSubmitBase) + "/replays?token=c0ffee");
  ASSERT_EQ(http.posts.size(), 1u);
  EXPECT_EQ(http.posts[0].contentType, "application/octet-stream");
  EXPECT_TRUE(Told().empty());
  EXPECT_EQ(form->Scene, 7);

  // What went is the whole game, and it re-plays to the score and name sent.
  ASSERT_TRUE(tape->LastGame);
  const std::vector<uint8_t> expected = WriteReplay(*tape->LastGame);
  EXPECT_EQ(http.posts[0].body, std::string(expected.begin(), expected.end()));
  TReplay sent;
  std::string error;
  ASSERT_TRUE(ReadReplay(std::vector<uint8_t>(http.posts[0].body.begin(), http.posts[0].body.end()), sent, error));
  const TVerdict v = Verify(sent);
  EXPECT_TRUE(v.Verified) << v.Problem;
  EXPECT_EQ(v.Score, form->Score);
  EXPECT_EQ(v.Name, "FROG");

  // Watched, the game does everything again but send.
  Click(400, 217 + 37 * form->Menus.NewPlace - 37 + 10);
  Tick();
  ASSERT_TRUE(tape->Watch()->Active());
  Tick(tape->LastGame->Ticks + 10);
  EXPECT_FALSE(tape->Watch()->Active());
  EXPECT_EQ(tape->Watch()->LastProblem(), "");
  EXPECT_EQ(http.requests.size(), 3u);
  EXPECT_EQ(http.posts.size(), 1u);
}

TEST_F(ReplayUpload, ItGoesOnlyAfterAStoredScoreAndAFailureIsToldOnce) {
  using Replies = std::deque<std::optional<std::string>>;
  struct Case {
    const char* what;
    Replies replies;
    size_t requests;  // made in all
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"no service", Replies{std::nullopt}, 1, {"Can't connect to server!"}},
      {"the score refused", Replies{Reply("c0ffee"), std::nullopt}, 2, {}},
      {"a token that cannot go in an address", Replies{Reply("c0 ffee"), std::string("OK")}, 2, {}},
      {"the replay lost", Replies{Reply("c0ffee"), std::string("OK"), std::nullopt}, 3, {kReplayNotSent}},
  };
  for (const Case& c : cases) {
    app.reset();
    form.reset();
    http.requests.clear();
    http.replies = c.replies;
    messages.shown.clear();
    PlayAndSend("TOAD");
    EXPECT_EQ(http.requests.size(), c.requests) << c.what;
    EXPECT_EQ(form->Scene, 7) << c.what;
    for (int i = 0; i < 3; ++i) Tick();  // a message goes to the panel once
    EXPECT_EQ(Told(), c.shown) << c.what;
    EXPECT_FALSE(form->Submission.Running()) << c.what;
  }
}

// Over a real connection: the POST carries the replay whole, with its type and
// the session's cookie; a service that then keeps silent holds nothing up, and a
// quit ends the game at once.
TEST_F(ReplayUpload, AQuitWhileItIsOnItsWayEndsTheGameAtOnce) {
  LoopbackServer server;
  CurlHttpClient curl(60000, 60000);
  Rebased rebased(curl, server.Base());
  MakeTaped(&rebased);
  server.Script({ServerReply::Ok(Reply("c0ffee"), {"Set-Cookie: pond=42; Path=/"}), ServerReply::Ok("OK"),
                 ServerReply::NeverAnswers()});
  PlayShortGame("QUIT", true);
  for (int i = 0; i < 300 && server.Requests().size() < 3; ++i) {
    Tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(server.Requests().size(), 3u);
  Tick(5);
  EXPECT_EQ(form->Scene, 9) << "still sending, still drawing";
  ASSERT_EQ(form->Submission.step, TSubmission::Step::Uploading);

  const ServerRequest post = server.Requests()[2];
  EXPECT_EQ(post.line, "POST /replays?token=c0ffee HTTP/1.1");
  EXPECT_EQ(post.headers.at("content-type"), "application/octet-stream");
  EXPECT_EQ(post.headers.at("cookie"), "pond=42");
  const std::vector<uint8_t> replay = WriteReplay(*tape->LastGame);
  EXPECT_EQ(post.body, std::string(replay.begin(), replay.end()));

  const auto start = std::chrono::steady_clock::now();
  InputEvent end;
  end.Type = EventType::Terminate;
  form->HandleEvent(end);
  EXPECT_TRUE(form->Terminated);
  EXPECT_FALSE(form->Submission.Running());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
  EXPECT_TRUE(Told().empty());
}

}  // namespace
}  // namespace pondaro::test
