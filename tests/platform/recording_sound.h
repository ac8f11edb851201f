// Test double of the sound output: voices play until a test ends them.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/services.h"

namespace pondaro::test {

class RecordingSoundOutput : public SoundOutput {
 public:
  struct Voice {
    SampleId sample = 0;
    bool playing = false;
    int starts = 0;
    VoiceSettings last;
  };
  bool initialized = true;
  bool failVoices = false;
  std::map<SampleId, std::vector<uint8_t>> samples;
  std::map<VoiceId, Voice> voices;
  std::vector<VoiceId> startLog;  // every Start, in order
  std::vector<SampleId> startedSamples;  // the sample of every Start, in order

  bool Initialized() const override { return initialized; }
  SampleId LoadSample(const uint8_t* data, size_t size, std::string& error) override {
    if (size < 12 || std::string(reinterpret_cast<const char*>(data), 4) != "RIFF") {
      error = "not a WAV file";
      return 0;
    }
    SampleId id = nextSample_++;
    samples[id].assign(data, data + size);
    return id;
  }
  void FreeSample(SampleId id) override { samples.erase(id); }
  VoiceId CreateVoice(SampleId sample) override {
    if (failVoices || !samples.count(sample)) return 0;
    VoiceId id = nextVoice_++;
    voices[id].sample = sample;
    return id;
  }
  void FreeVoice(VoiceId v) override { voices.erase(v); }
  void Start(VoiceId v, const VoiceSettings& s) override {
    auto& voice = voices.at(v);
    voice.playing = true;
    ++voice.starts;
    voice.last = s;
    startLog.push_back(v);
    startedSamples.push_back(voice.sample);
  }
  void Stop(VoiceId v) override { voices.at(v).playing = false; }
  bool IsPlaying(VoiceId v) const override {
    auto it = voices.find(v);
    return it != voices.end() && it->second.playing;
  }
  // Lets every non-looped voice run to its end.
  void FinishAll() {
    for (auto& [id, v] : voices)
      if (!v.last.Looped) v.playing = false;
  }

 private:
  SampleId nextSample_ = 1;
  VoiceId nextVoice_ = 1;
};

}  // namespace pondaro::test
