#include "fields.h"

#include <cxxabi.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <typeinfo>

#include "game/frog.h"
#include "replay/tape.h"
#include "replay/watch.h"

namespace pondaro::shots {

namespace {

bool Whole(double v) { return std::isfinite(v) && v == std::floor(v); }

// Cell fields "Kind.C.R" and "Bonus.C.R".
bool ParseCell(const std::string& name, const char* prefix, int& column, int& row) {
  const std::string p = prefix;
  if (name.compare(0, p.size(), p) != 0) return false;
  char tail = 0;
  return std::sscanf(name.c_str() + p.size(), "%d.%d%c", &column, &row, &tail) == 2 && TLilyGrid::Inside(column, row);
}

}  // namespace

std::string ClassName(const TSprite& s) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(typeid(s).name(), nullptr, nullptr, &status),
                                              std::free);
  std::string n = status == 0 && name ? name.get() : typeid(s).name();
  const size_t colon = n.rfind("::");
  return colon == std::string::npos ? n : n.substr(colon + 2);
}

std::optional<Field> FindField(TMainForm& f, const std::string& name) {
  auto flag = [](bool& b) {
    return Field{[&b] { return b ? 1.0 : 0.0; }, [&b](double v) {
                   if (v != 0 && v != 1) return false;
                   b = v != 0;
                   return true;
                 }};
  };
  auto readOnly = [](std::function<double()> g) { return Field{std::move(g), nullptr}; };
  auto whole = [](int32_t& x, double lo, double hi) {
    return Field{[&x] { return double(x); }, [&x, lo, hi](double v) {
                   if (!Whole(v) || v < lo || v > hi) return false;
                   x = static_cast<int32_t>(v);
                   return true;
                 }};
  };
  const double kInt = 2147483647.0;
  if (name == "Score") return whole(f.Score, -kInt, kInt);
  if (name == "Lives") return whole(f.Lives, -kInt, kInt);
  if (name == "Level") return whole(f.Level, 1, 1000000);
  if (name == "LevelTimeLeft") return whole(f.LevelTimeLeft, -kInt, kInt);
  if (name == "Hunger") {
    int32_t& h = f.Pond.Hunger;
    return whole(h, 0, kInt);
  }
  if (name == "FrogColumn")
    return Field{[&f] { return double(f.Frog.FrogColumn); }, [&f](double v) {
                   if (!Whole(v) || v < 0 || v > 3) return false;
                   f.Frog.FrogColumn = static_cast<int>(v);
                   // The frog at rest in that column.
                   f.Root().ForEach<TPlayerSprite>([&f](TPlayerSprite* p) {
                     p->X = CellPos(f.Frog.FrogColumn + 1, 4).X;
                     p->Y = p->RestY;
                     p->MovingLeft = p->MovingRight = false;
                     p->SideProgress = 0;
                   });
                   return true;
                 }};
  if (name == "AimAngleOffset")
    return Field{[&f] { return f.AimAngleOffset; }, [&f](double v) {
                   if (!std::isfinite(v)) return false;
                   f.AimAngleOffset = v;
                   return true;
                 }};
  if (name == "StorkAllowed") return flag(f.Feeding.StorkAllowed);
  int column = 0, row = 0;
  if (ParseCell(name, "Kind.", column, row))
    return Field{[&f, column, row] { return double(f.Pond.LilyGrid.Kind(column, row)); },
                 [&f, column, row](double v) {
                   const std::set<double> kinds = {0, 10, 20, 1, 2, 3, 4};
                   if (!kinds.count(v)) return false;
                   f.Pond.LilyGrid.SetKind(column, row, static_cast<uint8_t>(v));
                   if (f.Scene == 3) f.RebuildCell(column, row);
                   return true;
                 }};
  if (ParseCell(name, "Bonus.", column, row))
    return Field{[&f, column, row] { return double(f.Pond.LilyGrid.Bonus(column, row)); },
                 [&f, column, row](double v) {
                   if (v != 0 && v != 1 && v != 2) return false;
                   f.Pond.LilyGrid.SetBonus(column, row, static_cast<uint8_t>(v));
                   return true;
                 }};
  if (name == "FrogX" || name == "FrogY") {
    const bool x = name == "FrogX";
    // Where the frog is drawn (its centre); the crossing's last known place when it is gone.
    return readOnly([&f, x] {
      double v = x ? f.Frog.FrogX : f.Frog.FrogY;
      f.Root().ForEach<TPlayerSprite>([&](TPlayerSprite* p) { v = x ? p->X : p->Y; });
      return v;
    });
  }
  if (name == "StoneRow") return readOnly([&f] { return double(f.Pond.StoneRow); });
  if (name == "Scrolling") return readOnly([&f] { return f.Pond.Scrolling ? 1.0 : 0.0; });
  if (name == "Scene") return readOnly([&f] { return double(f.Scene); });
  if (name == "Paused") return readOnly([&f] { return f.Paused ? 1.0 : 0.0; });
  if (name == "LevelBanner") return readOnly([&f] { return f.LevelBanner ? 1.0 : 0.0; });
  if (name == "GameMainExit") return readOnly([&f] { return f.GameMainExit ? 1.0 : 0.0; });
  if (name == "GameClearHighScore") return readOnly([&f] { return f.GameClearHighScore ? 1.0 : 0.0; });
  if (name == "HelpPage") return readOnly([&f] { return double(f.HelpPage); });
  if (name == "GameFullScreen") return readOnly([&f] { return f.GameFullScreen ? 1.0 : 0.0; });
  if (name == "GameSound") return readOnly([&f] { return f.GameSound ? 1.0 : 0.0; });
  if (name == "GameMusic") return readOnly([&f] { return f.GameMusic ? 1.0 : 0.0; });
  if (name == "TongueLength") return readOnly([&f] { return double(f.Feeding.TongueLength); });
  if (name == "StorkLegsSpawned") return readOnly([&f] { return f.Feeding.StorkLegsSpawned ? 1.0 : 0.0; });
  if (name == "StorkLegsDown") return readOnly([&f] { return f.Feeding.StorkLegsDown ? 1.0 : 0.0; });
  if (name == "StorkGone") return readOnly([&f] { return f.Feeding.StorkGone ? 1.0 : 0.0; });
  // 1 while a replay is being watched (the form then plays the recorded game).
  if (name == "Watching")
    return readOnly([&f] { return f.Tape && f.Tape->Watch() && f.Tape->Watch()->Active() ? 1.0 : 0.0; });
  if (name == "Sprites")
    return readOnly([&f] {
      int n = 0;
      for (TSprite* s : f.Root().List()) n += s->Dying ? 0 : 1;
      return double(n);
    });
  if (name.compare(0, 6, "Count:") == 0) {
    const std::string cls = name.substr(6);
    return readOnly([&f, cls] {
      int n = 0;
      for (TSprite* s : f.Root().List()) n += !s->Dying && ClassName(*s) == cls ? 1 : 0;
      return double(n);
    });
  }
  return std::nullopt;
}

std::string Formatted(double v) {
  char buf[64];
  if (Whole(v) && std::fabs(v) < 1e15)
    std::snprintf(buf, sizeof buf, "%.0f", v);
  else
    std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

}  // namespace pondaro::shots
