// The sprite tree: every picture the game shows hangs under one root, which moves,
// collides, draws (in depth order) and destroys them.
//
// Ownership: a parent owns its children. A sprite with a parent must be created with
// `new` and is destroyed by its parent, by the root's Flush after Dead(), or by Clear().
// Game code never deletes a sprite during a walk; it calls Dead() instead.
//
// The walks (move, draw, collision, ForEach) hold the tree still under their feet:
// a sprite destroyed while one runs (a scene change from inside an Advance, a
// Touched or a Paint clears the root) leaves its lists at once, the walks over
// those lists stop, and it is deleted when the outermost walk ends. A depth change
// made while drawing reorders the sprite when the drawing is over.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/display.h"
#include "platform/geometry.h"

namespace pondaro {

class TSpriteEngine;
class TImageSprite;

class TSprite {
 public:
  // Adds itself to `parent` (beneath older siblings of the same Z).
  explicit TSprite(TSprite* parent);
  // Destroys the children last-first, then leaves the parent and the dying list.
  virtual ~TSprite();
  TSprite(const TSprite&) = delete;
  TSprite& operator=(const TSprite&) = delete;

  TSpriteEngine* Engine = nullptr;  // none for the root
  TSprite* Parent = nullptr;
  bool Dying = false;
  bool Collides = true;
  bool Moved = true;
  bool Visible = true;
  double X = 0, Y = 0;
  int Z = 0;
  int Width = 0, Height = 0;

  // Called on the sprite running Collision(), once per sprite it touches. Setting
  // Done stops the query from descending into children.
  virtual void Touched(TSprite* sprite, bool& Done) {
    (void)sprite;
    (void)Done;
  }
  virtual void Paint() {}
  virtual void Advance(int moveCount) { (void)moveCount; }
  // Called once, when the sprite first asks to die (its followers' turn comes after).
  virtual void OnDead() {}
  virtual TRect BoxRect() const;
  virtual bool HitTest(TSprite* other) {
    (void)other;
    return true;
  }

  // Asks to be destroyed at the next flush; asking twice is harmless. The
  // sprites that follow this one are asked too.
  void Dead();
  // Ties this sprite's life to `leader`'s: it dies when the leader does, by any
  // road. Leader() is the leader while it lives, else null, never a dangling
  // pointer.
  void Follow(TSprite& leader);
  TSprite* Leader() const { return leader_; }
  void Clear();
  int Count() const { return static_cast<int>(list_.size()); }
  // Throws ESpriteError when i is not a child index.
  TSprite* Items(int i) const;

  void SetZ(int value);
  double AbsX() const;
  double AbsY() const;

  void Move(int moveCount);
  void Draw();
  // Number of sprites this one touches; each is reported through Touched.
  int Collision();

  bool IsImageSprite() const { return isImageSprite_; }

  // Children in insertion order (move and collision order) and by ascending Z (drawing order).
  const std::vector<TSprite*>& List() const { return list_; }
  const std::vector<TSprite*>& DepthList() const { return depthList_; }

  // Visits the direct children of class T. Children added meanwhile are not visited;
  // a scene change made by `f` ends the visit.
  template <class T, class F>
  void ForEach(F&& f) {
    Walk walk(*this, false);
    const size_t n = list_.size();
    const uint32_t removals = removals_;
    for (size_t i = 0; i < n && removals_ == removals; ++i)
      if (T* t = dynamic_cast<T*>(list_[i])) f(t);
  }

 protected:
  // Marks a walk over the tree this sprite belongs to, for as long as it lives.
  class Walk {
   public:
    Walk(TSprite& sprite, bool drawing);
    ~Walk();
    Walk(const Walk&) = delete;
    Walk& operator=(const Walk&) = delete;

   private:
    TSpriteEngine* root_;
    bool drawing_;
  };

  // Tags that spare the walks a dynamic_cast.
  bool isRoot_ = false;
  bool isImageSprite_ = false;

 private:
  friend class TSpriteEngine;
  TSpriteEngine* Root();
  void AddChild(TSprite* child);
  void RemoveChild(TSprite* child);
  void InsertByDepth(TSprite* child);
  void Restack();
  void MarkGone();
  void MoveTree(int moveCount);
  void DrawTree();
  void CollisionVisit(TSprite* self);

  std::vector<TSprite*> list_;
  std::vector<TSprite*> depthList_;
  TSprite* leader_ = nullptr;
  std::vector<TSprite*> followers_;
  int depthZ_ = 0;         // the Z this sprite is sorted by among its siblings
  uint32_t removals_ = 0;  // children removed so far: a walk over them stops when it changes
  bool gone_ = false;      // left the tree during a walk; deleted when the walk ends
  bool restack_ = false;   // a depth change waits for the drawing walk to end
};

// The root of the tree.
class TSpriteEngine : public TSprite {
 public:
  TSpriteEngine();
  ~TSpriteEngine() override;

  // State of the collision query that is running.
  int QueryHits = 0;
  bool QueryDone = false;
  TRect QueryRect;
  TSprite* QuerySprite = nullptr;

  std::vector<TSprite*> DyingList;  // in the order the sprites asked to die
  Display* Surface = nullptr;       // none while the display is down
  TRect VisibleRect;

  // Binds the surface; the visible area and the root's size follow it.
  void SetSurface(Display* surface);
  // Destroys the sprites that asked to die, the latest request first.
  void Flush();

 private:
  friend class TSprite;
  // Deletes `s` now, or takes it out of the tree until the running walks end.
  void Destroy(TSprite* s);
  void EndWalk();

  int walks_ = 0, drawing_ = 0;
  std::vector<TSprite*> graveyard_;  // left the tree during a walk, in the order they went
  std::vector<TSprite*> restacks_;   // depth changes made while drawing
};

// What the main window holds: the root plus its link to the display.
class TDXSpriteEngine {
 public:
  TSpriteEngine Engine;
  Display* DXDraw = nullptr;

  void Move(int moveCount) { Engine.Move(moveCount); }
  void Dead() { Engine.Flush(); }
  // Draws only while the display can take it.
  void Draw();
  // Called when the display comes up (its surface) and goes down (nullptr).
  void SetDisplay(Display* display);
};

}  // namespace pondaro
