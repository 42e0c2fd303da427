// What the game asks of the desktop, as narrow interfaces: the window layer implements them with
// the real controls, tests with small fakes.
#pragma once

#include <string>

namespace verselane {

// The answer line the player types into.
class AnswerBoxPort {
 public:
  virtual ~AnswerBoxPort() = default;
  // The whole text typed so far, as CP932 bytes.
  virtual std::string ReadText() = 0;
};

// Wave sounds, played asynchronously; a new sound replaces the one playing.
enum class SoundId : int {
  kCorrect = 147,
  kWrong = 173,
  kRunFinished = 174,
  kFavouriteHit = 176,
  kFavouriteMissed = 177,
};

class SoundPort {
 public:
  virtual ~SoundPort() = default;
  virtual void Play(SoundId sound) = 0;
};

}  // namespace verselane
