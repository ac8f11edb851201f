// Config.cfg as a player's disk may hold it: any bytes, any length, any line
// ends. The game starts on every one, shows its table, writes a clean file back,
// and a second start on that file holds exactly what the first one did.
#include <set>

#include "app/form_fixture.h"
#include "fuzz/fuzz_kit.h"
#include "persist/config_check.h"

namespace pondaro::test {
namespace {

struct Held {
  bool fullScreen = false, music = false, sound = false;
  std::string country, name;
  THighScoreTable table;
  bool operator==(const Held&) const = default;
};

// The first thing two starts disagree on.
std::string Difference(const Held& a, const Held& b) {
  if (a.fullScreen != b.fullScreen || a.music != b.music || a.sound != b.sound) return "a switch";
  if (a.country != b.country) return "the country '" + a.country + "' / '" + b.country + "'";
  if (a.name != b.name) return "the name '" + a.name + "' / '" + b.name + "'";
  for (int i = 0; i < 10; ++i)
    if (a.table[i] != b.table[i])
      return "place " + std::to_string(i + 1) + ": '" + a.table[i].Name + "' " + std::to_string(a.table[i].Score) +
             " / '" + b.table[i].Name + "' " + std::to_string(b.table[i].Score);
  return "nothing";
}

class SettingsFuzz : public FormTest {
 protected:
  // Starts the game on `config`, shows the high-score table for a few ticks, and
  // says what the game holds; "" in `problem` unless something broke.
  Held Start(const Bytes& config, std::string& problem) {
    app.reset();
    form.reset();
    WriteBytes(ConfigPath(), config);
    messages.shown.clear();
    TMainForm& f = Make();
    if (f.Scene != 1) problem = "started in scene " + std::to_string(f.Scene);
    f.ChangeScene(7);
    Tick(3);
    f.ChangeScene(1);
    display.calls.clear();
    // A bad number is reported on stderr, never in a box the player must click.
    if (!messages.shown.empty()) problem = "message: " + messages.shown[0];
    return {f.GameFullScreen, f.GameMusic, f.GameSound, f.Edit1, f.Edit2, f.HighScores};
  }
};

TEST_F(SettingsFuzz, AnySettingsFileStartsTheGameAndSettlesAfterOneWrite) {
  const std::vector<Bytes> corpus = Corpus("config");
  ASSERT_GE(corpus.size(), 10u);
  const uint64_t seed = FuzzSeed(20261208);
  Mutator mutate(seed);
  FuzzBudget budget;
  std::set<std::string> names;  // different tables seen: the mutants reach the parser
  long n = 0;
  for (; budget.More(n, static_cast<long>(corpus.size()) + 200); ++n) {
    const Bytes input = n < static_cast<long>(corpus.size()) ? corpus[n] : mutate.Mutate(corpus[mutate.Pick(corpus.size())], corpus);
    std::string problem;
    const Held first = Start(input, problem);
    const Bytes written = ReadBytes(ConfigPath());
    if (problem.empty()) problem = WrittenConfigProblem(std::string(written.begin(), written.end()));
    if (problem.empty()) {
      // An empty name is written as an empty line, which keeps the place's default.
      Held expected = first;
      for (int i = 0; i < 10; ++i)
        if (expected.table[i].Name.empty()) expected.table[i].Name = DefaultHighScores()[i].Name;
      const Held second = Start(written, problem);
      if (problem.empty() && !(second == expected))
        problem = "a second start holds something else: " + Difference(expected, second);
    }
    if (!problem.empty()) {
      ADD_FAILURE() << "case " << n << " (seed " << seed << "): " << problem << "; input kept in "
                    << KeepFailure("config", seed, n, input);
      break;
    }
    names.insert(first.table[0].Name);
  }
  std::printf("settings fuzz: %ld inputs in %.0f s, %zu first-place names\n", n, budget.Seconds(), names.size());
  EXPECT_GT(names.size(), 5u);
}

}  // namespace
}  // namespace pondaro::test
