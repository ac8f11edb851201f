// The services of a game nobody sees or hears, for the headless re-play and the
// benchmarks: no keys held, no sound device, no music, no network, no browser, a
// clock standing at 0 (a replay answers the clock itself).
#pragma once
#include <optional>
#include <string>

#include "platform/services.h"

namespace pondaro {

class NullKeyboard : public Keyboard {
 public:
  bool IsDown(int) const override { return false; }
};

class NullClock : public Clock {
 public:
  uint64_t Milliseconds() const override { return 0; }
  void Sleep(int) override {}
};

class NullSound : public SoundOutput {
 public:
  bool Initialized() const override { return false; }
  SampleId LoadSample(const uint8_t*, size_t, std::string& error) override {
    error = "no sound";
    return 0;
  }
  void FreeSample(SampleId) override {}
  VoiceId CreateVoice(SampleId) override { return 0; }
  void FreeVoice(VoiceId) override {}
  void Start(VoiceId, const VoiceSettings&) override {}
  void Stop(VoiceId) override {}
  bool IsPlaying(VoiceId) const override { return false; }
};

class NullMusic : public ModulePlayer {
 public:
  int SongLoadFromFile(const std::string&) override { return 0; }
  void SongPlay(int) override {}
  int SongGetOrder(int) override { return 0; }
  void SongFree(int) override {}
};

class NullHttp : public HttpClient {
 public:
  std::optional<std::string> Get(const std::string&, std::string& error) override {
    error = "no network while re-playing";
    return std::nullopt;
  }
};

class NullShell : public Shell {
 public:
  bool OpenUrl(const std::string&) override { return false; }
};

}  // namespace pondaro
