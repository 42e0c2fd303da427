#include "evaluate/fit_weights.h"

#include <algorithm>
#include <cmath>

#include "evaluate/metrics.h"

namespace verselane {
namespace {

// Lower and upper bound of each weight: the first stabilities positive, the difficulty's start
// within its scale, the decay between a tenth and eight tenths.
constexpr FsrsWeights kLowest = {0.001, 0.001, 0.001, 0.001, 1.0,   0.001, 0.001,
                                 0.001, 0.0,   0.0,   0.001, 0.001, 0.001, 0.001,
                                 0.0,   0.0,   1.0,   0.0,   0.0,   0.0,   0.1};
constexpr FsrsWeights kHighest = {100.0, 100.0, 100.0, 100.0, 10.0, 4.0, 4.0, 0.75, 4.5, 0.8, 3.5,
                                  5.0,   0.25,  0.9,   4.0,   1.0,  6.0, 2.0, 2.0,  0.8, 0.8};

FsrsWeights Gradient(const std::vector<AnswerRecord>& answers, const FsrsWeights& w) {
  FsrsWeights gradient{};
  for (std::size_t i = 0; i < w.size(); ++i) {
    const double h = 1e-4 * std::max(std::abs(w[i]), 0.01);
    FsrsWeights up = w, down = w;
    up[i] += h;
    down[i] -= h;
    gradient[i] = (ReviewLogLoss(answers, up) - ReviewLogLoss(answers, down)) / (2 * h);
  }
  return gradient;
}

}  // namespace

double ReviewLogLoss(const std::vector<AnswerRecord>& answers, const FsrsWeights& w) {
  std::vector<Prediction> predictions;
  ReplayAnswers(answers, w, [&](const AnswerRecord& answer, const MemoryState& before, Day day) {
    predictions.push_back(
        {Retrievability(day - before.lastReview, before.stability, w), answer.correct});
  });
  return LogLoss(predictions);
}

FsrsWeights FitWeights(const std::vector<AnswerRecord>& answers, const FsrsWeights& start,
                       int steps) {
  if (static_cast<int>(answers.size()) < kFitAnswers) return start;
  constexpr double kBeta1 = 0.9, kBeta2 = 0.999, kEpsilon = 1e-8;
  FsrsWeights w = start, m{}, v{};
  for (int step = 1; step <= steps; ++step) {
    const FsrsWeights gradient = Gradient(answers, w);
    for (std::size_t i = 0; i < w.size(); ++i) {
      m[i] = kBeta1 * m[i] + (1 - kBeta1) * gradient[i];
      v[i] = kBeta2 * v[i] + (1 - kBeta2) * gradient[i] * gradient[i];
      const double mHat = m[i] / (1 - std::pow(kBeta1, step));
      const double vHat = v[i] / (1 - std::pow(kBeta2, step));
      w[i] = std::clamp(w[i] - kFitStep * mHat / (std::sqrt(vHat) + kEpsilon), kLowest[i],
                        kHighest[i]);
    }
  }
  return w;
}

}  // namespace verselane
