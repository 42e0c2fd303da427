// The moving parts of the game screen: six channels stepped once per frame off the animation
// tick, some of which also end a phase when their animation is done.
#pragma once

#include <array>

#include "game/animation_channel.h"
#include "game/run_state.h"
#include "settings/types.h"

namespace verselane {

inline constexpr int kTimeBarFull = 302;
inline constexpr int kPopupShown = 10;   // pop-up frames run -1 (hidden) to 10 (fully shown)
inline constexpr int kCountdownStart = 10;
inline constexpr int kMarkerLastFrame = 4;

class GameAnimation {
 public:
  GameAnimation();

  // Puts every channel back to the idle picture; returns whether any value changed.
  bool Reset();

  // One frame at animation tick `tick`. Moves the channels of the current phase, ends the
  // countdown, pop-up and clear-down phases when their animation is done, and blinks the clock's
  // colons while the game clock runs. Returns whether anything on screen changed.
  bool Step(int tick, PlayState state, bool gameClockRunning, RunState& run);

  int popupFrame() const { return Value(kPopup); }
  int countdown() const { return Value(kCountdown); }
  int reveal() const { return Value(kReveal); }
  int timeBar() const { return Value(kTimeBar); }
  int markerFrame() const { return Value(kMarker); }
  bool colonShown() const { return Value(kColon) != 0; }

 private:
  enum Channel { kPopup, kCountdown, kReveal, kTimeBar, kMarker, kColon, kChannelCount };

  int Value(Channel channel) const { return channels_[channel].value(); }
  AnimationChannel& At(Channel channel) { return channels_[channel]; }

  bool Adjust(PlayState state, RunState& run);
  bool Animate(RunState& run);
  bool StepCountdown(RunState& run);
  bool StepPopup(RunState& run);
  bool StepTimeBar(const RunState& run);
  bool StepReveal(RunState& run);
  bool StepMarker(const RunState& run);
  bool StepColon(bool gameClockRunning);

  std::array<AnimationChannel, kChannelCount> channels_;
  int markerDirection_ = 1;
  int refillStep_ = 0;  // pixels the time bar regains per tick of the clear-down
};

}  // namespace verselane
