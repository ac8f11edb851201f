// The sprite tree: every picture the game shows hangs under one root, which moves,
// collides, draws (in depth order) and destroys them.
//
// Ownership: a parent owns its children. A sprite with a parent must be created with
// `new` and is destroyed by its parent, by the root's Flush after Dead(), or by Clear().
// Game code never deletes a sprite during a walk; it calls Dead() instead.
#pragma once
#include <cstddef>
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
  virtual TRect BoxRect() const;
  virtual bool HitTest(TSprite* other) {
    (void)other;
    return true;
  }

  // Asks to be destroyed at the next flush; asking twice is harmless.
  void Dead();
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

  // Visits the direct children of class T. Children added meanwhile are not visited.
  template <class T, class F>
  void ForEach(F&& f) {
    const size_t n = list_.size();
    for (size_t i = 0; i < n && i < list_.size(); ++i)
      if (T* t = dynamic_cast<T*>(list_[i])) f(t);
  }

 protected:
  // Tags that spare the walks a dynamic_cast.
  bool isRoot_ = false;
  bool isImageSprite_ = false;

 private:
  friend class TSpriteEngine;
  void AddChild(TSprite* child);
  void RemoveChild(TSprite* child);
  void InsertByDepth(TSprite* child);
  void CollisionVisit(TSprite* self);

  std::vector<TSprite*> list_;
  std::vector<TSprite*> depthList_;
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
