// The measures of a prediction on small sets worked by hand.
#include "evaluate/metrics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace verselane {
namespace {

TEST(MetricsTest, LogLossAndBinnedRmse) {
  // −(ln 0.8 + ln 0.2 + ln 0.5 + ln 0.9) / 4 = 0.657772.
  // Bins: 0.8 and 0.8 with one of two recalled (0.3 off), 0.5 recalled (0.5 off), 0.1 not (0.1
  // off): √((2·0.09 + 0.25 + 0.01) / 4) = 0.331662.
  const std::vector<Prediction> four = {{0.8, true}, {0.8, false}, {0.5, true}, {0.1, false}};
  EXPECT_NEAR(LogLoss(four), 0.657772, 1e-6);
  EXPECT_NEAR(BinnedRmse(four), 0.331662, 1e-6);

  // A certainty goes in the last bin, with 0.95: mean chance 0.975, one of two recalled.
  EXPECT_NEAR(BinnedRmse({{1.0, true}, {0.95, false}}), 0.475, 1e-9);
  // A certain miss costs −ln 1e−6, not infinity.
  EXPECT_NEAR(LogLoss({{1.0, false}}), -std::log(kSurest), 1e-6);
  EXPECT_EQ(LogLoss({}), 0.0);
  EXPECT_EQ(BinnedRmse({}), 0.0);
}

TEST(MetricsTest, LogisticFitFindsTheLikeliestMapping) {
  // At x = 0 one of four recalled, at x = 1 three of four: σ(a) = 1/4, σ(a + b) = 3/4, so
  // a = −ln 3 and b = 2·ln 3.
  std::vector<Sample> samples = {{0, true}, {0, false}, {0, false}, {0, false},
                                 {1, true}, {1, true},  {1, true},  {1, false}};
  const Logistic fit = FitLogistic(samples);
  EXPECT_NEAR(fit.intercept, -std::log(3.0), 1e-6);
  EXPECT_NEAR(fit.slope, 2 * std::log(3.0), 1e-6);
  EXPECT_NEAR(fit(0.5), 0.5, 1e-6);

  // All at one x: the slope cannot be told, the chance is the share recalled.
  const Logistic flat = FitLogistic({{0.3, true}, {0.3, true}, {0.3, true}, {0.3, false}});
  EXPECT_NEAR(flat(0.3), 0.75, 1e-6);
}

}  // namespace
}  // namespace verselane
