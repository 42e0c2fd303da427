#include "settings/settings.h"

#include "catalogue/poem_groups.h"

namespace verselane {

void Settings::SaveSourceForRetry(int retryCount) {
  if (source_ != kRetrySource) {
    savedSource_ = source_;
    savedQuestionCount_ = questionCount_;
  }
  source_ = kRetrySource;
  questionCount_ = retryCount;
}

bool Settings::RestoreSavedSource() {
  if (source_ != kRetrySource) return false;
  source_ = savedSource_;
  questionCount_ = savedQuestionCount_;
  return true;
}

}  // namespace verselane
