// The replays kept beside Config.cfg: one per row of the table, matched by name
// and score (the newer for the upper of two equal rows), let go of as their rows
// leave the table.
#include <filesystem>

#include "app/form_fixture.h"
#include "replay/shelf.h"

namespace pondaro::test {
namespace {

class Shelf : public FormTest {
 protected:
  TReplay Game(const std::string& name, int32_t score, int64_t date) {
    TReplay r;
    r.Name = name;
    r.Score = score;
    r.StartDate = date;
    r.Records.push_back(TRecord{});  // one tick
    r.Ticks = 1;
    return r;
  }
  // Enters the game's score as name entry does when it earns a place, then keeps its replay.
  void Finish(const TReplay& r) {
    form->Score = r.Score;
    form->PlayerName = r.Name;
    if (r.Score >= form->HighScores[9].Score) form->StoreHighScore();
    KeepIfInTable(*form, r);
  }
  static int64_t DateOf(const std::string& path) {
    TReplay r;
    std::string error;
    return path.empty() || !LoadReplay(path, r, error) ? -1 : r.StartDate;
  }
  size_t Files() {
    size_t n = 0;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(ShelfFolder(*form), ec)) n += e.is_regular_file();
    return n;
  }
};

TEST_F(Shelf, EachRowHasItsGameAndARowThatLeavesTakesItsGameAlong) {
  Make();
  EXPECT_EQ(ShelfFolder(*form), dir + "/replays") << "beside Config.cfg";
  Finish(Game("ANN", 4000, 100));
  Finish(Game("BOB", 3500, 200));
  Finish(Game("ANN", 4000, 300));  // a tie goes above: the newer game is the upper row
  const auto rows = ShelfRows(*form);
  EXPECT_EQ(DateOf(rows[0]), 300);
  EXPECT_EQ(DateOf(rows[1]), 100);
  EXPECT_EQ(DateOf(rows[2]), 200);
  EXPECT_EQ(rows[3], "") << "a default row has nothing to watch";
  EXPECT_EQ(DateOf(BestReplay(*form)), 300);

  // A game that does not enter the table keeps nothing.
  Finish(Game("LOW", 50, 400));
  EXPECT_EQ(Files(), 3u);
  // Another copy of the game, running beside this one, kept a game this copy's
  // table does not hold yet: it stays, as its row will when the tables merge.
  std::string error;
  ASSERT_TRUE(SaveReplay(ShelfFolder(*form) + "/other.pdr", Game("ELSE", 9500, 450), error)) << error;
  // Seven better games push the three out, and their replays go with them.
  for (int i = 0; i < 7; ++i) Finish(Game("TOP", 9000 + i, 500 + i));
  EXPECT_EQ(Files(), 11u);
  Finish(Game("TOP", 9999, 600));
  EXPECT_EQ(Files(), 11u);
  for (const std::string& row : ShelfRows(*form)) EXPECT_NE(DateOf(row), 200) << "BOB's game left with his row";

  form->HighScores = DefaultHighScores();  // the table cleared
  PruneShelf(*form);
  EXPECT_EQ(Files(), 0u);
  EXPECT_EQ(BestReplay(*form), "");
}

}  // namespace
}  // namespace pondaro::test
