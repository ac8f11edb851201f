// A sprite that flies with a looped sound of its own (the insects). The flight
// sound stops when the last live sprite carrying it is gone.
#pragma once

namespace pondaro {

class TFlightSoundSource {
 public:
  virtual ~TFlightSoundSource() = default;
  // The sound's name in the sound collection ("mushka", "muha", ...).
  virtual const char* FlightSound() const = 0;
};

}  // namespace pondaro
