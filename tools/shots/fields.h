// The game's fields that scenario scripts (and the tests that drive the game the
// same way) may read and set: "Score", "Lives", "Kind.2.3", "Count:TMushka" ...
// The list is in DESIGN.md beside the script format; besides those, read only:
// FrogX, FrogY (where the crossing's frog is drawn: its centre), StoneRow (the
// stone's grid row; the frog's is 4) and Scrolling (1 while the pond moves).
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "app/main_form.h"

namespace pondaro::shots {

// A field the script can read, and perhaps write. Set returns false when the value
// is out of range.
struct Field {
  std::function<double()> get;
  std::function<bool(double)> set;  // empty: read only
};

std::optional<Field> FindField(TMainForm& f, const std::string& name);

// The class name of a sprite without its namespace ("TMushka").
std::string ClassName(const TSprite& s);

// A field's value as the script prints it: whole numbers without a decimal point.
std::string Formatted(double v);

}  // namespace pondaro::shots
