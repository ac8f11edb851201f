// The three songs: "1" the menu theme, "2" the pond theme, "3" game over.
// Each is a few four-bar (or two-bar) patterns in 4/4 with a row per sixteenth
// note; a flute sings the tune, one marimba breaks the chords, another answers
// or takes a solo, the bass walks the roots and fifths under soft percussion.
// Every order list wraps to order 0, which is what the game watches for.
#include <string>

#include "registry.h"
#include "song_kit.h"

namespace pondaro::assetgen {

namespace {

std::string Repeat(const std::string& s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

// Menu theme: C major, 125 BPM, ten orders of four bars, 76.8 s a round.
std::vector<uint8_t> MenuTheme() {
  Score s("Pondaro - menu", 6, 125);
  const std::string arp = "0:2@32 2:2 3:2 4:2 3:2@30 2:2 3:2 4:2";
  const std::string bass = "0:4 r:2 0:2 2:4 3:2 2:2";
  const std::string kick = "k.......k.k.....", snare = "....s.......s...";
  const std::string hats = "h.H.h.H.h.H.h.H.", shaker = "..x...x...x...x.";
  auto groove = [&](int p, const std::string& chords, bool drums) {
    s.Figure(p, kArpCh, kMarimba, 26, chords, arp, "F3");
    s.Figure(p, kBassCh, kBass, 46, chords, bass, "E2");
    s.Drums(p, kHatCh, hats);
    if (!drums) return;
    s.Drums(p, kKickCh, kick);
    s.Drums(p, kSnareCh, snare);
    s.Drums(p, kShakerCh, shaker);
  };
  const std::string verseChords = "C:16 Am:16 F:16 G:16";
  const std::string cadenceChords = "C:16 Am:16 Dm:8 G:8 C:16";
  const std::string verseB =
      "E5:4 G5:2 E5:2 C6:4 B5:2 A5:2 A5:4 G5:2 E5:2 C5:4 E5:2 A5:2 F5:4 E5:2 D5:2 G5:4 F5:2 D5:2 ";

  const int intro = s.NewPattern();
  groove(intro, verseChords, false);
  s.Drums(intro, kKickCh, Repeat(".", 32) + kick + kick);
  s.Drums(intro, kSnareCh, Repeat(".", 32) + snare + "....s.......s.ss");
  s.Melody(intro, kCounterCh, kMarimba, 34,
           "_:32 A5:2 G5:2 F5:2 C5:2 F5:4 A5:4 B5:2 A5:2 G5:2 D5:2 G5:4 B4:4");

  const int verse1 = s.NewPattern();
  groove(verse1, verseChords, true);
  s.Melody(verse1, kLeadCh, kFlute, 44,
           "E5:4 G5:2 E5:2 C5:4 D5:2 E5:2 A4:4 C5:2 E5:2 A5:6 G5:2 "
           "F5:4 A5:2 F5:2 C5:4 D5:2 F5:2 G5:4 F5:2 E5:2 D5:6 r:2");

  const int verse2 = s.NewPattern();
  groove(verse2, cadenceChords, true);
  s.Melody(verse2, kLeadCh, kFlute, 44, verseB + "E5:6 D5:2 C5:6 r:2");

  const int bridge1 = s.NewPattern();
  groove(bridge1, "F:16 G:16 Em:16 Am:16", true);
  s.Melody(bridge1, kLeadCh, kFlute, 46,
           "A5:6 G5:2 F5:4 C5:4 B5:6 A5:2 G5:4 D5:4 G5:4 E5:2 G5:2 B5:4 G5:4 A5:12 r:4");
  s.Figure(bridge1, kCounterCh, kMarimba, 20, "F:16 G:16 Em:16 Am:16", "_:4 2:2 3:2 _:4 2:2 4:2", "C5");

  const int bridge2 = s.NewPattern();
  const std::string bridge2Chords = "Dm:16 G:16 Em:8 Am:8 Dm:8 G7:8";
  groove(bridge2, bridge2Chords, true);
  s.Drums(bridge2, kSnareCh, Repeat(snare, 3) + "....s.......sgss");
  s.Melody(bridge2, kLeadCh, kFlute, 46,
           "F5:4 E5:2 D5:2 A5:4 F5:4 G5:4 F5:2 E5:2 D5:4 B4:4 E5:4 G5:4 C6:4 B5:2 A5:2 A5:4 F5:4 G5:6 r:2");
  s.Figure(bridge2, kCounterCh, kMarimba, 20, bridge2Chords, "_:4 2:2 3:2 _:4 2:2 4:2", "C5");

  const int solo = s.NewPattern();
  groove(solo, verseChords, true);
  s.Drums(solo, kShakerCh, "..x.x.x...x.x.x.");
  s.Melody(solo, kCounterCh, kMarimba, 40,
           "C6:2 G5:2 E5:2 G5:2 C6:2 D6:2 E6:4 A5:2 E5:2 C5:2 E5:2 A5:2 B5:2 C6:4 "
           "F5:2 A5:2 C6:2 A5:2 F6:4 E6:2 D6:2 D6:2 B5:2 G5:2 B5:2 D6:4 G5:4");

  const int ending = s.NewPattern();
  groove(ending, "C:16 Am:16 Dm:8 G:8 C:8 G7:8", true);
  s.Drums(ending, kSnareCh, Repeat(snare, 3) + "....s.....s.ssss");
  s.Melody(ending, kLeadCh, kFlute, 44, verseB + "E5:4 G5:2 E5:2 D5:6 r:2");

  s.Order({intro, verse1, verse2, bridge1, bridge2, verse1, verse2, solo, verse1, ending});
  return s.Write();
}

// Pond theme: G major, 140 BPM, syncopated, with a shaker on every sixteenth.
std::vector<uint8_t> PondTheme() {
  Score s("Pondaro - pond", 6, 140);
  const std::string arp = "0:2@30 2:2 3:2 2:2 4:2@28 2:2 3:2 2:2";
  const std::string bass = "0:3 0:3 0:2 r:2 2:2 3:2 2:2";
  const std::string riff = "0:3 2:3 3:2 2:2 1:2 2:4";
  const std::string kick = "k.....k.k.......", snare = "....S.......S..g";
  const std::string hats = "h.H.h.H.h.H.h.o.", shaker = "xxXxxxXxxxXxxxXx";
  auto groove = [&](int p, const std::string& chords) {
    s.Figure(p, kArpCh, kMarimba, 24, chords, arp, "F#3");
    s.Figure(p, kBassCh, kBass, 48, chords, bass, "E2");
    s.Drums(p, kKickCh, kick);
    s.Drums(p, kSnareCh, snare);
    s.Drums(p, kHatCh, hats);
    s.Drums(p, kShakerCh, shaker);
  };

  const int intro = s.NewPattern();
  groove(intro, "G:16 Em:16 C:16 D:16");
  s.Figure(intro, kCounterCh, kMarimba, 36, "G:16 Em:16 C:16 D:16", riff, "D4");

  const int a1 = s.NewPattern();
  groove(a1, "G:16 C:16 G:16 D:16");
  s.Melody(a1, kLeadCh, kFlute, 44,
           "D5:3 G5:3 B5:2 A5:2 G5:2 D5:4 E5:3 G5:3 C6:2 B5:2 A5:2 G5:4 "
           "B5:3 A5:3 G5:2 D5:2 E5:2 G5:4 A5:6 F#5:2 D5:4 r:4");
  s.Figure(a1, kCounterCh, kMarimba, 18, "G:16 C:16 G:16 D:16", "_:2 3:2 _:2 4:2", "D5");

  const int a2 = s.NewPattern();
  groove(a2, "Em:16 C:16 D:16 G:16");
  s.Melody(a2, kLeadCh, kFlute, 44,
           "B5:3 G5:3 E5:2 G5:2 B5:2 E6:4 C6:3 B5:3 A5:2 G5:2 E5:2 C5:4 "
           "D5:3 F#5:3 A5:2 C6:2 B5:2 A5:4 G5:8 D5:2 G5:2 r:4");
  s.Figure(a2, kCounterCh, kMarimba, 18, "Em:16 C:16 D:16 G:16", "_:2 3:2 _:2 4:2", "D5");

  const int b1 = s.NewPattern();
  groove(b1, "C:16 D:16 Bm:16 Em:16");
  s.Melody(b1, kLeadCh, kFlute, 46,
           "E6:4 D6:2 C6:2 G5:4 E5:4 F#5:4 A5:2 D6:2 C6:4 A5:4 B5:4 A5:2 F#5:2 D5:4 F#5:4 E5:12 r:4");
  s.Figure(b1, kCounterCh, kMarimba, 30, "C:16 D:16 Bm:16 Em:16", riff, "D4");

  const int b2 = s.NewPattern();
  const std::string b2Chords = "C:16 D:16 G:8 Em:8 Am:8 D7:8";
  groove(b2, b2Chords);
  s.Drums(b2, kSnareCh, Repeat(snare, 3) + "....S.....S.SsSS");
  s.Melody(b2, kLeadCh, kFlute, 46,
           "E5:2 G5:2 C6:4 B5:2 A5:2 G5:4 F#5:2 A5:2 D6:4 C6:2 B5:2 A5:4 B5:4 G5:4 E5:4 G5:4 "
           "A5:4 C6:4 D6:4 F#5:3 r:1");
  s.Figure(b2, kCounterCh, kMarimba, 30, b2Chords, riff, "D4");

  // A breakdown: the marimba takes the tune over a lighter beat.
  const int solo = s.NewPattern();
  const std::string soloChords = "G:16 Em:16 C:16 D7:16";
  s.Figure(solo, kArpCh, kMarimba, 22, soloChords, arp, "F#3");
  s.Figure(solo, kBassCh, kBass, 46, soloChords, "0:6 0:2 2:4 3:4", "E2");
  s.Drums(solo, kKickCh, "k.......k.......");
  s.Drums(solo, kHatCh, "..h...h...h...h.");
  s.Drums(solo, kShakerCh, "x.X.x.X.x.X.x.X.");
  s.Drums(solo, kSnareCh, Repeat(".", 48) + "....S...S.S.SSSS");
  s.Melody(solo, kCounterCh, kMarimba, 42,
           "G5:1 B5:1 D6:2 B5:2 G5:2 D5:2 G5:2 B5:4 E5:2 G5:2 B5:2 G5:2 E6:4 B5:4 "
           "C6:2 G5:2 E5:2 G5:2 C6:2 D6:2 E6:4 D6:2 A5:2 F#5:2 A5:2 D6:4 C6:4");

  s.Order({intro, a1, a2, b1, b2, a1, a2, solo});
  return s.Write();
}

// Game over: A minor, 80 BPM, two-bar patterns, 24 s; a falling line that
// settles on the tonic.
std::vector<uint8_t> GameOverTheme() {
  Score s("Pondaro - game over", 6, 80);
  const std::string arp = "0:2@26 1:2 2:2 3:2 4:2 3:2 2:2 1:2";
  auto accompany = [&](int p, const std::string& chords) {
    s.Figure(p, kArpCh, kMarimba, 22, chords, arp, "E3");
    s.Figure(p, kBassCh, kBass, 40, chords, "0:8 2:8", "E2");
    s.Drums(p, kKickCh, "k...............");
    s.Drums(p, kShakerCh, "....x.......x...");
  };

  const int p0 = s.NewPattern(32);
  accompany(p0, "Am:16 F:16");
  s.Melody(p0, kLeadCh, kFlute, 42, "E5:6 D5:2 C5:4 B4:4 C5:8 A4:6 r:2");

  const int p1 = s.NewPattern(32);
  accompany(p1, "Dm:16 E7:16");
  s.Melody(p1, kLeadCh, kFlute, 42, "D5:6 E5:2 F5:4 A5:4 G#5:8 E5:6 r:2");

  const int p2 = s.NewPattern(32);
  accompany(p2, "Am:8 F:8 Dm:8 E7:8");
  s.Melody(p2, kLeadCh, kFlute, 40, "A4:4 C5:4 F5:4 E5:4 D5:4 F5:4 E5:6 D5:2");
  s.Melody(p2, kCounterCh, kMarimba, 20, "_:16 A4:4 C5:4 B4:4 G#4:4");

  const int p3 = s.NewPattern(32);
  s.Figure(p3, kArpCh, kMarimba, 22, "Am:16", arp, "E3");
  s.Melody(p3, kArpCh, kMarimba, 24, "_:16 A3:2 E4:2 A4:2 C5:10");
  s.Melody(p3, kBassCh, kBass, 40, "A2:28 r:4");
  s.Drums(p3, kKickCh, "k...............................");
  s.Melody(p3, kLeadCh, kFlute, 38, "C5:6 B4:2 A4:20 r:4");

  s.Order({p0, p1, p2, p3});
  return s.Write();
}

}  // namespace

void AddSongs(Assets& assets) {
  assets.File("Music/1.xm", MenuTheme());
  assets.File("Music/2.xm", PondTheme());
  assets.File("Music/3.xm", GameOverTheme());
}

ASSETGEN_MODULE(AddSongs);

}  // namespace pondaro::assetgen
