// The state shared by the game, the settings and the window for the life of the program: the
// poem data, the question sources, the player's settings, the play state and the current run's
// tallies and wrong answers.
#pragma once

#include "catalogue/poem_catalogue.h"
#include "catalogue/poem_groups.h"
#include "catalogue/retry_list.h"
#include "settings/settings.h"
#include "settings/types.h"

namespace verselane {

class Environment {
 public:
  Environment() = default;
  // One environment lives for the whole program and is handed around by reference.
  Environment(const Environment&) = delete;
  Environment& operator=(const Environment&) = delete;

  const PoemCatalogue& catalogue() const { return catalogue_; }

  QuestionSources& sources() { return sources_; }
  const QuestionSources& sources() const { return sources_; }

  RetryList& retryList() { return retryList_; }
  const RetryList& retryList() const { return retryList_; }

  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }

  PlayState playState() const { return playState_; }
  void SetPlayState(PlayState state) { playState_ = state; }

  // The run's tallies. The score never goes below 0: a penalty larger than the score leaves 0.
  int score() const { return score_; }
  void SetScore(int score);
  int correctCount() const { return correctCount_; }
  void SetCorrectCount(int count) { correctCount_ = count; }
  int askedCount() const { return askedCount_; }
  void SetAskedCount(int count) { askedCount_ = count; }

  // Zeroes the score and both counters for a new run.
  void ResetTallies();

 private:
  PoemCatalogue catalogue_;
  QuestionSources sources_;
  RetryList retryList_;
  Settings settings_;
  PlayState playState_ = PlayState::Idle;
  int score_ = 0;
  int correctCount_ = 0;
  int askedCount_ = 0;
};

}  // namespace verselane
