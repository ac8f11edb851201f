#include "menus/menu.h"

#include <algorithm>

#include "app/main_form.h"
#include "menus/screens.h"

namespace pondaro {

namespace {

// The still's top-left for a frame of w x h on the surface.
void Anchor(TSprite& s, const TStill& still, int w, int h, const Display& d) {
  switch (still.Anchor) {
    case TAnchor::TopLeft: s.X = still.X; s.Y = still.Y; break;
    case TAnchor::Bottom: s.X = still.X; s.Y = d.SurfaceHeight() - h; break;
    case TAnchor::CentreX: s.X = still.X - w / 2.0; s.Y = still.Y; break;
    case TAnchor::Centre:
      s.X = (d.SurfaceWidth() - w) / 2.0;
      s.Y = (d.SurfaceHeight() - h) / 2.0 + still.Y;
      break;
  }
}

constexpr TStill kLogos[] = {
    {"Zentaplex_Word", 0, 0, 0, TAnchor::Bottom},
    {"Pondaro_Word", 0, 0, 0},
};

}  // namespace

TPlainSprite* PlaceStill(TMainForm& form, const TStill& still) {
  auto* s = new TPlainSprite(form, still.Image, still.X, still.Y, still.Z);
  Anchor(*s, still, s->Width, s->Height, form.DXDraw());
  if (still.Shrink > 1) {
    s->Width /= still.Shrink;
    s->Height /= still.Shrink;
  }
  return s;
}

void PlaceStills(TMainForm& form, std::span<const TStill> stills) {
  for (const TStill& still : stills) form.Guarded([&] { PlaceStill(form, still); });
}

void PlaceLogosAndBackdrop(TMainForm& form) {
  PlaceStills(form, kLogos);
  // Created last among the pictures of depth 0, so it lies beneath them all.
  form.CreateBackdrop(0);
}

bool HoverItems(TMainForm& form, std::span<const TMenuItem> items, bool& pointerOutside) {
  for (const TMenuItem& item : items) {
    if (!item.Hot.Contains(form.MouseX, form.MouseY)) continue;
    form.DXDraw().SetCursor(item.Cursor);
    if (item.Show) {
      form.Guarded([&] { item.Show(form, item); });
      if (pointerOutside) {
        form.Guarded([&] {
          form.StopSound("button_up");
          form.PlaySound("button_up");
        });
      }
      pointerOutside = false;
    }
    return true;
  }
  pointerOutside = true;
  return false;
}

bool ChooseItem(TMainForm& form, std::span<const TMenuItem> items) {
  for (const TMenuItem& item : items) {
    if (!item.Hot.Contains(form.MouseX, form.MouseY)) continue;
    if (item.Choose) item.Choose(form);
    return true;
  }
  return false;
}

void ClickSound(TMainForm& form) {
  form.Guarded([&] { form.PlaySound("button_down"); });
}

TMenuGame::TMenuGame(TMainForm& form, const TMenuItem& item)
    : TPlainSprite(form, item.Highlight, item.X, item.Y, item.Z) {
  if (item.Y < 0) Y = form.DXDraw().SurfaceHeight() - Height;
}

TMenu::TMenu(TMainForm& form, const TStill& still) : TPlainSprite(form, still.Image, still.X, still.Y, still.Z) {
  Anchor(*this, still, Width, Height, form.DXDraw());
}

void TMenu::CentreOnSurface(TMainForm& form, double dy) {
  X = (form.DXDraw().SurfaceWidth() - Width) / 2.0;
  Y = (form.DXDraw().SurfaceHeight() - Height) / 2.0 + dy;
}

std::vector<std::string> MenuPictureNames() {
  std::vector<std::string> names = {"menu"};
  auto stills = [&](std::span<const TStill> list) {
    for (const TStill& s : list) names.push_back(s.Image);
  };
  auto items = [&](std::span<const TMenuItem> list) {
    for (const TMenuItem& i : list) {
      if (i.Normal) names.push_back(i.Normal);
      if (i.Highlight) names.push_back(i.Highlight);
    }
  };
  stills(kLogos);
  stills(MainMenuStills());
  items(MainMenuItems());
  for (int page = 1; page <= 5; ++page) stills(HelpPageStills(page));
  stills(HelpStills());
  items(HelpItems());
  stills(OptionsStills());
  stills(OptionsMarks());
  items(OptionsItems());
  items(OptionsRowNames());
  stills(HighScoreStills());
  items(HighScoreItems());
  stills(DialogStills());
  items(ExitDialogItems());
  items(ClearDialogItems());
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace pondaro
