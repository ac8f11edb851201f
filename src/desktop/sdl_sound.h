// Sound effects on SDL2_mixer: samples are Mix_Chunks, voices are playback
// buffers that get a mixer channel when started.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/services.h"

struct Mix_Chunk;

namespace pondaro {

// Volume in hundredths of a decibel (0 full .. -10000 silent) to SDL_mixer's 0..128.
int MixerVolume(int hundredthsOfDb);
// Pan -10000 (left only) .. 10000 (right only) to left and right levels 0..255:
// the far side is attenuated by |pan| hundredths of a decibel.
void MixerPanning(int pan, int& left, int& right);

class SdlSoundOutput : public SoundOutput {
 public:
  SdlSoundOutput() = default;
  ~SdlSoundOutput() override;
  SdlSoundOutput(const SdlSoundOutput&) = delete;
  SdlSoundOutput& operator=(const SdlSoundOutput&) = delete;

  // 44.1 kHz, 16-bit, stereo. False (and the game stays silent) when there is no
  // sound device; `error` says why.
  bool Open(std::string& error);
  void Close();

  bool Initialized() const override { return open_; }
  SampleId LoadSample(const uint8_t* data, size_t size, std::string& error) override;
  void FreeSample(SampleId id) override;
  VoiceId CreateVoice(SampleId sample) override;
  void FreeVoice(VoiceId voice) override;
  // Frequency other than 0 is ignored: SDL_mixer has no per-channel rate, and
  // the collection's sounds are stored at the rate they are played.
  void Start(VoiceId voice, const VoiceSettings& settings) override;
  void Stop(VoiceId voice) override;
  bool IsPlaying(VoiceId voice) const override;

  int Channels() const { return static_cast<int>(owners_.size()); }
  int PlayingChannels() const;

 private:
  struct Voice {
    SampleId sample = 0;
    int channel = -1;  // last channel it played on; it may since belong to another voice
  };
  bool OwnsChannel(VoiceId id, const Voice& v) const;
  int FreeChannel();

  bool open_ = false;
  std::map<SampleId, Mix_Chunk*> samples_;
  std::map<VoiceId, Voice> voices_;
  std::vector<VoiceId> owners_;  // per mixer channel, the voice last started on it
  SampleId nextSample_ = 1;
  VoiceId nextVoice_ = 1;
};

}  // namespace pondaro
