// The moving parts of the game screen: six channels stepped once per frame off the animation
// tick. The countdown, the pop-ups and the clear-down end their phase when they are done: the
// animation reports that, and the game moves the phase on.
#pragma once

#include <array>

#include "game/animation_channel.h"
#include "game/run.h"

namespace verselane {

inline constexpr int kTimeBarFull = 302;
inline constexpr int kPopupShown = 10;   // pop-up frames run -1 (hidden) to 10 (fully shown)
inline constexpr int kCountdownStart = 10;
inline constexpr int kMarkerLastFrame = 4;

// What one frame of the animation did.
struct AnimationStep {
  bool changed = false;   // anything on screen changed
  bool finished = false;  // the current phase's animation has run its course
};

class GameAnimation {
 public:
  GameAnimation();

  // Puts every channel back to the idle picture; returns whether any value changed.
  bool Reset();

  // One frame at animation tick `tick`, `questionMs` into the current question: moves the
  // channels of the current phase and blinks the clock's colons while the game clock runs.
  AnimationStep Step(int tick, PlayState state, bool gameClockRunning, const RunState& run,
                     int questionMs);

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

  bool Adjust(PlayState state, const RunState& run);
  bool Animate(const RunState& run, int questionMs);
  bool StepCountdown(const RunState& run);
  bool StepPopup(const RunState& run);
  bool StepTimeBar(const RunState& run);
  bool StepReveal(const RunState& run, int questionMs);
  bool StepMarker(const RunState& run);
  bool StepColon(bool gameClockRunning);

  std::array<AnimationChannel, kChannelCount> channels_;
  int markerDirection_ = 1;
  int refillStep_ = 0;  // pixels the time bar regains per tick of the clear-down
  bool finished_ = false;  // set by the step that ends the current phase's animation
};

}  // namespace verselane
