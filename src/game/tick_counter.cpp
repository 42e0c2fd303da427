#include "game/tick_counter.h"

namespace verselane {

void TickCounter::Reset(int startSteps) {
  tick_ = 0;
  mark_ = 0;
  steps_ = startSteps;
  // A carry belongs to the mark it was measured from; kept across a reset it would cut the first
  // step after the reset short.
  carry_ = 0;
}

void TickCounter::Tick() {
  if (!running_) return;
  const int t = tick_;
  if (t == 0 && mark_ != 0) {  // tick_ wrapped since the last step
    carry_ = limit_ - mark_;
    mark_ = 0;
  }
  const long long elapsed = static_cast<long long>(carry_) - mark_ + t;
  if (elapsed >= interval_) {
    ++steps_;
    mark_ = t;
    if (carry_ > 0) carry_ = 0;
  }
  tick_ = t + 1 == limit_ ? 0 : t + 1;
}

}  // namespace verselane
