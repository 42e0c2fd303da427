#include "evaluate/metrics.h"

#include <algorithm>
#include <cmath>

namespace verselane {

double LogLoss(const std::vector<Prediction>& predictions) {
  if (predictions.empty()) return 0;
  double sum = 0;
  for (const Prediction& p : predictions) {
    const double chance = std::clamp(p.chance, kSurest, 1.0 - kSurest);
    sum -= std::log(p.recalled ? chance : 1.0 - chance);
  }
  return sum / static_cast<double>(predictions.size());
}

double BinnedRmse(const std::vector<Prediction>& predictions) {
  if (predictions.empty()) return 0;
  double chance[kBins] = {};
  double recalled[kBins] = {};
  double count[kBins] = {};
  for (const Prediction& p : predictions) {
    const int bin = std::clamp(static_cast<int>(p.chance * kBins), 0, kBins - 1);
    chance[bin] += p.chance;
    recalled[bin] += p.recalled ? 1.0 : 0.0;
    count[bin] += 1.0;
  }
  double sum = 0;
  for (int bin = 0; bin < kBins; ++bin) {
    if (count[bin] > 0)
      sum += (chance[bin] - recalled[bin]) * (chance[bin] - recalled[bin]) / count[bin];
  }
  return std::sqrt(sum / static_cast<double>(predictions.size()));
}

double Logistic::operator()(double x) const {
  return 1.0 / (1.0 + std::exp(-(intercept + slope * x)));
}

Logistic FitLogistic(const std::vector<Sample>& samples) {
  // A faint pull toward zero keeps the step finite when the samples cannot tell the two apart.
  constexpr double kRidge = 1e-9;
  Logistic fit;
  for (int step = 0; step < 50; ++step) {
    double g0 = -kRidge * fit.intercept, g1 = -kRidge * fit.slope;
    double h00 = kRidge, h01 = 0, h11 = kRidge;
    for (const Sample& s : samples) {
      const double p = fit(s.x);
      const double residual = (s.recalled ? 1.0 : 0.0) - p;
      const double weight = p * (1.0 - p);
      g0 += residual;
      g1 += residual * s.x;
      h00 += weight;
      h01 += weight * s.x;
      h11 += weight * s.x * s.x;
    }
    const double determinant = h00 * h11 - h01 * h01;
    if (determinant <= 0) break;
    const double d0 = (h11 * g0 - h01 * g1) / determinant;
    const double d1 = (h00 * g1 - h01 * g0) / determinant;
    fit.intercept += d0;
    fit.slope += d1;
    if (std::abs(d0) + std::abs(d1) < 1e-12) break;
  }
  return fit;
}

}  // namespace verselane
