#include "desktop/sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace pondaro {

namespace {
constexpr int kInitialChannels = 16;
constexpr int kMaxChannels = 256;

// Linear amplitude of an attenuation in hundredths of a decibel.
double Amplitude(int hundredthsOfDb) {
  if (hundredthsOfDb >= 0) return 1.0;
  if (hundredthsOfDb <= -10000) return 0.0;
  return std::pow(10.0, hundredthsOfDb / 2000.0);
}
}  // namespace

int MixerVolume(int hundredthsOfDb) {
  return static_cast<int>(std::lround(MIX_MAX_VOLUME * Amplitude(hundredthsOfDb)));
}

void MixerPanning(int pan, int& left, int& right) {
  pan = std::clamp(pan, -10000, 10000);
  left = static_cast<int>(std::lround(255 * Amplitude(-std::max(pan, 0))));
  right = static_cast<int>(std::lround(255 * Amplitude(std::min(pan, 0))));
}

SdlSoundOutput::~SdlSoundOutput() { Close(); }

bool SdlSoundOutput::Open(std::string& error) {
  if (open_) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = std::string("No sound device: ") + SDL_GetError();
    return false;
  }
  // Stereo and 16 bits whatever the device has: SDL converts, and the module
  // player and the panning are written for exactly that.
  if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 1024, nullptr, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
    error = std::string("Cannot open the sound device: ") + Mix_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  owners_.assign(static_cast<size_t>(Mix_AllocateChannels(kInitialChannels)), 0);
  open_ = true;
  return true;
}

void SdlSoundOutput::Close() {
  if (!open_) return;
  for (size_t ch = 0; ch < owners_.size(); ++ch)
    if (owners_[ch]) Mix_HaltChannel(static_cast<int>(ch));
  for (auto& [id, chunk] : samples_) Mix_FreeChunk(chunk);
  samples_.clear();
  voices_.clear();
  owners_.clear();
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  open_ = false;
}

namespace {

uint32_t Le(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// A RIFF WAV of 16-bit PCM at `rate`, mono or stereo, as the collection holds its
// sounds: the samples made into a chunk of the mixer's 16-bit stereo in a buffer
// of exactly their size. Null for anything else, which SDL converts (in a buffer
// up to four times larger than the sound, kept as long as the sound).
Mix_Chunk* PlainChunk(const uint8_t* data, size_t size, int rate) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return nullptr;
  int channels = 0;
  for (size_t at = 12; at + 8 <= size;) {
    const uint8_t* chunk = data + at;
    const size_t length = Le(chunk + 4, 4);
    if (length > size - at - 8) return nullptr;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (length < 16 || Le(chunk + 8, 2) != 1 || Le(chunk + 12, 4) != static_cast<uint32_t>(rate) ||
          Le(chunk + 22, 2) != 16)
        return nullptr;
      channels = static_cast<int>(Le(chunk + 10, 2));
      if (channels != 1 && channels != 2) return nullptr;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (channels == 0) return nullptr;
      const size_t frames = length / (2 * static_cast<size_t>(channels));
      if (frames == 0 || frames > (UINT32_MAX / 4)) return nullptr;
      auto* out = static_cast<int16_t*>(SDL_malloc(frames * 4));
      if (!out) return nullptr;
      const uint8_t* in = chunk + 8;
      for (size_t f = 0; f < frames; ++f) {
        const auto left = static_cast<int16_t>(Le(in + f * 2 * channels, 2));
        out[2 * f] = left;
        out[2 * f + 1] = channels == 2 ? static_cast<int16_t>(Le(in + f * 4 + 2, 2)) : left;
      }
      Mix_Chunk* mixChunk = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(out), static_cast<Uint32>(frames * 4));
      if (!mixChunk) {
        SDL_free(out);
        return nullptr;
      }
      mixChunk->allocated = 1;  // Mix_FreeChunk frees the samples too
      return mixChunk;
    }
    at += 8 + length + (length & 1);
  }
  return nullptr;
}

}  // namespace

SampleId SdlSoundOutput::LoadSample(const uint8_t* data, size_t size, std::string& error) {
  if (!open_) {
    error = "the sound device is not open";
    return 0;
  }
  if (!data || size == 0 || size > static_cast<size_t>(INT_MAX)) {
    error = "empty or oversized sound data";
    return 0;
  }
  int rate = 0, channels = 0;
  Uint16 format = 0;
  Mix_Chunk* chunk = nullptr;
  if (Mix_QuerySpec(&rate, &format, &channels) != 0 && format == AUDIO_S16SYS && channels == 2 &&
      SDL_BYTEORDER == SDL_LIL_ENDIAN)
    chunk = PlainChunk(data, size, rate);
  if (!chunk) {
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
  }
  if (!chunk) {
    error = std::string("not a valid WAV sound: ") + Mix_GetError();
    return 0;
  }
  const SampleId id = nextSample_++;
  samples_[id] = chunk;
  return id;
}

void SdlSoundOutput::FreeSample(SampleId id) {
  auto it = samples_.find(id);
  if (it == samples_.end()) return;
  for (auto& [vid, v] : voices_)
    if (v.sample == id) Stop(vid);
  Mix_FreeChunk(it->second);
  samples_.erase(it);
}

VoiceId SdlSoundOutput::CreateVoice(SampleId sample) {
  if (!samples_.count(sample)) return 0;
  const VoiceId id = nextVoice_++;
  voices_[id] = Voice{sample, -1};
  return id;
}

void SdlSoundOutput::FreeVoice(VoiceId voice) {
  Stop(voice);
  voices_.erase(voice);
}

bool SdlSoundOutput::OwnsChannel(VoiceId id, const Voice& v) const {
  return v.channel >= 0 && v.channel < static_cast<int>(owners_.size()) && owners_[v.channel] == id;
}

// A channel that is not playing; more channels when every one is busy, since
// the collection may start many copies of a sound at once.
int SdlSoundOutput::FreeChannel() {
  const int count = Mix_AllocateChannels(-1);
  if (count != static_cast<int>(owners_.size())) owners_.resize(static_cast<size_t>(std::max(count, 0)), 0);
  for (int ch = 0; ch < count; ++ch)
    if (!Mix_Playing(ch)) return ch;
  if (count >= kMaxChannels) return -1;
  const int grown = Mix_AllocateChannels(std::min(std::max(count * 2, kInitialChannels), kMaxChannels));
  owners_.resize(static_cast<size_t>(std::max(grown, 0)), 0);
  return grown > count ? count : -1;
}

void SdlSoundOutput::Start(VoiceId id, const VoiceSettings& settings) {
  if (!open_) return;
  auto it = voices_.find(id);
  if (it == voices_.end()) return;
  auto sample = samples_.find(it->second.sample);
  if (sample == samples_.end()) return;
  Stop(id);
  const int ch = FreeChannel();
  if (ch < 0) return;
  // Level and pan go on before playback so the first samples already have them.
  Mix_Volume(ch, MixerVolume(settings.Volume));
  int left = 255, right = 255;
  MixerPanning(settings.Pan, left, right);
  Mix_SetPanning(ch, static_cast<Uint8>(left), static_cast<Uint8>(right));
  if (Mix_PlayChannel(ch, sample->second, settings.Looped ? -1 : 0) < 0) return;
  owners_[ch] = id;
  it->second.channel = ch;
}

void SdlSoundOutput::Stop(VoiceId id) {
  auto it = voices_.find(id);
  if (it == voices_.end()) return;
  Voice& v = it->second;
  if (OwnsChannel(id, v)) {
    Mix_HaltChannel(v.channel);
    owners_[v.channel] = 0;
  }
  v.channel = -1;
}

bool SdlSoundOutput::IsPlaying(VoiceId id) const {
  auto it = voices_.find(id);
  return it != voices_.end() && OwnsChannel(id, it->second) && Mix_Playing(it->second.channel) != 0;
}

int SdlSoundOutput::PlayingChannels() const { return open_ ? Mix_Playing(-1) : 0; }

}  // namespace pondaro
