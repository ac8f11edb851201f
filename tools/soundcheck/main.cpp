// pondaro-sounds OUTDIR [SECONDS]
//
// Run in the game directory. Writes every sound of Data/Music.dxw, decoded the
// way the game loads it, and the first SECONDS (default 30) of each song played
// by the game's module player, as WAV files into OUTDIR, and prints each one's
// length, peak and RMS (and, for the songs, when they wrap to order 0), so the
// set can be listened to and compared without starting the game.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/sdl_system.h"
#include "desktop/xmp_player.h"
#include "replay/null_services.h"
#include "sprites/wave_list.h"

namespace fs = std::filesystem;
using namespace pondaro;

namespace {

struct Pcm {
  int Rate = 44100, Channels = 1;
  std::vector<int16_t> Data;  // interleaved
};

// A sound output that only decodes: the collection hands it every payload
// exactly as it would hand them to the mixer, in collection order.
class DecodingOutput : public NullSound {
 public:
  std::vector<Pcm> Decoded;

  bool Initialized() const override { return true; }
  SampleId LoadSample(const uint8_t* data, size_t size, std::string& error) override {
    SDL_AudioSpec wavFormat;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1, &wavFormat, &buffer, &length)) {
      error = SDL_GetError();
      return 0;
    }
    Pcm pcm;
    pcm.Rate = wavFormat.freq;
    pcm.Channels = wavFormat.channels;
    if (wavFormat.format == AUDIO_S16LSB) {
      pcm.Data.resize(length / 2);
      std::memcpy(pcm.Data.data(), buffer, pcm.Data.size() * 2);
    } else {
      error = "not 16-bit PCM";
    }
    SDL_FreeWAV(buffer);
    if (pcm.Data.empty()) return 0;
    Decoded.push_back(std::move(pcm));
    return static_cast<SampleId>(Decoded.size());
  }
};

double Db(double v) { return v > 0 ? 20 * std::log10(v) : -200.0; }

struct Levels {
  double Peak = 0, Rms = 0, Loudest = 0;  // Loudest: RMS of the loudest 50 ms window
};

Levels Measure(const Pcm& pcm) {
  Levels l;
  const size_t frames = pcm.Data.size() / pcm.Channels;
  const size_t window = std::max<size_t>(1, static_cast<size_t>(pcm.Rate / 20));
  double sum = 0, windowSum = 0, best = 0;
  std::vector<double> energy(frames);
  for (size_t f = 0; f < frames; ++f) {
    double e = 0;
    for (int c = 0; c < pcm.Channels; ++c) {
      const double v = pcm.Data[f * pcm.Channels + c] / 32768.0;
      l.Peak = std::max(l.Peak, std::abs(v));
      e += v * v;
    }
    energy[f] = e / pcm.Channels;
    sum += energy[f];
    windowSum += energy[f];
    if (f >= window) windowSum -= energy[f - window];
    if (f + 1 >= window || f + 1 == frames) best = std::max(best, windowSum / std::min(window, f + 1));
  }
  l.Rms = frames ? std::sqrt(sum / frames) : 0;
  l.Loudest = std::sqrt(best);
  return l;
}

void Put16(std::ofstream& out, uint16_t v) {
  const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
  out.write(b, 2);
}
void Put32(std::ofstream& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void WriteWav(const fs::path& path, const Pcm& pcm) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const uint32_t bytes = static_cast<uint32_t>(pcm.Data.size() * 2);
  out.write("RIFF", 4);
  Put32(out, 36 + bytes);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(pcm.Channels));
  Put32(out, static_cast<uint32_t>(pcm.Rate));
  Put32(out, static_cast<uint32_t>(pcm.Rate * pcm.Channels * 2));
  Put16(out, static_cast<uint16_t>(pcm.Channels * 2));
  Put16(out, 16);
  out.write("data", 4);
  Put32(out, bytes);
  for (int16_t v : pcm.Data) Put16(out, static_cast<uint16_t>(v));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void Report(const std::string& name, double seconds, const Levels& l, const std::string& extra) {
  std::printf("%-14s %7.3f s  peak %6.1f dBFS  RMS %6.1f dBFS  loudest 50 ms %6.1f dBFS%s\n", name.c_str(),
              seconds, Db(l.Peak), Db(l.Rms), Db(l.Loudest), extra.c_str());
}

void RenderSounds(const fs::path& outDir) {
  DecodingOutput output;
  SdlClock clock;
  TWaveCollection sounds;
  sounds.LoadFromFile("Data/Music.dxw", output, clock);
  for (int i = 0; i < sounds.Count(); ++i) {
    const TWaveCollectionItem& item = sounds.Items(i);
    const Pcm& pcm = output.Decoded.at(static_cast<size_t>(i));
    WriteWav(outDir / (item.Name + ".wav"), pcm);
    std::string extra = item.Looped ? "  looped" : "";
    extra += "  copies " + std::to_string(item.MaxPlayingCount);
    Report(item.Name, static_cast<double>(pcm.Data.size() / pcm.Channels) / pcm.Rate, Measure(pcm), extra);
  }
}

// Plays the song from its start until it comes back to order 0, keeping the
// first `seconds` of it.
void RenderSong(const fs::path& outDir, const std::string& name, double seconds) {
  XmpModulePlayer player;
  const int handle = player.SongLoadFromFile("Music/" + name + ".xm");
  if (handle == 0 || !player.StartOffline(handle, 44100, 2)) {
    std::printf("%-14s cannot be loaded\n", name.c_str());
    return;
  }
  Pcm pcm;
  pcm.Channels = 2;
  const size_t keep = static_cast<size_t>(seconds * 44100) * 2;
  std::vector<int16_t> block(1024 * 2);  // about 23 ms
  double wrapAt = -1, t = 0;
  int last = 0, highest = 0;
  while (t < 300 && (wrapAt < 0 || pcm.Data.size() < keep)) {
    player.Render(reinterpret_cast<uint8_t*>(block.data()), static_cast<int>(block.size() * 2));
    t += 1024.0 / 44100;
    const int order = player.SongGetOrder(handle);
    if (wrapAt < 0 && order == 0 && last != 0) wrapAt = t;
    highest = std::max(highest, order);
    last = order;
    if (pcm.Data.size() < keep) pcm.Data.insert(pcm.Data.end(), block.begin(), block.end());
  }
  player.SongFree(handle);
  pcm.Data.resize(std::min(pcm.Data.size(), keep));
  WriteWav(outDir / ("song" + name + ".wav"), pcm);
  char extra[96];
  std::snprintf(extra, sizeof extra, "  orders %d, wraps to order 0 after %.1f s", highest + 1, wrapAt);
  Report("song " + name, static_cast<double>(pcm.Data.size() / 2) / 44100, Measure(pcm), extra);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: pondaro-sounds OUTDIR [SECONDS]\n");
    return 2;
  }
  try {
    const fs::path outDir = argv[1];
    fs::create_directories(outDir);
    RenderSounds(outDir);
    const double seconds = argc == 3 ? std::stod(argv[2]) : 30.0;
    for (const char* song : {"1", "2", "3"}) RenderSong(outDir, song, seconds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pondaro-sounds: %s\n", e.what());
    return 1;
  }
  return 0;
}
