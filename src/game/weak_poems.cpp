#include "game/weak_poems.h"

#include <algorithm>
#include <cmath>

#include "game/scoring.h"

namespace verselane {
namespace {

constexpr double kMissWeight = 0.60;
constexpr double kSlowWeight = 0.25;
constexpr double kForgottenWeight = 0.15;
constexpr double kHalfLifeDays = 7.0;
constexpr double kSecondsPerDay = 86400.0;

}  // namespace

double Weakness(const PoemFigures& poem, std::int64_t now) {
  const int answers = std::max(poem.recentAnswers, 0);
  const double miss = (poem.recentWrong + 1.0) / (answers + 2.0);
  double slow = 1.0;
  if (poem.recentMedianRightMs) {
    const double seconds = *poem.recentMedianRightMs / 1000.0;
    slow = std::clamp((seconds - kGraceSeconds) / (kTimeLimitSeconds - kGraceSeconds), 0.0, 1.0);
  }
  double forgotten = 1.0;
  if (poem.lastRightAt) {
    // A clock set back makes the last right answer lie ahead: taken as just now.
    const double days = std::max<std::int64_t>(now - *poem.lastRightAt, 0) / kSecondsPerDay;
    forgotten = 1.0 - std::exp2(-days / kHalfLifeDays);
  }
  return kMissWeight * miss + kSlowWeight * slow + kForgottenWeight * forgotten;
}

std::vector<int> WeakestPoems(const std::vector<PoemFigures>& poems, std::int64_t now, int count) {
  std::vector<std::pair<double, int>> ranked;
  for (const PoemFigures& poem : poems) {
    if (poem.answers > 0) ranked.emplace_back(Weakness(poem, now), poem.poem);
  }
  std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  });
  std::vector<int> weakest;
  for (const auto& [weakness, poem] : ranked) {
    if (static_cast<int>(weakest.size()) >= count) break;
    weakest.push_back(poem);
  }
  return weakest;
}

}  // namespace verselane
