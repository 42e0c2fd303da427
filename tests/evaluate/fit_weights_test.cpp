// Fitting the weights to a player's answers: the loss it lowers, worked by hand for one review,
// and the steps that lower it on a simulated learner's history.
#include "evaluate/fit_weights.h"

#include <gtest/gtest.h>

#include <cmath>

#include "catalogue/poem_catalogue.h"
#include "evaluate/simulation.h"

namespace verselane {
namespace {

AnswerRecord Answer(int poem, const char* localTime, bool correct) {
  AnswerRecord answer;
  answer.poem = poem;
  answer.correct = correct;
  answer.milliseconds = 8000;
  answer.localTime = localTime;
  return answer;
}

TEST(FitWeightsTest, ReviewLogLossCountsEachReviewForetold) {
  // One Good on the 10th (S = 2.3065), then three days later: R = 0.880948, recalled and then
  // not. A second answer the same day and a first answer to another poem foretell nothing.
  const std::vector<AnswerRecord> recalled = {
      Answer(0, "2027-01-10 08:00:00", true), Answer(0, "2027-01-10 09:00:00", false),
      Answer(1, "2027-01-13 08:00:00", true), Answer(0, "2027-01-13 08:00:00", true)};
  EXPECT_NEAR(ReviewLogLoss(recalled, kDefaultWeights), -std::log(0.880948), 1e-6);
  std::vector<AnswerRecord> forgotten = recalled;
  forgotten.back().correct = false;
  EXPECT_NEAR(ReviewLogLoss(forgotten, kDefaultWeights), -std::log(1 - 0.880948), 1e-5);
  // Other weights foretell otherwise: a first Good of 10 days makes R(3) 0.961.
  FsrsWeights surer = kDefaultWeights;
  surer[2] = 10.0;
  EXPECT_LT(ReviewLogLoss(recalled, surer), ReviewLogLoss(recalled, kDefaultWeights));
}

TEST(FitWeightsTest, StepsLowerTheLossOfTheAnswersFittedTo) {
  const PoemCatalogue catalogue;
  const std::vector<AnswerRecord> history = SimulateHistory(3, catalogue, 90);
  ASSERT_GE(history.size(), static_cast<std::size_t>(kFitAnswers));
  const FsrsWeights fitted = FitWeights(history, kDefaultWeights, 10);
  EXPECT_NE(fitted, kDefaultWeights);
  EXPECT_LT(ReviewLogLoss(history, fitted), ReviewLogLoss(history, kDefaultWeights) - 1e-3);
  for (double w : fitted) EXPECT_TRUE(std::isfinite(w));
  EXPECT_GE(fitted[20], 0.1);  // the decay stays within its range

  // Too few answers to tell this player from the many behind the defaults.
  const std::vector<AnswerRecord> few(history.begin(), history.begin() + kFitAnswers - 1);
  EXPECT_EQ(FitWeights(few, kDefaultWeights, 10), kDefaultWeights);
}

}  // namespace
}  // namespace verselane
