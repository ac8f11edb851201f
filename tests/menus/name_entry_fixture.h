// The form fixture with the name-entry panel's pictures added to its collection.
#pragma once
#include "app/form_fixture.h"
#include "menus/game_over.h"
#include "persist/codec.h"
#include "persist/settings_file.h"
#include "sprites/wave_list.h"

namespace pondaro::test {

class NameEntryFixture : public FormTest {
 protected:
  static constexpr int kPanelW = 460, kPanelH = 320;

  void SetUp() override {
    FormTest::SetUp();
    const std::string path = dir + "/Data/Graphic.dxg";
    std::vector<CollectionRecord> pictures;
    std::string error;
    ASSERT_TRUE(ReadCollection(ReadWholeFile(path), CollectionKind::Images, pictures, error)) << error;
    for (auto [name, w, h] : {std::tuple{"Enter_Name", kPanelW, kPanelH}, {"Enter_Name_Send", 44, 48}}) {
      CollectionRecord r;
      r.Name = name;
      r.Payload = EncodeRawPicture(SolidPixels(w, h, Color{250, 240, 200, 255}));
      pictures.push_back(r);
    }
    WriteBytes(path, WriteCollection(CollectionKind::Images, pictures));
  }

  // Game over with `score`, run until the five seconds of words are over.
  TMainForm& GameOver(int score) {
    TMainForm& f = form ? *form : Make();
    f.ChangeScene(9);
    f.Score = score;
    Tick(167);
    return f;
  }
  void Key(int key, bool alt = false) { form->FormKeyDown(key, false, false, alt); }
  void Type(const std::string& keys) {
    for (char c : keys) Key(c);
  }
  void Click(int x, int y, MouseButton b = MouseButton::Left) {
    form->DXDrawMouseMove(x, y);
    form->DXDrawMouseDown(b, x, y);
    form->DXDrawMouseUp(b, x, y);
  }
  template <class T>
  int Live() {
    int n = 0;
    form->Root().ForEach<T>([&](T* s) { n += s->Dying ? 0 : 1; });
    return n;
  }
  std::vector<int32_t> Scores() const {
    std::vector<int32_t> s;
    for (const auto& e : form->HighScores) s.push_back(e.Score);
    return s;
  }
  // The table as Config.cfg holds it.
  THighScoreTable SavedTable() {
    THighScoreTable t = DefaultHighScores();
    auto lines = ReadSettingsLines(ConfigPath());
    if (!lines) ADD_FAILURE() << "no Config.cfg";
    else
      for (int place = 0; place < 10; ++place) {
        t[place].Name = StripPadding((*lines)[5 + 2 * place]);
        t[place].Score = ParseScore(StripPadding((*lines)[6 + 2 * place])).value_or(-1);
      }
    return t;
  }
};

}  // namespace pondaro::test
