#include "game/game_animation.h"

#include <algorithm>

#include "game/scoring.h"
#include "game/tick_counter.h"

namespace verselane {
namespace {

// Ticks between steps of each channel at the 50 ms period; 0 steps on every tick.
constexpr int kEveryTick = 0;
constexpr int kRevealInterval = 1000 / kTimerPeriodMs;  // one kana a second
constexpr int kTimeBarInterval = kTimeLimitSeconds * kTicksPerSecond / kTimeBarFull;
constexpr int kMarkerInterval = 80 / kTimerPeriodMs;
constexpr int kColonInterval = 250 / kTimerPeriodMs;

// Pop-up, countdown, reveal, time bar, input marker, colon.
constexpr int kIdleValues[] = {-1, kCountdownStart, 0, kTimeBarFull, -1, 1};

// The bar refills while the revealed kana are cleared one a tick, so both end together.
int RefillStep(int bar, int reveal) {
  const int gap = kTimeBarFull - bar;
  return reveal > 1 ? (gap + reveal - 1) / reveal : gap;
}

}  // namespace

GameAnimation::GameAnimation() { Reset(); }

bool GameAnimation::Reset() {
  bool changed = false;
  for (int channel = 0; channel < kChannelCount; ++channel) {
    changed |= channels_[channel].value() != kIdleValues[channel];
    channels_[channel].Reset(kIdleValues[channel]);
  }
  return changed;
}

AnimationStep GameAnimation::Step(int tick, PlayState state, bool gameClockRunning,
                                  const RunState& run, int questionMs) {
  finished_ = false;
  bool changed = state == PlayState::Idle ? Reset() : Adjust(state, run);
  for (AnimationChannel& channel : channels_) channel.Feed(tick);
  if (state == PlayState::Running) changed |= Animate(run, questionMs);
  changed |= StepColon(gameClockRunning);
  return {changed, finished_};
}

// Fixes what a pause, a resume or an answer leaves on screen before the channels move.
bool GameAnimation::Adjust(PlayState state, const RunState& run) {
  bool changed = false;
  if (state == PlayState::Running) {
    // The first wait redraws every tick: it is when "START !!" first appears.
    changed = run.phase == Phase::kFirstWait;
    // A countdown at its start after the set-up is the "PAUSE" of a pause just resumed.
    if (IsQuestionPut(run.phase) && countdown() == kCountdownStart) {
      changed |= At(kCountdown).Set(-1);
    }
    // Once answered, the whole prompt is shown, also what the kimariji limit held back.
    if ((run.phase == Phase::kPopupIn || run.phase == Phase::kReview) &&
        reveal() < run.promptCells()) {
      changed |= At(kReveal).Set(run.promptCells());
    }
  } else if (state == PlayState::Paused) {
    changed |= At(kCountdown).Set(kCountdownStart);
    changed |= At(kColon).Set(1);
  }
  return changed;
}

bool GameAnimation::Animate(const RunState& run, int questionMs) {
  bool changed = StepCountdown(run);
  changed |= StepPopup(run);
  changed |= StepTimeBar(run);
  changed |= StepReveal(run, questionMs);
  changed |= StepMarker(run);
  return changed;
}

bool GameAnimation::StepCountdown(const RunState& run) {
  AnimationChannel& countdown = At(kCountdown);
  if (run.phase != Phase::kCountdown || !countdown.Due(kEveryTick)) return false;
  countdown.Step(std::max(countdown.value() - 1, -1));
  finished_ = countdown.value() == -1;
  return true;
}

bool GameAnimation::StepPopup(const RunState& run) {
  AnimationChannel& popup = At(kPopup);
  if (run.phase == Phase::kPopupIn && popup.Due(kEveryTick)) {
    popup.Step(std::min(popup.value() + 1, kPopupShown));
    if (popup.value() == kPopupShown) {
      refillStep_ = RefillStep(timeBar(), reveal());
      finished_ = true;
    }
    return true;
  }
  if (run.phase == Phase::kPopupOut && popup.Due(kEveryTick)) {
    popup.Step(std::max(popup.value() - 1, -1));
    finished_ = popup.value() == -1;
    return true;
  }
  return false;
}

bool GameAnimation::StepTimeBar(const RunState& run) {
  AnimationChannel& bar = At(kTimeBar);
  if (run.phase == Phase::kAnswering && bar.Due(kTimeBarInterval) && bar.value() > 0) {
    bar.Step(bar.value() - 1);
    return true;
  }
  if (run.phase == Phase::kClearDown && bar.Due(kEveryTick) && bar.value() < kTimeBarFull &&
      refillStep_ > 0) {
    bar.Step(std::min(bar.value() + refillStep_, kTimeBarFull));
    return true;
  }
  return false;
}

// While answering, one kana a second, or each as the voice says it (none while only heard).
bool GameAnimation::StepReveal(const RunState& run, int questionMs) {
  AnimationChannel& reveal = At(kReveal);
  const QuestionState& question = run.question;
  if (run.phase == Phase::kAnswering && !question.cellStartMs.empty()) {
    if (question.textHidden) return false;
    const auto heard = std::upper_bound(question.cellStartMs.begin(), question.cellStartMs.end(),
                                        questionMs) -
                       question.cellStartMs.begin();
    const int shown = std::min(static_cast<int>(heard), run.revealLimit);
    if (shown <= reveal.value()) return false;
    reveal.Step(shown);
    return true;
  }
  if (run.phase == Phase::kAnswering) {
    if (!reveal.Due(kRevealInterval) || reveal.value() >= run.revealLimit) return false;
    reveal.Step(reveal.value() + 1);
    return true;
  }
  if (run.phase != Phase::kClearDown || !reveal.Due(kEveryTick)) return false;
  if (reveal.value() > 0) reveal.Step(reveal.value() - 1);
  finished_ = reveal.value() == 0;
  return true;
}

// The marker bounces between -1 (blank) and its last frame. Turning at either end before the
// move also sends it upwards after a reset caught it on its way down.
bool GameAnimation::StepMarker(const RunState& run) {
  AnimationChannel& marker = At(kMarker);
  if (run.phase != Phase::kAnswering || !marker.Due(kMarkerInterval)) return false;
  if (marker.value() >= kMarkerLastFrame) markerDirection_ = -1;
  if (marker.value() <= -1) markerDirection_ = 1;
  marker.Step(marker.value() + markerDirection_);
  return true;
}

bool GameAnimation::StepColon(bool gameClockRunning) {
  AnimationChannel& colon = At(kColon);
  if (!gameClockRunning || !colon.Due(kColonInterval)) return false;
  colon.Step(colon.value() != 0 ? 0 : 1);
  return true;
}

}  // namespace verselane
