#include "audio/flight_sound.h"
#include "form_fixture.h"
#include "sprites/image_sprite.h"

namespace pondaro::test {
namespace {

class Midge : public TImageSprite, public TFlightSoundSource {
 public:
  explicit Midge(TSprite* parent) : TImageSprite(parent) {}
  const char* FlightSound() const override { return "mushka"; }
};
class BigMidge : public Midge {
 public:
  using Midge::Midge;
};
class Fly : public TImageSprite, public TFlightSoundSource {
 public:
  explicit Fly(TSprite* parent) : TImageSprite(parent) {}
  const char* FlightSound() const override { return "muha"; }
};

class Audio : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    // Flight sounds loop like the game's.
    std::vector<CollectionRecord> sounds;
    for (auto [name, looped] : {std::pair{"button_up", false}, {"button_down", false}, {"pause", false},
                                {"after_pause", false}, {"mushka", true}, {"muha", true}}) {
      CollectionRecord r;
      r.Name = name;
      r.Looped = looped;
      r.Payload = TinyWav();
      sounds.push_back(r);
    }
    WriteBytes(dir + "/Data/Music.dxw", WriteCollection(CollectionKind::Sounds, sounds));
  }
  bool Playing(const std::string& name) {
    auto& item = form->DXWaveList.Find(name);
    if (sound.IsPlaying(item.PrimaryVoice())) return true;
    for (VoiceId v : item.ExtraVoices())
      if (sound.IsPlaying(v)) return true;
    return false;
  }
};

TEST_F(Audio, FlightSoundStopsWithTheLastLiveInsectOfItsKind) {
  auto& f = Make();
  auto* a = new Midge(&f.Root());
  auto* b = new BigMidge(&f.Root());  // subclasses count too
  new Fly(&f.Root());
  f.PlaySound("mushka");
  f.PlaySound("muha");
  a->Dead();
  f.StopSound("mushka");
  EXPECT_TRUE(Playing("mushka"));
  b->Dead();
  f.StopSound("mushka");
  EXPECT_FALSE(Playing("mushka"));
  EXPECT_TRUE(Playing("muha"));
  f.StopSound("kvak");  // not a name StopSound knows: nothing
  EXPECT_TRUE(Playing("muha"));
}

TEST_F(Audio, ButtonUpStopsOnlyItselfAndAllStopsEverything) {
  auto& f = Make();
  f.PlaySound("button_up");
  f.PlaySound("button_down");
  f.PlaySound("muha");
  f.StopSound("button_up");
  EXPECT_FALSE(Playing("button_up"));
  EXPECT_TRUE(Playing("button_down"));
  f.StopSound("all");
  EXPECT_FALSE(Playing("button_down"));
  EXPECT_FALSE(Playing("muha"));
  // Sound off plays nothing; an unknown name is an error.
  f.GameSound = false;
  f.PlaySound("pause");
  EXPECT_FALSE(Playing("pause"));
  f.GameSound = true;
  EXPECT_THROW(f.PlaySound("nope"), EGameError);
}

TEST_F(Audio, MusicFollowsItsSwitchAndTheScenes) {
  auto& f = Make();
  Tick();
  ASSERT_EQ(music.loaded.size(), 1u);  // the splash's "1", after its first frame
  const int handle = f.SongHandle;
  f.GameMusic = false;
  f.PlayMusic("3");  // music off leaves the playing song alone
  EXPECT_EQ(f.SongHandle, handle);
  EXPECT_TRUE(music.playing.count(handle));
  f.GameMusic = true;

  // A game started from the menu keeps the menu's song; "2" comes after a feeding stage.
  f.ChangeScene(2);
  f.ChangeScene(3);
  EXPECT_EQ(music.loaded.size(), 1u);
  f.ChangeScene(4);
  f.ChangeScene(3);
  EXPECT_EQ(music.loaded.back(), dir + "/Music/2.xm");
  // In the crossing a wrapped song is not reloaded.
  music.order[f.SongHandle] = 2;
  Tick();
  music.order[f.SongHandle] = 0;
  Tick(3);
  EXPECT_EQ(music.loaded.size(), 2u);
  // Leaving the game restarts "1" in the menu.
  f.ChangeScene(2);
  EXPECT_EQ(music.loaded.back(), dir + "/Music/1.xm");

  // After StopMusic the wrap test has nothing to restart.
  f.StopMusic();
  EXPECT_EQ(f.SongHandle, 0);
  Tick(2);
  EXPECT_EQ(music.loaded.size(), 3u);
  // A song that cannot be loaded leaves no handle.
  music.failLoads = true;
  f.PlayMusic("1");
  EXPECT_EQ(f.SongHandle, 0);
}

}  // namespace
}  // namespace pondaro::test
