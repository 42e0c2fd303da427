#include "settings/environment.h"

#include <algorithm>

namespace verselane {

void Environment::SetScore(int score) { score_ = std::max(score, 0); }

void Environment::ResetTallies() {
  score_ = 0;
  correctCount_ = 0;
  askedCount_ = 0;
}

}  // namespace verselane
