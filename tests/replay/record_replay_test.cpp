// Every game is recorded at the services' boundary, and its replay re-plays to the
// same game on the headless game: the same score, name and digests. A single input
// changed makes it another game, which verification refuses.
#include <filesystem>
#include <sstream>

#include "replay/digest.h"
#include "replay/shelf.h"
#include "replay/taped_game.h"

namespace pondaro::test {
namespace {

class RecordReplay : public TapedGame {};

// A score service that answers when the test says so, and then refuses.
class HeldHttp : public HttpClient {
 public:
  bool answer = false;
  int started = 0;
  std::optional<std::string> Get(const std::string&, std::string& error) override {
    error = "refused";
    return std::nullopt;
  }
  std::unique_ptr<HttpRequest> Start(const std::string&) override {
    ++started;
    return std::make_unique<Held>(answer);
  }

 private:
  struct Held : HttpRequest {
    explicit Held(const bool& a) : answered(a) {}
    bool Done() const override { return answered; }
    std::optional<std::string> Result(std::string& error) override {
      error = "refused";
      return std::nullopt;
    }
    const bool& answered;
  };
};

TEST_F(RecordReplay, AGameIsRecordedFromItsStartToItsNameAndReplaysTheSame) {
  PlayShortGame("Frog");
  ASSERT_EQ(form->Scene, 7) << "the name was not taken";
  ASSERT_TRUE(tape->LastGame);
  EXPECT_EQ(tape->LastGameTaint, "");
  const TReplay& r = *tape->LastGame;
  EXPECT_EQ(r.Name, "FROG");
  EXPECT_EQ(r.Score, form->HighScores[5].Score);
  EXPECT_EQ(r.Level, 1);
  EXPECT_GT(r.Ticks, 300u);
  EXPECT_EQ(r.Digests.size(), r.Ticks / 100);
  EXPECT_EQ(r.Start.HighScores[9].Score, -1) << "the table as the game began";

  TReplay read;
  std::string error;
  ASSERT_TRUE(ReadReplay(WriteReplay(r), read, error)) << error;
  const TVerdict v = Verify(read);
  EXPECT_TRUE(v.Verified) << v.Problem;
  EXPECT_EQ(v.Score, r.Score);
  EXPECT_EQ(v.Name, "FROG");
  EXPECT_EQ(v.Ticks, r.Ticks);
  EXPECT_EQ(v.Digest, r.FinalDigest);

  // Kept beside Config.cfg, and found again for its row.
  EXPECT_EQ(ShelfRows(*form)[5], BestReplay(*form)) << "the best row with a replay is the new one";
  EXPECT_TRUE(std::filesystem::exists(ShelfRows(*form)[5]));
}

TEST_F(RecordReplay, OneInputChangedIsAnotherGameAndIsRefused) {
  PlayShortGame("Frog");
  ASSERT_TRUE(tape->LastGame);
  const TReplay good = *tape->LastGame;
  // The drives that decided this game: the Enter that started it, the jump's
  // press, a letter of the name and the Enter that stored it; and an answer, the
  // clock the pond was seeded from.
  auto find = [&](auto pred, int nth = 0) {
    for (size_t i = 0; i < good.Records.size(); ++i)
      if (pred(good.Records[i]) && nth-- == 0) return i;
    ADD_FAILURE() << "no such record";
    return size_t{0};
  };
  auto keyDown = [](int key) {
    return [key](const TRecord& r) {
      return r.Kind == TRecordKind::Event && r.Event.Type == EventType::KeyDown && r.Event.Key == key;
    };
  };
  auto spaceHeld = [](const TRecord& r) { return r.Kind == TRecordKind::Key && r.Value == vk::Space && r.Down; };
  auto clock = [](const TRecord& r) { return r.Kind == TRecordKind::Clock; };
  struct Flip {
    const char* what;
    size_t at;
    std::function<void(TRecord&)> change;
  };
  const Flip flips[] = {
      {"the start", find(keyDown(vk::Return)), [](TRecord& r) { r.Event.Key = vk::Tab; }},
      {"the jump", find(spaceHeld), [](TRecord& r) { r.Down = false; }},
      {"a letter", find(keyDown('R')), [](TRecord& r) { r.Event.Key = 'T'; }},
      {"the name stored", find(keyDown(vk::Return), 2), [](TRecord& r) { r.Event.Key = vk::Home; }},
      {"the pond's seed", find(clock), [](TRecord& r) { r.Value += 7; }},
  };
  for (const Flip& f : flips) {
    TReplay bad = good;
    f.change(bad.Records[f.at]);
    const TVerdict v = Verify(bad);
    EXPECT_FALSE(v.Verified) << f.what;
    EXPECT_FALSE(v.Problem.empty()) << f.what;
    EXPECT_TRUE(v.Score != good.Score || v.Name != good.Name || v.Digest != good.FinalDigest ||
                v.FirstDivergence != 0 || !v.Problem.empty())
        << f.what << ": the same game";
  }
  // A digest changed shows where the games part.
  TReplay wrongDigest = good;
  wrongDigest.Digests[1] ^= 1;
  const TVerdict v = Verify(wrongDigest);
  EXPECT_FALSE(v.Verified);
  EXPECT_EQ(v.FirstDivergence, 200u);
  // A stream that stops before the game's end, or goes past it.
  TReplay cut = good;
  cut.Records.pop_back();
  EXPECT_FALSE(Verify(cut).Verified);
  TReplay longer = good;
  longer.Records.push_back(longer.Records.front());
  EXPECT_NE(Verify(longer).Problem.find("past its game's end"), std::string::npos);
}

TEST_F(RecordReplay, AGameATestHookTouchedCannotBeReplayedAndIsNotKept) {
  MakeTaped();
  form->ChangeScene(2);
  form->ChangeScene(3);  // not from an input
  form->ChangeScene(2);
  ASSERT_TRUE(tape->LastGame);
  EXPECT_NE(tape->LastGameTaint.find("test hook"), std::string::npos);

  // Played by inputs, touched once by a hook: recorded to its end, and kept nowhere.
  ToMenuWithLowTable();
  Press(vk::Return);
  Tick(115);
  tape->Recorder.Taint("a test hook set Lives");
  LeaveGame();
  Press('A');
  Press(vk::Return);
  Tick(2);
  EXPECT_EQ(form->Scene, 7);
  EXPECT_EQ(form->HighScores[5].Name, "A");
  EXPECT_EQ(tape->LastGameTaint, "a test hook set Lives");
  EXPECT_EQ(BestReplay(*form), "");
}

TEST_F(RecordReplay, AGameLeftWithoutAPlaceIsRecordedButNotKept) {
  MakeTaped();
  Press(vk::Return);
  Tick(5);
  Press(vk::Return);
  Tick(20);
  Press(vk::Escape);
  Press(vk::Down);
  Press(vk::Return);  // Yes: a score of 0 is not for the default table
  Tick(2);
  EXPECT_EQ(form->Scene, 2);
  ASSERT_TRUE(tape->LastGame);
  EXPECT_EQ(tape->LastGame->Name, "");
  EXPECT_TRUE(Verify(*tape->LastGame).Verified) << Verify(*tape->LastGame).Problem;
  EXPECT_EQ(BestReplay(*form), "");
}

TEST_F(RecordReplay, ASentScoreEndsItsGameBeforeTheServiceAnswersAndItsReplayNeverSends) {
  HeldHttp network;
  MakeTaped(&network);
  PlayShortGame("Frog", true);
  ASSERT_EQ(network.started, 1) << "the score is on its way";
  ASSERT_TRUE(form->Submission.Running());
  ASSERT_TRUE(tape->LastGame) << "the game ended with its name";
  const TReplay game = *tape->LastGame;
  Tick(100);  // the service keeps silent, then refuses
  network.answer = true;
  Tick(2);
  EXPECT_EQ(form->Scene, 7);
  EXPECT_TRUE(form->MessagePanel.Open());
  EXPECT_EQ(tape->LastGame->Ticks, game.Ticks) << "the wait for the service is no part of the game";
  EXPECT_EQ(tape->LastGame->Records.size(), game.Records.size());
  const TVerdict v = Verify(game);
  EXPECT_TRUE(v.Verified) << v.Problem;
  EXPECT_EQ(v.Name, "FROG");

  // Watched, the game commits its name and sends nothing.
  Press(vk::Return);  // the message read
  std::string error;
  ASSERT_TRUE(tape->Watch()->Request(*form, ShelfRows(*form)[5], TWatchMode::Table, error)) << error;
  Tick(static_cast<int>(game.Ticks) + 5);
  EXPECT_FALSE(tape->Watch()->Active());
  EXPECT_EQ(tape->Watch()->LastProblem(), "");
  EXPECT_EQ(network.started, 1);
}

// pondaro --verify: what it prints and its exit status, as scripts and the score
// service's operators read them.
TEST_F(RecordReplay, VerifyCommandSaysWhetherAFileHolds) {
  const std::string golden = std::string(PONDARO_SOURCE_DIR) + "/tests/replays/pauses_and_dialogs.pdr";
  TReplay r;
  std::string error;
  ASSERT_TRUE(LoadReplay(golden, r, error)) << error;
  TReplay otherGame = r, otherVersion = r;
  for (TRecord& record : otherGame.Records)
    if (record.Kind == TRecordKind::Event && record.Event.Type == EventType::KeyDown && record.Event.Key == 'P') {
      record.Event.Key = 'Q';  // a pause that never was
      break;
    }
  otherVersion.GameVersion = "0.9";
  ASSERT_TRUE(SaveReplay(dir + "/other_game.pdr", otherGame, error)) << error;
  ASSERT_TRUE(SaveReplay(dir + "/other_version.pdr", otherVersion, error)) << error;
  struct Case {
    std::string file;
    int status;
    std::string out, err;
  } cases[] = {
      {golden, 0, "score=" + std::to_string(r.Score) + " ticks=" + std::to_string(r.Ticks) + " digest=" +
                      DigestText(r.FinalDigest) + "\n", ""},
      {dir + "/other_game.pdr", 1, "score=", ": tick "},  // where it parted
      {dir + "/other_version.pdr", 2, "", "recorded by PONDARO 0.9"},
      {dir + "/none.pdr", 2, "", "none.pdr: cannot be read (No such file or directory)"},
  };
  // The same check of the bytes as they come over the network.
  const std::vector<uint8_t> bytes = WriteReplay(r);
  EXPECT_TRUE(VerifyReplayBytes(bytes, PONDARO_GAME_DIR).Verified);
  const TVerdict cut = VerifyReplayBytes({bytes.begin(), bytes.end() - 1}, PONDARO_GAME_DIR);
  EXPECT_FALSE(cut.Readable);
  EXPECT_NE(cut.Problem, "");
  for (const Case& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(VerifyCommand(c.file, PONDARO_GAME_DIR, out, err), c.status) << c.file << ": " << err.str();
    if (c.status == 0)
      EXPECT_EQ(out.str(), c.out);
    else
      EXPECT_EQ(out.str().substr(0, c.out.size()), c.out) << c.file;
    EXPECT_NE(err.str().find(c.err), std::string::npos) << c.file << ": " << err.str();
  }
}

}  // namespace
}  // namespace pondaro::test
