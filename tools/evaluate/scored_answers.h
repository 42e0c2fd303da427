// The answers a model of memory can be asked to foretell, each with what the two models the game
// has would have said of it from the answers before it.
#pragma once

#include <vector>

#include "game/memory_model.h"
#include "records/answer_history.h"

namespace verselane {

struct ScoredAnswer {
  std::size_t answer = 0;  // its place among the answers given
  double fsrsChance = 0;   // the FSRS chance of recall (ReplayAnswers, Retrievability)
  double weakness = 0;     // the weak-poems run's score (Weakness)
  bool recalled = false;
};

// The answers, in the order given, that are the first to their poem on their day and whose poem
// was answered on an earlier day: those that move the schedule and can be foretold. Both models
// see the answers given before that day, as the game would at its start (the player's pace of
// answering included); the weakness is taken at the moment of the answer. FSRS with the weights
// `w`.
std::vector<ScoredAnswer> ScoreAnswers(const std::vector<AnswerRecord>& answers,
                                       const FsrsWeights& w = kDefaultWeights);

}  // namespace verselane
