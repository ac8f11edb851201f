#include "desktop/xmp_player.h"

#include <SDL_mixer.h>
#include <xmp.h>

#include <algorithm>
#include <cstring>

namespace pondaro {

XmpModulePlayer::~XmpModulePlayer() {
  if (hooked_) Mix_HookMusic(nullptr, nullptr);  // the mixer waits for a running callback
  std::lock_guard lock(mutex_);
  for (auto& [handle, ctx] : songs_) {
    if (handle == playing_) xmp_end_player(ctx);
    xmp_release_module(ctx);
    xmp_free_context(ctx);
  }
  songs_.clear();
}

int XmpModulePlayer::SongLoadFromFile(const std::string& path) {
  xmp_context ctx = xmp_create_context();
  if (!ctx) return 0;
  if (xmp_load_module(ctx, const_cast<char*>(path.c_str())) != 0) {
    xmp_free_context(ctx);
    return 0;
  }
  std::lock_guard lock(mutex_);
  const int handle = next_++;
  songs_[handle] = ctx;
  return handle;
}

bool XmpModulePlayer::StartLocked(int handle, int rate, int channels) {
  auto it = songs_.find(handle);
  if (it == songs_.end()) return false;
  if (playing_ != 0 && songs_.count(playing_)) xmp_end_player(songs_[playing_]);
  playing_ = 0;
  if (channels < 1 || xmp_start_player(it->second, rate, channels == 1 ? XMP_FORMAT_MONO : 0) != 0) return false;
  playing_ = handle;
  channels_ = channels;
  return true;
}

void XmpModulePlayer::SongPlay(int handle) {
  int rate = 0, channels = 0;
  Uint16 format = 0;
  // Without an open mixer there is nothing to play into; the song stays silent.
  if (!Mix_QuerySpec(&rate, &format, &channels) || format != AUDIO_S16SYS) return;
  {
    std::lock_guard lock(mutex_);
    if (!StartLocked(handle, rate, channels)) return;
  }
  if (!hooked_) {
    Mix_HookMusic(&XmpModulePlayer::Callback, this);
    hooked_ = true;
  }
}

bool XmpModulePlayer::StartOffline(int handle, int rate, int channels) {
  std::lock_guard lock(mutex_);
  return StartLocked(handle, rate, channels);
}

int XmpModulePlayer::SongGetOrder(int handle) {
  std::lock_guard lock(mutex_);
  if (handle != playing_ || !songs_.count(handle)) return 0;
  xmp_frame_info info;
  xmp_get_frame_info(songs_[handle], &info);
  return info.pos;
}

void XmpModulePlayer::SongFree(int handle) {
  std::lock_guard lock(mutex_);
  auto it = songs_.find(handle);
  if (it == songs_.end()) return;
  if (handle == playing_) {
    xmp_end_player(it->second);
    playing_ = 0;
  }
  xmp_release_module(it->second);
  xmp_free_context(it->second);
  songs_.erase(it);
}

void XmpModulePlayer::Render(uint8_t* stream, int bytes) {
  std::lock_guard lock(mutex_);
  // Loop count 0: the song wraps to its restart position for ever.
  if (playing_ == 0) {
    std::memset(stream, 0, static_cast<size_t>(bytes));
  } else if (channels_ <= 2) {
    if (xmp_play_buffer(songs_[playing_], stream, bytes, 0) != 0) std::memset(stream, 0, static_cast<size_t>(bytes));
  } else {
    // libxmp renders mono or stereo; a device with more channels gets the stereo
    // frames on its front pair and silence on the rest, at the song's own speed.
    const size_t frames = static_cast<size_t>(bytes) / (2 * channels_);
    if (stereo_.size() < frames * 2) stereo_.resize(frames * 2);
    if (xmp_play_buffer(songs_[playing_], stereo_.data(), static_cast<int>(frames * 4), 0) != 0)
      std::fill(stereo_.begin(), stereo_.end(), int16_t{0});
    std::memset(stream, 0, static_cast<size_t>(bytes));
    auto* out = reinterpret_cast<int16_t*>(stream);
    for (size_t f = 0; f < frames; ++f) {
      out[f * channels_] = stereo_[f * 2];
      out[f * channels_ + 1] = stereo_[f * 2 + 1];
    }
  }
}

void XmpModulePlayer::Callback(void* self, uint8_t* stream, int bytes) {
  static_cast<XmpModulePlayer*>(self)->Render(stream, bytes);
}

}  // namespace pondaro
