// The score service's replies as the game may meet them: any bytes, any size,
// trickled, cut off. The game's submission over its real HTTP client and a real
// loopback server: it never hangs past its time-outs, says "Can't connect to
// server!" exactly when the version check was not accepted, and otherwise sends
// the record with the service's value intact.
#include <chrono>
#include <cstring>

#include "app/form_fixture.h"
#include "desktop/curl_http.h"
#include "fuzz/fuzz_kit.h"
#include "loopback_server.h"
#include "persist/codec.h"
#include "persist/submit.h"

namespace pondaro::test {
namespace {

constexpr long kConnectMs = 500, kTotalMs = 800;

// Keeps what the real client answered, for the checks.
class Recorder : public HttpClient {
 public:
  explicit Recorder(HttpClient& real) : real_(real) {}
  std::vector<std::string> urls;
  std::vector<std::optional<std::string>> bodies;
  std::optional<std::string> Get(const std::string& url, std::string& error) override {
    urls.push_back(url);
    bodies.push_back(real_.Get(url, error));
    return bodies.back();
  }

 private:
  HttpClient& real_;
};

// A reply must never send the client elsewhere: redirects are followed, and the
// tests talk to this machine only.
std::string Tame(const Bytes& b) {
  std::string s(b.begin(), b.end());
  for (size_t i = 0; i + 8 <= s.size(); ++i)
    if (strncasecmp(s.c_str() + i, "location", 8) == 0) s[i + 7] = 'm';
  return s;
}

class ReplyFuzz : public FormTest {
 protected:
  CurlHttpClient curl{kConnectMs, kTotalMs};

  TMainForm& MakeOn(HttpClient& client) {
    form = std::make_unique<TMainForm>(
        FormServices{display, keyboard, sound, music, client, shell, messages, clock, decoder});
    form->DataDir = dir;
    form->FormCreate();
    return *form;
  }

  // One submission against `versionReply` and `submitReply`; "" or what went wrong.
  std::string Submit(LoopbackServer& server, const ServerReply& versionReply, const ServerReply& submitReply) {
    Rebased rebased(curl, server.Base());
    Recorder recorder(rebased);
    TMainForm& f = MakeOn(recorder);
    f.Edit1 = "Oz";
    f.Edit2 = "EVE";
    f.Score = 1234;
    messages.shown.clear();
    server.Script({versionReply, submitReply});
    const auto start = std::chrono::steady_clock::now();
    f.SubmitScore();
    // The recorder answers at once: the form takes each answer at its next poll.
    while (f.Submission.Running()) f.PollSubmission();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    form.reset();
    // Each request is bounded by the total time-out; curl may retry a dropped one once.
    if (ms > 4 * kTotalMs + 500) return "took " + std::to_string(ms) + " ms";
    if (recorder.bodies.empty()) return "no version check";
    const auto& check = recorder.bodies[0];
    if (check && check->size() > CurlHttpClient::kMaxBody) return "a body past the limit";
    const bool accepted = check && VersionAccepted(*check);
    const std::vector<std::string> expected =
        accepted ? std::vector<std::string>{} : std::vector<std::string>{"Can't connect to server!"};
    if (messages.shown != expected) return messages.shown.empty() ? "no message" : "message: " + messages.shown[0];
    if (recorder.urls.size() != (accepted ? 2u : 1u)) return std::to_string(recorder.urls.size()) + " requests";
    if (accepted) {
      const std::string url = recorder.urls[1];
      const std::string prefix = SubmitUrl("");
      if (url.rfind(prefix, 0) != 0) return "submitted to " + url;
      const std::string record = DecodeLine(url.substr(prefix.size()));
      if (record != ScoreRecord("EVE", 1234, ServerValue(*check), "Oz")) return "the record came out as " + record;
    }
    return "";
  }
};

TEST_F(ReplyFuzz, AnyReplyEndsInTimeWithTheRightWordAndAnIntactRecord) {
  const std::vector<Bytes> corpus = Corpus("replies");
  ASSERT_GE(corpus.size(), 10u);
  const uint64_t seed = FuzzSeed(4242);
  Mutator mutate(seed);
  FuzzBudget budget;
  auto server = std::make_unique<LoopbackServer>();
  int accepted = 0, refused = 0;
  long n = 0;
  for (; budget.More(n, static_cast<long>(corpus.size()) + 100); ++n) {
    // A fresh server now and then: each one keeps its finished connections' threads.
    if (n % 100 == 99) server = std::make_unique<LoopbackServer>();
    const bool plain = n < static_cast<long>(corpus.size());
    const Bytes version = plain ? corpus[n] : mutate.Mutate(corpus[mutate.Pick(corpus.size())], corpus);
    const Bytes submit = corpus[mutate.Pick(corpus.size())];
    // Mostly at once; every tenth trickled; now and then so slowly that the
    // client's time-out ends it; the corpus' first reply always once so.
    size_t chunk = 0;
    int pause = 0;
    if (n == 0 || mutate.Pick(400) == 0) {
      chunk = 1;
      pause = 60;
    } else if (mutate.Pick(10) == 0) {
      chunk = 1 + mutate.Pick(48);
      pause = static_cast<int>(mutate.Pick(3));
    }
    const std::string problem =
        Submit(*server, ServerReply::Bytes(Tame(version), chunk, pause), ServerReply::Bytes(Tame(submit)));
    if (!problem.empty()) {
      ADD_FAILURE() << "case " << n << " (seed " << seed << "): " << problem << "; reply kept in "
                    << KeepFailure("replies", seed, n, version);
      break;
    }
    (messages.shown.empty() ? accepted : refused) += 1;
  }
  std::printf("reply fuzz: %ld replies in %.0f s, %d accepted, %d refused\n", n, budget.Seconds(), accepted,
              refused);
  EXPECT_GT(accepted, 5);
  EXPECT_GT(refused, 5);
}

}  // namespace
}  // namespace pondaro::test
