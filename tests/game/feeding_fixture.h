// The feeding stage on the game's real pictures and sounds, entered directly.
#pragma once
#include "game/bottle.h"
#include "game/feeding_frog.h"
#include "game/insects.h"
#include "game/stork.h"
#include "game_fixture.h"

namespace pondaro::test {

class FeedingTest : public GameTest {
 protected:
  TMainForm& Enter(int level) {
    auto& f = Make();
    f.Level = level;
    f.Lives = 3;
    f.ChangeScene(4);
    return f;
  }
  // Leaves BottleEmpty to the test: the bottle would set it from the hunger.
  void WithoutBottle() {
    form->Root().ForEach<TBottle>([](TBottle* b) { b->Dead(); });
  }
  // Every start of the named sound so far.
  int Starts(const std::string& name) {
    const TWaveCollectionItem& item = form->DXWaveList.Find(name);
    int n = sound.voices.count(item.PrimaryVoice()) ? sound.voices[item.PrimaryVoice()].starts : 0;
    for (VoiceId v : item.ExtraVoices()) n += sound.voices[v].starts;
    return n;
  }
  bool Playing(const std::string& name) {
    const TWaveCollectionItem& item = form->DXWaveList.Find(name);
    if (sound.IsPlaying(item.PrimaryVoice())) return true;
    for (VoiceId v : item.ExtraVoices())
      if (sound.IsPlaying(v)) return true;
    return false;
  }
  // The draws of one picture in the last tick.
  std::vector<DrawCall> DrawsOf(const std::string& picture) {
    const TextureId tex = form->ImageList.Find(picture).Texture;
    std::vector<DrawCall> out;
    for (const DrawCall& c : display.calls)
      if (c.kind != DrawCall::Text && c.kind != DrawCall::Fill && c.texture == tex) out.push_back(c);
    return out;
  }
  void TickFresh(int n = 1) {
    display.calls.clear();
    Tick(n);
  }
};

}  // namespace pondaro::test
