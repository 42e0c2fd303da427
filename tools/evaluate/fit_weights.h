// The FSRS weights fitted to one player's answers, as FSRS's own optimiser does: the weights that
// make the answers least surprising (the lowest log loss of each review foretold from the reviews
// before it), found by steps down the gradient from the published defaults.
#pragma once

#include <vector>

#include "game/memory_model.h"
#include "records/answer_history.h"

namespace verselane {

// The log loss of every review foretold by replaying `answers` with the weights `w` (the reviews
// ReplayAnswers observes); 0 when there is none.
double ReviewLogLoss(const std::vector<AnswerRecord>& answers, const FsrsWeights& w);

// `steps` steps of Adam (step size kFitStep) from `start`, the gradient taken by central
// differences, each weight held within the range FSRS keeps it in so that the curve stays a
// forgetting curve. Fewer answers than kFitAnswers are too few to tell a player from the many
// learners the defaults were fitted to: `start` is returned as it is.
inline constexpr int kFitAnswers = 500;
inline constexpr double kFitStep = 0.04;
FsrsWeights FitWeights(const std::vector<AnswerRecord>& answers, const FsrsWeights& start,
                       int steps);

}  // namespace verselane
