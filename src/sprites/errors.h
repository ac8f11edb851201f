// Errors the game raises: the failing operation is abandoned and the message shown.
#pragma once
#include <stdexcept>
#include <string>

namespace pondaro {

class EGameError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ESpriteError : public EGameError {
 public:
  using EGameError::EGameError;
};

// A data file that cannot be used at all; the game cannot run without it.
class EDataFileError : public EGameError {
 public:
  using EGameError::EGameError;
};

}  // namespace pondaro
