// Random numbers for picking questions and poems; tests substitute a fixed sequence.
#pragma once

#include <cstdint>
#include <random>

namespace verselane {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A number in [0, bound); bound is at least 1.
  virtual std::uint32_t Below(std::uint32_t bound) = 0;
};

class SystemRandom : public RandomSource {
 public:
  SystemRandom() : engine_(std::random_device{}()) {}
  std::uint32_t Below(std::uint32_t bound) override {
    return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(engine_);
  }

 private:
  std::mt19937 engine_;
};

}  // namespace verselane
