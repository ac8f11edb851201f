// A test suite with SDL started once for all its tests, on the dummy drivers
// unless SDL_VIDEODRIVER says otherwise.
#pragma once
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "desktop/sdl_system.h"

namespace pondaro::test {

class SdlSuite : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 0);
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 0);
    runtime_ = std::make_unique<SdlRuntime>();
    std::string error;
    ASSERT_TRUE(runtime_->Start(error)) << error;
  }
  static void TearDownTestSuite() { runtime_.reset(); }

 private:
  static inline std::unique_ptr<SdlRuntime> runtime_;
};

}  // namespace pondaro::test
