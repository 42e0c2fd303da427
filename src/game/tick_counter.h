// Whole steps counted from the 50 ms timer ticks: the game's clocks count seconds with it.
#pragma once

namespace verselane {

// Tick counts wrap back to 0 on reaching this value.
inline constexpr int kTickLimit = 2147483647;
inline constexpr int kTimerPeriodMs = 50;
inline constexpr int kTicksPerSecond = 1000 / kTimerPeriodMs;

class TickCounter {
 public:
  TickCounter() = default;
  // A counter whose tick wraps at `limit` (a small limit lets the wrap be exercised).
  explicit TickCounter(int limit) : limit_(limit) {}

  // Counts afresh from `startSteps`; the interval and the running flag are kept.
  void Reset(int startSteps);
  void SetInterval(int ticks) { interval_ = ticks; }
  void SetRunning(bool running) { running_ = running; }
  bool running() const { return running_; }
  int steps() const { return steps_; }
  // Ticks counted while running since the reset (wrapping at the limit).
  int ticks() const { return tick_; }

  // One timer tick. A step completes on the tick that finds `interval` ticks gone since the last
  // one, so after a reset the first step comes on the (interval + 1)-th call. Only a running
  // counter moves.
  void Tick();

 private:
  int tick_ = 0;      // ticks since the reset, wrapping at limit_
  int mark_ = 0;      // tick_ at the last completed step
  int steps_ = 0;
  int interval_ = 0;
  int carry_ = 0;     // ticks between mark_ and a wrap of tick_
  bool running_ = false;
  int limit_ = kTickLimit;
};

}  // namespace verselane
