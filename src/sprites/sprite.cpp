#include "sprites/sprite.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sprites/errors.h"

namespace pondaro {

namespace {

std::string Formatted(const char* format, int i) {
  char buf[96];
  std::snprintf(buf, sizeof buf, format, i);
  return buf;
}

void Erase(std::vector<TSprite*>& v, TSprite* s) {
  // Searching from the back: flushes and Clear() remove the last entry.
  for (size_t i = v.size(); i-- > 0;) {
    if (v[i] == s) {
      v.erase(v.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

}  // namespace

TSprite::TSprite(TSprite* parent) : Parent(parent) {
  if (!parent) return;
  Engine = parent->isRoot_ ? static_cast<TSpriteEngine*>(parent) : parent->Engine;
  parent->AddChild(this);
}

TSprite::~TSprite() {
  Clear();
  for (TSprite* f : followers_) f->leader_ = nullptr;
  if (leader_) Erase(leader_->followers_, this);
  if (Parent) Parent->RemoveChild(this);
  if (Engine) {
    if (Dying) Erase(Engine->DyingList, this);
    if (restack_) Erase(Engine->restacks_, this);
  }
}

TSpriteEngine* TSprite::Root() { return isRoot_ ? static_cast<TSpriteEngine*>(this) : Engine; }

TSprite::Walk::Walk(TSprite& sprite, bool drawing) : root_(sprite.Root()), drawing_(drawing) {
  if (!root_) return;
  ++root_->walks_;
  if (drawing_) ++root_->drawing_;
}

TSprite::Walk::~Walk() {
  if (!root_) return;
  if (drawing_) --root_->drawing_;
  if (--root_->walks_ == 0) root_->EndWalk();
}

void TSprite::AddChild(TSprite* child) {
  list_.push_back(child);
  InsertByDepth(child);
}

// Binary search for the first sibling whose Z is not below the child's: a sprite
// lands beneath every sibling of equal Z that is already there.
void TSprite::InsertByDepth(TSprite* child) {
  int lo = 0, hi = static_cast<int>(depthList_.size()) - 1;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    if (depthList_[mid]->depthZ_ < child->depthZ_)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  depthList_.insert(depthList_.begin() + lo, child);
}

void TSprite::RemoveChild(TSprite* child) {
  Erase(list_, child);
  Erase(depthList_, child);
  ++removals_;
}

void TSprite::Clear() {
  // The root's destructor has cleared it already when ~TSprite runs: by then it
  // is no longer a TSpriteEngine to look up.
  if (list_.empty()) return;
  TSpriteEngine* root = Root();
  while (!list_.empty()) {
    if (root)
      root->Destroy(list_.back());
    else
      delete list_.back();
  }
}

TSprite* TSprite::Items(int i) const {
  if (list_.empty()) throw ESpriteError(Formatted("Index of the list exceeds the range. (%d)", i));
  if (i < 0 || i >= Count()) throw ESpriteError(Formatted("List index out of bounds (%d)", i));
  return list_[static_cast<size_t>(i)];
}

void TSprite::Dead() {
  if (!Engine || Dying || gone_) return;
  Dying = true;
  Engine->DyingList.push_back(this);
  OnDead();
  // A follower's Dead() cannot reach back here: this one is dying already.
  for (size_t i = 0; i < followers_.size(); ++i) followers_[i]->Dead();
}

void TSprite::Follow(TSprite& leader) {
  if (leader_) Erase(leader_->followers_, this);
  leader_ = &leader;
  leader.followers_.push_back(this);
  if (leader.Dying) Dead();
}

void TSprite::SetZ(int value) {
  if (value == Z) return;
  Z = value;
  if (!Parent) return;
  // Reordering the list being drawn would paint one sprite twice and skip another.
  if (Engine && Engine->drawing_ > 0) {
    if (!restack_) {
      restack_ = true;
      Engine->restacks_.push_back(this);
    }
    return;
  }
  Restack();
}

void TSprite::Restack() {
  Erase(Parent->depthList_, this);
  depthZ_ = Z;
  Parent->InsertByDepth(this);
}

void TSprite::MarkGone() {
  gone_ = true;
  for (TSprite* child : list_) child->MarkGone();
}

double TSprite::AbsX() const { return Parent ? X + Parent->AbsX() : X; }
double TSprite::AbsY() const { return Parent ? Y + Parent->AbsY() : Y; }

TRect TSprite::BoxRect() const {
  return Bounds(static_cast<int>(std::trunc(AbsX())), static_cast<int>(std::trunc(AbsY())), Width,
                Height);
}

// The walks read the child count once: sprites born during a walk join the next one.
// A child removed meanwhile (only a scene change does that) ends the walk over its
// siblings, and a sprite that left the tree stops walking its own children.
void TSprite::Move(int moveCount) {
  Walk walk(*this, false);
  MoveTree(moveCount);
}

void TSprite::MoveTree(int moveCount) {
  if (!Moved) return;
  Advance(moveCount);
  const size_t n = list_.size();
  const uint32_t removals = removals_;
  for (size_t i = 0; i < n && !gone_ && removals_ == removals; ++i) list_[i]->MoveTree(moveCount);
}

void TSprite::Draw() {
  Walk walk(*this, true);
  DrawTree();
}

void TSprite::DrawTree() {
  if (!Visible) return;
  if (Engine && OverlapRect(BoxRect(), Engine->VisibleRect)) Paint();
  const size_t n = depthList_.size();
  const uint32_t removals = removals_;
  for (size_t i = 0; i < n && !gone_ && removals_ == removals; ++i) depthList_[i]->DrawTree();
}

int TSprite::Collision() {
  if (!Engine || Dying || gone_ || !Collides) return 0;
  TSpriteEngine& root = *Engine;
  Walk walk(*this, false);
  // A Touched handler may run a query of its own; keep ours intact around it.
  const int savedHits = root.QueryHits;
  const bool savedDone = root.QueryDone;
  const TRect savedRect = root.QueryRect;
  TSprite* const savedSprite = root.QuerySprite;

  root.QueryHits = 0;
  root.QueryDone = false;
  root.QueryRect = BoxRect();
  root.QuerySprite = this;
  const size_t n = root.list_.size();
  const uint32_t removals = root.removals_;
  for (size_t i = 0; i < n && !gone_ && root.removals_ == removals; ++i) root.list_[i]->CollisionVisit(this);
  const int hits = root.QueryHits;

  root.QueryHits = savedHits;
  root.QueryDone = savedDone;
  root.QueryRect = savedRect;
  root.QuerySprite = savedSprite;
  return hits;
}

// `this` is the visited sprite, `self` the one asking.
void TSprite::CollisionVisit(TSprite* self) {
  if (!Collides) return;
  TSpriteEngine& root = *self->Engine;
  if (this != self && OverlapRect(BoxRect(), root.QueryRect) && self->HitTest(this) &&
      HitTest(self)) {
    ++root.QueryHits;
    self->Touched(this, root.QueryDone);
    if (!self->Collides || self->Dying || self->gone_) root.QueryDone = true;
  }
  // Done only stops the descent; the caller's loop over siblings goes on.
  if (root.QueryDone) return;
  const size_t n = list_.size();
  const uint32_t removals = removals_;
  for (size_t i = 0; i < n && !gone_ && removals_ == removals; ++i) list_[i]->CollisionVisit(self);
}

TSpriteEngine::TSpriteEngine() : TSprite(nullptr) { isRoot_ = true; }

TSpriteEngine::~TSpriteEngine() {
  // Children leave these lists as they go; empty them first so that nothing is
  // looked up in them while the whole tree comes down.
  DyingList.clear();
  restacks_.clear();
  walks_ = drawing_ = 0;
  Clear();
  EndWalk();
  isRoot_ = false;  // what is left to destroy is a plain TSprite
}

void TSpriteEngine::SetSurface(Display* surface) {
  Surface = surface;
  if (!surface) return;
  VisibleRect = Bounds(0, 0, surface->SurfaceWidth(), surface->SurfaceHeight());
  Width = VisibleRect.Width();
  Height = VisibleRect.Height();
}

void TSpriteEngine::Flush() {
  while (!DyingList.empty()) {
    TSprite* s = DyingList.back();
    DyingList.pop_back();
    Destroy(s);
  }
}

void TSpriteEngine::Destroy(TSprite* s) {
  if (walks_ == 0) {
    delete s;
    return;
  }
  if (s->Parent) {
    s->Parent->RemoveChild(s);
    s->Parent = nullptr;
  }
  if (s->Dying) Erase(DyingList, s);
  s->MarkGone();
  graveyard_.push_back(s);
}

void TSpriteEngine::EndWalk() {
  for (TSprite* s : restacks_) {
    s->restack_ = false;
    if (!s->gone_) s->Restack();
  }
  restacks_.clear();
  // Deleting takes children off the dying list, never adds to this one.
  for (size_t i = 0; i < graveyard_.size(); ++i) delete graveyard_[i];
  graveyard_.clear();
}

void TDXSpriteEngine::Draw() {
  if (DXDraw && DXDraw->CanDraw() && Engine.Surface) Engine.Draw();
}

void TDXSpriteEngine::SetDisplay(Display* display) {
  DXDraw = display;
  Engine.SetSurface(display);
}

}  // namespace pondaro
