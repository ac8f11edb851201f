#include "desktop/sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <climits>
#include <cmath>

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

SampleId SdlSoundOutput::LoadSample(const uint8_t* data, size_t size, std::string& error) {
  if (!open_) {
    error = "the sound device is not open";
    return 0;
  }
  if (!data || size == 0 || size > static_cast<size_t>(INT_MAX)) {
    error = "empty or oversized sound data";
    return 0;
  }
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
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
