// One animated value of the game screen, with the tick of its last step, so that each value moves
// at its own pace off the one animation tick.
#pragma once

namespace verselane {

class AnimationChannel {
 public:
  int value() const { return value_; }

  // Puts the value back and forgets the ticks seen. The stamp stays: the first tick fed after a
  // restart folds it into the carry, so a channel is due at once in a new run.
  void Reset(int initial);

  // Records the current animation tick. A tick of 0 with a stamp behind it means the tick counter
  // wrapped (or started again): the ticks up to the wrap become the carry.
  void Feed(int tick);

  // Whether at least `interval` ticks have passed since the last step (0: on every tick).
  bool Due(int interval) const;

  // Moves the value, stamping the current tick.
  void Step(int value);

  // Sets the value without stamping; returns whether it changed.
  bool Set(int value);

 private:
  int value_ = 0;
  int stamp_ = 0;
  int latest_ = 0;
  int carry_ = 0;
};

}  // namespace verselane
