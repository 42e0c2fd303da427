// Small stand-ins for the desktop, for driving the game without a display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/desktop_ports.h"
#include "game/random_source.h"

namespace verselane {

class FakeAnswerBox : public AnswerBoxPort {
 public:
  std::string ReadText() override { return text; }
  std::string text;  // CP932
};

class FakeSound : public SoundPort {
 public:
  void Play(SoundId sound) override { played.push_back(sound); }
  std::vector<SoundId> played;
};

// Returns the given numbers in turn (reduced below the bound), repeating the last one.
class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(std::vector<std::uint32_t> numbers) : numbers_(std::move(numbers)) {}
  std::uint32_t Below(std::uint32_t bound) override {
    const std::uint32_t n = numbers_[next_ < numbers_.size() ? next_++ : numbers_.size() - 1];
    return n % bound;
  }

 private:
  std::vector<std::uint32_t> numbers_;
  std::size_t next_ = 0;
};

}  // namespace verselane
