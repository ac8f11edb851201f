// The form on its small test data, driven by the pointer like a player.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "app/form_fixture.h"
#include "menus/panels.h"
#include "menus/screens.h"

namespace pondaro::test {

class MenuTest : public FormTest {
 protected:
  TMainForm& Menu() {
    TMainForm& f = form ? *form : Make();
    f.ChangeScene(2);
    return f;
  }
  void Move(int x, int y) { form->DXDrawMouseMove(x, y); }
  // A click of its own: the last one was long enough ago not to make a double click.
  void Click(int x, int y, MouseButton b = MouseButton::Left) {
    clock.now += 600;
    Move(x, y);
    form->DXDrawMouseDown(b, x, y);
    form->DXDrawMouseUp(b, x, y);
  }
  void DoubleClick(int x, int y) {
    Click(x, y);
    form->DXDrawMouseDown(MouseButton::Left, x, y);
    form->DXDrawMouseUp(MouseButton::Left, x, y);
  }
  // Starts of the sound `name`, and how many voices it has played on.
  int Starts(const std::string& name) {
    int n = 0;
    for (SampleId s : sound.startedSamples) n += s == Sample(name);
    return n;
  }
  int Voices(const std::string& name) {
    const auto& item = form->DXWaveList.Find(name);
    return static_cast<int>(item.ExtraVoices().size()) + (item.PrimaryVoice() != 0);
  }
  template <class T>
  int Live() {
    int n = 0;
    form->Root().ForEach<T>([&](T* s) { n += s->Dying ? 0 : 1; });
    return n;
  }
  // The pictures of the live sprites.
  std::vector<std::string> Showing() {
    std::vector<std::string> names;
    form->Root().ForEach<TImageSprite>([&](TImageSprite* s) {
      if (!s->Dying && s->Image) names.push_back(s->Image->Name);
    });
    return names;
  }
  bool IsShowing(const std::string& image) {
    const auto names = Showing();
    return std::find(names.begin(), names.end(), image) != names.end();
  }
  std::vector<DrawCall> Texts() { return display.CallsOf(DrawCall::Text); }

 private:
  // Every voice of a sound plays its one sample.
  SampleId Sample(const std::string& name) {
    const auto& item = form->DXWaveList.Find(name);
    const VoiceId v = item.PrimaryVoice() != 0 ? item.PrimaryVoice()
                      : item.ExtraVoices().empty() ? 0 : item.ExtraVoices().front();
    return sound.voices.count(v) ? sound.voices[v].sample : 0;
  }
};

}  // namespace pondaro::test
