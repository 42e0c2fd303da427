#include "game/animation_channel.h"

#include "game/tick_counter.h"

namespace verselane {

void AnimationChannel::Reset(int initial) {
  value_ = initial;
  latest_ = 0;
  carry_ = 0;
}

void AnimationChannel::Feed(int tick) {
  latest_ = tick;
  if (tick == 0 && stamp_ != 0) {
    carry_ = kTickLimit - stamp_;
    stamp_ = 0;
  }
}

bool AnimationChannel::Due(int interval) const {
  return static_cast<long long>(carry_) + latest_ - stamp_ >= interval;
}

void AnimationChannel::Step(int value) {
  value_ = value;
  stamp_ = latest_;
  if (carry_ > 0) carry_ = 0;
}

bool AnimationChannel::Set(int value) {
  if (value_ == value) return false;
  value_ = value;
  return true;
}

}  // namespace verselane
