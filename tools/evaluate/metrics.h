// How good a prediction of recall is, the two figures the FSRS authors' benchmark reports: the log
// loss (how surprised the model is by what happened, on average; lower is better) and the
// calibration error (whether answers given a chance of 0.8 are right eight times in ten).
#pragma once

#include <vector>

namespace verselane {

struct Prediction {
  double chance = 0;  // of recalling
  bool recalled = false;
};

// −mean(y·ln p + (1−y)·ln(1−p)), each p held within [kSurest, 1 − kSurest] so that one confident
// miss costs much but not everything; 0 for no predictions.
inline constexpr double kSurest = 1e-6;
double LogLoss(const std::vector<Prediction>& predictions);

// The predictions put in kBins bins of equal width by their chance (1 in the last); in each, the
// mean chance against the share recalled; the root of the mean square difference, each bin
// weighed by how many predictions it holds. 0 for no predictions.
inline constexpr int kBins = 10;
double BinnedRmse(const std::vector<Prediction>& predictions);

// A chance from a score x: 1 / (1 + e^−(intercept + slope·x)).
struct Logistic {
  double intercept = 0;
  double slope = 0;
  double operator()(double x) const;
};
struct Sample {
  double x = 0;
  bool recalled = false;
};
// The logistic of the largest likelihood for the samples, by Newton's method. With samples all
// alike (nothing to tell them apart) the slope stays small, not infinite.
Logistic FitLogistic(const std::vector<Sample>& samples);

}  // namespace verselane
