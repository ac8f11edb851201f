// The module player: FastTracker modules played by libxmp, mixed into SDL2_mixer's
// output through its music hook.
#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/services.h"

namespace pondaro {

class XmpModulePlayer : public ModulePlayer {
 public:
  XmpModulePlayer() = default;
  ~XmpModulePlayer() override;
  XmpModulePlayer(const XmpModulePlayer&) = delete;
  XmpModulePlayer& operator=(const XmpModulePlayer&) = delete;

  int SongLoadFromFile(const std::string& path) override;
  void SongPlay(int handle) override;
  int SongGetOrder(int handle) override;
  void SongFree(int handle) override;

  // Renders the playing song into a 16-bit buffer of the channel count it was
  // started for (what the audio callback does); silence when nothing plays. Used
  // by tests and the offline renderer too.
  void Render(uint8_t* stream, int bytes);
  // Starts a song for offline rendering at this rate and channel count, no mixer needed.
  bool StartOffline(int handle, int rate, int channels);

 private:
  static void Callback(void* self, uint8_t* stream, int bytes);
  bool StartLocked(int handle, int rate, int channels);

  // Guards every libxmp call: the audio thread renders while the game loads,
  // starts and frees songs (SDL_LockAudio would not cover the mixer's device).
  std::mutex mutex_;
  std::map<int, char*> songs_;  // libxmp contexts by handle
  int playing_ = 0;
  int channels_ = 2;              // of the output the playing song renders for
  std::vector<int16_t> stereo_;  // libxmp's frames before they are spread wider
  int next_ = 1;
  bool hooked_ = false;
};

}  // namespace pondaro
