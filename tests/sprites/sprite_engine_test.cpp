#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/recording_display.h"
#include "sprites/errors.h"
#include "sprites/sprite.h"

namespace pondaro {
namespace {

using Log = std::vector<std::string>;

// A sprite that writes what happens to it into a shared log.
struct Probe : TSprite {
  Probe(TSprite* parent, std::string name, Log& log, int x = 0, int y = 0, int size = 10)
      : TSprite(parent), name(std::move(name)), log(log) {
    X = x;
    Y = y;
    Width = Height = size;
  }
  ~Probe() override { log.push_back("~" + name); }
  void Paint() override { log.push_back(name); }
  void Advance(int moveCount) override {
    ++moves;
    if (onAdvance) onAdvance(moveCount);
  }
  void Touched(TSprite* sprite, bool& done) override {
    log.push_back(name + ">" + static_cast<Probe*>(sprite)->name);
    if (onTouched) onTouched(sprite, done);
  }
  bool HitTest(TSprite*) override { return hits; }

  std::string name;
  Log& log;
  int moves = 0;
  bool hits = true;
  std::function<void(int)> onAdvance;
  std::function<void(TSprite*, bool&)> onTouched;
};

struct Tagged : Probe {
  using Probe::Probe;
};

class SpriteEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { root.SetSurface(&display); }
  Log Drawn() {
    log.clear();
    root.Draw();
    return log;
  }
  test::RecordingDisplay display;
  Log log;
  TSpriteEngine root;  // after the log: sprites write to it while the root comes down
};

TEST_F(SpriteEngineTest, EqualDepthDrawsNewestBeneathAndSetZReorders) {
  auto* a = new Probe(&root, "A", log);
  auto* b = new Probe(&root, "B", log);
  new Probe(&root, "C", log);
  EXPECT_EQ(Drawn(), (Log{"C", "B", "A"}));
  // SetZ with the current value keeps a newer sprite where it was inserted.
  b->SetZ(0);
  a->SetZ(0);
  EXPECT_EQ(Drawn(), (Log{"C", "B", "A"}));
  b->SetZ(1);
  EXPECT_EQ(Drawn(), (Log{"C", "A", "B"}));
  b->SetZ(-1);
  EXPECT_EQ(Drawn(), (Log{"B", "C", "A"}));
  // Insertion order is untouched by depth.
  EXPECT_EQ(root.Items(1), b);
}

TEST_F(SpriteEngineTest, DrawWalkSkipsHiddenSubtreesAndPaintsOnlyOnSurface) {
  auto* off = new Probe(&root, "off", log, 800, 0);  // touches the right edge only
  new Probe(off, "child", log, -100, 0);             // on screen at x = 700
  auto* hidden = new Probe(&root, "hidden", log);
  new Probe(hidden, "hiddenChild", log);
  hidden->Visible = false;
  EXPECT_EQ(Drawn(), (Log{"child"}));
  off->X = 799;
  EXPECT_EQ(Drawn(), (Log{"off", "child"}));
}

TEST_F(SpriteEngineTest, TreeLinksPositionsAndIndexErrors) {
  auto* p = new Probe(&root, "P", log, 100, 50);
  auto* k = new Probe(p, "K", log, 5, -7);
  EXPECT_EQ(p->Engine, &root);
  EXPECT_EQ(k->Engine, &root);
  EXPECT_EQ(k->Parent, p);
  EXPECT_DOUBLE_EQ(k->AbsX(), 105);
  EXPECT_DOUBLE_EQ(k->AbsY(), 43);
  EXPECT_EQ(k->BoxRect(), Bounds(105, 43, 10, 10));
  k->X = -5.7;  // truncated towards zero: 94.3 -> 94
  EXPECT_EQ(k->BoxRect().Left, 94);

  EXPECT_EQ(p->Items(0), k);
  try {
    k->Items(0);
    FAIL() << "no children";
  } catch (const ESpriteError& e) {
    EXPECT_STREQ(e.what(), "Index of the list exceeds the range. (0)");
  }
  try {
    p->Items(1);
    FAIL() << "out of range";
  } catch (const ESpriteError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
  EXPECT_THROW(p->Items(-1), ESpriteError);
}

TEST_F(SpriteEngineTest, MoveWalkMovesNewbornsNextTimeButDrawsThemAtOnce) {
  auto* spawner = new Probe(&root, "S", log);
  Probe* born = nullptr;
  spawner->onAdvance = [&](int) {
    if (!born) born = new Probe(&root, "N", log);
  };
  auto* frozen = new Probe(&root, "F", log);
  auto* frozenChild = new Probe(frozen, "FC", log);
  frozen->Moved = false;

  root.Move(16);
  ASSERT_NE(born, nullptr);
  EXPECT_EQ(born->moves, 0);
  EXPECT_EQ(Drawn(), (Log{"N", "F", "FC", "S"}));
  root.Move(16);
  EXPECT_EQ(born->moves, 1);
  EXPECT_EQ(spawner->moves, 2);
  EXPECT_EQ(frozen->moves + frozenChild->moves, 0);
}

TEST_F(SpriteEngineTest, DeadIsDeferredAndFlushedLatestFirst) {
  auto* a = new Probe(&root, "A", log);
  auto* b = new Probe(&root, "B", log);
  a->Dead();
  a->Dead();
  b->Dead();
  EXPECT_TRUE(a->Dying);
  root.Move(16);  // the dying still move until the flush
  EXPECT_EQ(a->moves, 1);
  log.clear();
  root.Flush();
  EXPECT_EQ(log, (Log{"~B", "~A"}));
  EXPECT_EQ(root.Count(), 0);
  EXPECT_TRUE(root.DyingList.empty());
}

TEST_F(SpriteEngineTest, ParentDestructionTakesDyingChildrenAlong) {
  auto* p = new Probe(&root, "P", log);
  auto* k1 = new Probe(p, "K1", log);
  new Probe(p, "K2", log);
  auto* q = new Probe(&root, "Q", log);
  auto* q1 = new Probe(q, "Q1", log);
  k1->Dead();
  p->Dead();
  log.clear();
  root.Flush();
  EXPECT_EQ(log, (Log{"~P", "~K2", "~K1"}));
  EXPECT_TRUE(root.DyingList.empty());
  ASSERT_EQ(root.Count(), 1);

  // A dying child whose parent is cleared away before the flush leaves nothing behind.
  q1->Dead();
  root.Clear();
  EXPECT_TRUE(root.DyingList.empty());
  EXPECT_EQ(root.Count(), 0);
  EXPECT_TRUE(root.DepthList().empty());
  log.clear();
  root.Flush();
  EXPECT_TRUE(log.empty());
}

class CollisionTest : public SpriteEngineTest {
 protected:
  void SetUp() override {
    SpriteEngineTest::SetUp();
    s = new Probe(&root, "S", log, 0, 0, 30);
  }
  Log Touches() {
    log.clear();
    lastHits = s->Collision();
    return log;
  }
  Probe* s = nullptr;
  int lastHits = 0;
};

TEST_F(CollisionTest, BoxesMustOverlapAndBothHitTestsAgree) {
  auto* edge = new Probe(&root, "E", log, 30, 0);  // touches S's right edge
  auto* picky = new Probe(&root, "P", log, 20, 20);
  picky->hits = false;
  auto* off = new Probe(&root, "O", log, 20, 0);
  new Probe(off, "OC", log, -20, 0);
  off->Collides = false;  // its whole subtree stays out
  EXPECT_TRUE(Touches().empty());
  EXPECT_EQ(lastHits, 0);
  edge->X = 29;
  picky->hits = true;
  EXPECT_EQ(Touches(), (Log{"S>E", "S>P"}));
  EXPECT_EQ(lastHits, 2);
  s->Collides = false;
  EXPECT_EQ(s->Collision(), 0);
}

TEST_F(CollisionTest, DoneAndDyingCutOnlyTheDescent) {
  auto* a = new Probe(&root, "A", log, 5, 5);
  new Probe(a, "A1", log);
  new Probe(&root, "B", log, 10, 10);
  EXPECT_EQ(Touches(), (Log{"S>A", "S>A1", "S>B"}));

  s->onTouched = [](TSprite*, bool& done) { done = true; };
  EXPECT_EQ(Touches(), (Log{"S>A", "S>B"}));
  EXPECT_EQ(lastHits, 2);

  s->onTouched = [&](TSprite*, bool&) { s->Dead(); };
  EXPECT_EQ(Touches(), (Log{"S>A", "S>B"}));
  EXPECT_EQ(lastHits, 2);
  // A dead sprite asks no more, but is still found by the others.
  EXPECT_EQ(s->Collision(), 0);
  log.clear();
  EXPECT_EQ(a->Collision(), 3);
  EXPECT_EQ(log, (Log{"A>S", "A>A1", "A>B"}));
}

TEST_F(CollisionTest, QueryRunInsideTouchedLeavesTheOuterQueryIntact) {
  auto* a = new Probe(&root, "A", log, -20, 0, 25);  // overlaps S, not B
  new Probe(&root, "B", log, 25, 25);
  s->onTouched = [&](TSprite* other, bool&) {
    if (other == a) a->Collision();
  };
  EXPECT_EQ(Touches(), (Log{"S>A", "A>S", "S>B"}));
  EXPECT_EQ(lastHits, 2);
}

TEST_F(SpriteEngineTest, ForEachVisitsOneClass) {
  new Probe(&root, "P", log);
  new Tagged(&root, "T1", log);
  new Tagged(&root, "T2", log);
  root.ForEach<Tagged>([](Tagged* t) { t->Dead(); });
  root.Flush();
  ASSERT_EQ(root.Count(), 1);
  EXPECT_EQ(static_cast<Probe*>(root.Items(0))->name, "P");
}

TEST(SpriteEngineComponentTest, DrawsOnlyWhileTheDisplayCanDraw) {
  Log log;
  test::RecordingDisplay display;
  TDXSpriteEngine engine;
  new Probe(&engine.Engine, "A", log);
  engine.Draw();
  EXPECT_TRUE(log.empty());

  engine.SetDisplay(&display);
  EXPECT_EQ(engine.Engine.Surface, &display);
  EXPECT_EQ(engine.Engine.VisibleRect, Bounds(0, 0, 800, 600));
  EXPECT_EQ(engine.Engine.Width, 800);
  EXPECT_EQ(engine.Engine.Height, 600);
  display.canDraw = false;
  engine.Draw();
  EXPECT_TRUE(log.empty());
  display.canDraw = true;
  engine.Draw();
  EXPECT_EQ(log, (Log{"A"}));

  engine.SetDisplay(nullptr);  // display finalised; the sprites survive it
  EXPECT_EQ(engine.Engine.Surface, nullptr);
  engine.Draw();
  EXPECT_EQ(log.size(), 1u);
  EXPECT_EQ(engine.Engine.Count(), 1);
  engine.Engine.Items(0)->Dead();
  engine.Dead();
  EXPECT_EQ(engine.Engine.Count(), 0);
}

}  // namespace
}  // namespace pondaro
