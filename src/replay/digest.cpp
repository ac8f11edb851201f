#include "replay/digest.h"

#include <cstdio>
#include <cstring>
#include <typeinfo>

#include "app/main_form.h"
#include "sprites/image_sprite.h"

namespace pondaro {

namespace {

// FNV-1a, 64 bits: plain and the same everywhere.
class Hash {
 public:
  uint64_t value = 0xcbf29ce484222325ull;
  void Bytes(const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < n; ++i) value = (value ^ p[i]) * 0x100000001b3ull;
  }
  void Int(int64_t v) { Bytes(&v, sizeof v); }
  void Real(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Int(static_cast<int64_t>(bits));
  }
  void Text(const char* s) { Bytes(s, std::strlen(s) + 1); }
};

void AddSprites(Hash& h, const TSprite& parent) {
  for (const TSprite* s : parent.List()) {
    h.Text(typeid(*s).name());
    h.Real(s->X);
    h.Real(s->Y);
    h.Int(s->Z);
    h.Int(s->Dying);
    if (s->IsImageSprite()) h.Real(static_cast<const TImageSprite*>(s)->FramePos);
    AddSprites(h, *s);
  }
}

}  // namespace

uint64_t StateDigest(TMainForm& f) {
  Hash h;
  for (int64_t v : {int64_t{f.Scene}, int64_t{f.Level}, int64_t{f.Lives}, int64_t{f.Score},
                    int64_t{f.Pond.Hunger}, int64_t{f.LevelTimeLeft}, f.Pond.StoneRow,
                    int64_t{f.Frog.FrogColumn}, int64_t{f.Feeding.TongueLength}, int64_t{f.Paused},
                    int64_t{f.GameMainExit}, int64_t{f.LevelBanner},
                    // A message over the game holds it still.
                    static_cast<int64_t>(f.MessagePanel.Queue.size())})
    h.Int(v);
  h.Real(f.AimAngle);
  h.Bytes(f.Edit2.data(), f.Edit2.size());
  AddSprites(h, f.Root());
  return h.value;
}

std::string DigestText(uint64_t digest) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(digest));
  return text;
}

}  // namespace pondaro
