#include "game/study_queue.h"

namespace verselane {

StudyQueue::StudyQueue(const std::vector<PlanItem>& plan) : active_(true) {
  for (const PlanItem& item : plan) {
    (item.kind == PlanKind::kNew ? unmet_ : due_).push_back(item.poem);
  }
}

// In order of preference: a poem whose wait is over; a new poem to meet, while few are waiting;
// a due poem; a poem still waiting, when nothing else could come between.
std::optional<StudyStep> StudyQueue::Take() {
  if (std::optional<StudyStep> step = AskWaiting(true)) return step;
  if (!unmet_.empty() && ShownWaiting() < kMostShownWaiting) {
    inHand_ = Waiting{unmet_.front(), 0, kQuestionsAfterShowing, 0};
    unmet_.pop_front();
    return StudyStep{StudyAction::kShow, inHand_->poem};
  }
  if (!due_.empty()) {
    inHand_ = Waiting{due_.front(), 0, 0, 1};
    due_.pop_front();
    return StudyStep{StudyAction::kAsk, inHand_->poem};
  }
  return AskWaiting(false);
}

// With nothing else to ask, the poem nearest the end of its wait goes first (the longest waiting
// of those), so that the others still gain what spacing is left.
std::optional<StudyStep> StudyQueue::AskWaiting(bool readyOnly) {
  auto chosen = waiting_.end();
  int least = 0;
  for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
    const int left = it->gap - (questions_ - it->questionsBefore);
    if (readyOnly && left > 0) continue;
    if (chosen == waiting_.end() || left < least) {
      chosen = it;
      least = left;
    }
    if (readyOnly) break;
  }
  if (chosen == waiting_.end()) return std::nullopt;
  inHand_ = *chosen;
  ++inHand_->asks;
  waiting_.erase(chosen);
  return StudyStep{StudyAction::kAsk, inHand_->poem};
}

int StudyQueue::ShownWaiting() const {
  int shown = 0;
  for (const Waiting& waiting : waiting_) shown += waiting.asks == 0 ? 1 : 0;
  return shown;
}

void StudyQueue::Shown(int poem) {
  if (!inHand_ || inHand_->poem != poem) return;
  inHand_->questionsBefore = questions_;
  waiting_.push_back(*inHand_);
  inHand_.reset();
}

void StudyQueue::Answered(int poem, bool correct) {
  if (!active_) return;
  ++questions_;
  if (!inHand_ || inHand_->poem != poem) return;
  if (!correct && inHand_->asks < kMostAsks) {
    inHand_->questionsBefore = questions_;
    inHand_->gap = kQuestionsAfterMiss;
    waiting_.push_back(*inHand_);
  }
  inHand_.reset();
}

bool StudyQueue::HasSteps() const {
  return !due_.empty() || !unmet_.empty() || !waiting_.empty();
}

}  // namespace verselane
