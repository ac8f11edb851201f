// The walks against their own sprites: a scene change (Clear) from inside a move,
// a collision or a paint, and depth changes while drawing. Run under ASan too.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/recording_display.h"
#include "sprites/sprite.h"

namespace pondaro {
namespace {

using Log = std::vector<std::string>;

struct Actor : TSprite {
  Actor(TSprite* parent, std::string name, Log& log) : TSprite(parent), name(std::move(name)), log(log) {
    Width = Height = 10;
  }
  ~Actor() override { log.push_back("~" + name); }
  void Advance(int) override {
    log.push_back("move " + name);
    if (onAdvance) onAdvance();
  }
  void Paint() override {
    log.push_back("paint " + name);
    if (onPaint) onPaint();
  }
  void Touched(TSprite* other, bool&) override {
    log.push_back(name + ">" + static_cast<Actor*>(other)->name);
    if (onTouched) onTouched();
  }

  std::string name;
  Log& log;
  std::function<void()> onAdvance, onPaint, onTouched;
};

class SpriteWalkTest : public ::testing::Test {
 protected:
  void SetUp() override { root.SetSurface(&display); }
  Actor* Make(const std::string& name, TSprite* parent = nullptr) {
    return new Actor(parent ? parent : &root, name, log);
  }
  // What a scene change does: everything goes, the next scene's sprites come.
  void ChangeScene() {
    root.Clear();
    Make("next");
  }
  Log Take() {
    Log out;
    out.swap(log);
    return out;
  }

  test::RecordingDisplay display;
  Log log;
  TSpriteEngine root;
};

TEST_F(SpriteWalkTest, SceneChangeInsideAMoveTakesEffectWhenTheWalkEnds) {
  auto* a = Make("A");
  auto* b = Make("B");
  Make("C", b);
  Make("D");
  b->onAdvance = [&] {
    ChangeScene();
    log.push_back("B goes on");
  };
  a->onAdvance = [&] { log.push_back(root.Count() == 3 ? "A sees three" : "A sees another count"); };
  root.Move(16);
  // B's child and the later sibling D are not moved; the new sprite waits for the next walk.
  EXPECT_EQ(Take(), (Log{"move A", "A sees three", "move B", "B goes on", "~D", "~B", "~C", "~A"}));
  ASSERT_EQ(root.Count(), 1);
  root.Move(16);
  EXPECT_EQ(Take(), (Log{"move next"}));
}

TEST_F(SpriteWalkTest, SceneChangeDeepInTheTreeStopsEveryWalkAbove) {
  auto* a = Make("A");
  auto* b = Make("B", a);
  auto* c = Make("C", b);
  Make("C2", b);
  Make("B2", a);
  Make("D");
  c->onAdvance = [&] {
    ChangeScene();
    c->Dead();  // asking to die after the scene went is harmless
  };
  root.Move(16);
  const Log moved = Take();
  EXPECT_EQ(Log(moved.begin(), moved.begin() + 3), (Log{"move A", "move B", "move C"}));
  for (const char* gone : {"~A", "~B", "~C", "~C2", "~B2", "~D"})
    EXPECT_NE(std::find(moved.begin(), moved.end(), gone), moved.end()) << gone;
  EXPECT_EQ(moved.size(), 9u);
  EXPECT_TRUE(root.DyingList.empty());
  root.Flush();
  EXPECT_TRUE(Take().empty());
}

TEST_F(SpriteWalkTest, SceneChangeInsideTouchedEndsTheQuery) {
  auto* s = Make("S");
  Make("A");
  Make("B");
  s->onTouched = [&] {
    ChangeScene();
    log.push_back("S goes on");
  };
  EXPECT_EQ(s->Collision(), 1);
  EXPECT_EQ(Take(), (Log{"S>A", "S goes on", "~B", "~A", "~S"}));
  EXPECT_EQ(root.Count(), 1);
}

TEST_F(SpriteWalkTest, SceneChangeInsidePaintAndFlushInsideAWalkAreDeferred) {
  auto* a = Make("A");
  auto* b = Make("B");
  a->SetZ(1);
  b->onPaint = [&] {
    b->Dead();
    root.Flush();  // b survives until the drawing is over
    log.push_back("B still paints");
    ChangeScene();
  };
  root.Draw();
  EXPECT_EQ(Take(), (Log{"paint B", "B still paints", "~B", "~A"}));
  root.Draw();
  EXPECT_EQ(Take(), (Log{"paint next"}));
}

TEST_F(SpriteWalkTest, DepthChangesWhileDrawingTakeEffectAtTheNextFrame) {
  auto* a = Make("A");
  auto* b = Make("B");
  auto* c = Make("C");
  // Drawn C, B, A. B jumps to the top and A to the bottom while they are painted.
  b->onPaint = [&] { b->SetZ(5); };
  a->onPaint = [&] {
    a->SetZ(-5);
    c->SetZ(7);
  };
  root.Draw();
  EXPECT_EQ(Take(), (Log{"paint C", "paint B", "paint A"}));
  EXPECT_EQ(b->Z, 5);  // the value changes at once, the order after the walk
  b->onPaint = a->onPaint = nullptr;
  root.Draw();
  EXPECT_EQ(Take(), (Log{"paint A", "paint B", "paint C"}));

  // A sprite that changes depth and then dies in the same frame is simply gone.
  a->onPaint = [&] {
    a->SetZ(9);
    root.Clear();
  };
  root.Draw();
  EXPECT_EQ(Take(), (Log{"paint A", "~C", "~B", "~A"}));
}

}  // namespace
}  // namespace pondaro
