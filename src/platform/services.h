// The platform services other than drawing, each a small interface so that tests
// can stand in for them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace pondaro {

// Turns the PNG payloads of the image collection into pixels.
class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // Empty with `error` set when the bytes are not a picture.
  virtual std::optional<Pixels> Decode(const uint8_t* data, size_t size, std::string& error) const = 0;
  // Called on a helper thread before it decodes: the game's own thread must keep
  // its pace beside it.
  virtual void ThreadBegins() const {}
};

// PCM playback. A sample is one decoded sound; a voice is one playback buffer of it
// (the collection's primary buffer and its copies are voices).
using SampleId = int;
using VoiceId = int;

struct VoiceSettings {
  bool Looped = false;
  int Frequency = 0;  // Hz; 0 keeps the sample's own rate
  int Pan = 0;        // -10000 (left) .. 10000 (right)
  int Volume = 0;     // hundredths of a decibel, 0 (full) .. -10000 (silent)
};

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  virtual bool Initialized() const = 0;
  // Decodes a RIFF WAV payload; 0 with `error` set on failure.
  virtual SampleId LoadSample(const uint8_t* data, size_t size, std::string& error) = 0;
  virtual void FreeSample(SampleId id) = 0;
  virtual VoiceId CreateVoice(SampleId sample) = 0;  // 0 when no voice can be made
  virtual void FreeVoice(VoiceId voice) = 0;
  // Stop, rewind to the start and play with these settings.
  virtual void Start(VoiceId voice, const VoiceSettings& settings) = 0;
  virtual void Stop(VoiceId voice) = 0;
  virtual bool IsPlaying(VoiceId voice) const = 0;
};

// The four song functions of the module player; handle 0 means none.
class ModulePlayer {
 public:
  virtual ~ModulePlayer() = default;
  virtual int SongLoadFromFile(const std::string& path) = 0;
  virtual void SongPlay(int handle) = 0;
  virtual int SongGetOrder(int handle) = 0;
  virtual void SongFree(int handle) = 0;
};

// A GET or POST under way while the game goes on; polled once a tick. Destroying
// it abandons it, at once, however long the server keeps silent.
class HttpRequest {
 public:
  virtual ~HttpRequest() = default;
  virtual bool Done() const = 0;
  // Once Done: the body, or empty with `error` set.
  virtual std::optional<std::string> Result(std::string& error) = 0;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Blocking GET; the body, or empty with `error` set on failure (connection,
  // time-out, HTTP error status).
  virtual std::optional<std::string> Get(const std::string& url, std::string& error) = 0;
  // The same GET without waiting for it; one at a time, and the client outlives
  // it. Unless a client does better, the request is made here, before Start returns.
  virtual std::unique_ptr<HttpRequest> Start(const std::string& url);
  // A POST of `body`, of type `contentType`, without waiting for it, as Start;
  // the reply's body or the failure alike. A client that sends no bodies (a
  // re-play's, a benchmark's) fails it.
  virtual std::unique_ptr<HttpRequest> Post(const std::string& url, const std::string& body,
                                            const std::string& contentType);
};

// A request that was over before it was handed out.
class FinishedRequest : public HttpRequest {
 public:
  FinishedRequest(std::optional<std::string> body, std::string error)
      : body_(std::move(body)), error_(std::move(error)) {}
  bool Done() const override { return true; }
  std::optional<std::string> Result(std::string& error) override {
    error = error_;
    return body_;
  }

 private:
  std::optional<std::string> body_;
  std::string error_;
};

inline std::unique_ptr<HttpRequest> HttpClient::Start(const std::string& url) {
  std::string error;
  auto body = Get(url, error);
  return std::make_unique<FinishedRequest>(std::move(body), std::move(error));
}

inline std::unique_ptr<HttpRequest> HttpClient::Post(const std::string& url, const std::string&, const std::string&) {
  return std::make_unique<FinishedRequest>(std::nullopt, url + ": this client sends no request bodies");
}

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a web address in the browser; false when that could not be started.
  virtual bool OpenUrl(const std::string& url) = 0;
};

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void Show(const std::string& message) = 0;  // modal
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t Milliseconds() const = 0;
  virtual void Sleep(int ms) = 0;
};

// A game controller's state: stick or pad at -1000..1000 on each axis (left and
// up negative), button n held when bit n - 1 is set.
struct JoystickState {
  int X = 0, Y = 0;
  uint32_t Buttons = 0;
};

// Polled key state, read once a tick; keys are virtual-key codes. The optional
// joystick feeds the same input states.
class Keyboard {
 public:
  virtual ~Keyboard() = default;
  virtual bool IsDown(int virtualKey) const = 0;
  // All released when no controller is connected.
  virtual JoystickState Joystick() const { return {}; }
};

}  // namespace pondaro
