// Today's plan as a teacher takes a learner through it: a poem never met is first shown, and
// asked only once other questions have come between, so that the answer comes from memory and
// not from the card still before the eyes; a poem missed comes back later in the same run, so
// that the learner does not leave with the wrong version in mind.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "game/daily_plan.h"

namespace verselane {

enum class StudyAction { kShow, kAsk };

struct StudyStep {
  StudyAction action = StudyAction::kAsk;
  int poem = 0;
  bool operator==(const StudyStep&) const = default;
};

// A poem shown is asked after at least kQuestionsAfterShowing other questions, a poem missed
// after at least kQuestionsAfterMiss, or sooner when nothing else is left to ask (a short run:
// the one nearest the end of its wait first);
// a poem is asked at most kMostAsks times in a run.
inline constexpr int kQuestionsAfterShowing = 2;
inline constexpr int kQuestionsAfterMiss = 3;
inline constexpr int kMostAsks = 3;
// At most this many poems are shown and not yet asked at once: new poems are met one or two at a
// time between the questions, rather than all before the first question.
inline constexpr int kMostShownWaiting = 2;

class StudyQueue {
 public:
  // No steps at all: a run that is not today's plan.
  StudyQueue() = default;
  // The steps of `plan` (PlanDay's order): its due poems asked, its new poems shown and then
  // asked.
  explicit StudyQueue(const std::vector<PlanItem>& plan);

  // Whether this run is taken step by step from the plan.
  bool active() const { return active_; }
  // The step to take now, taken out of the queue; nothing when the run is over. A poem shown
  // comes back once Shown is told, a poem asked once Answered is.
  std::optional<StudyStep> Take();
  void Shown(int poem);
  void Answered(int poem, bool correct);
  // Whether a step is left to take.
  bool HasSteps() const;
  // The new poems not shown yet, in the order they will be.
  std::vector<int> unmet() const { return {unmet_.begin(), unmet_.end()}; }

 private:
  struct Waiting {
    int poem = 0;
    int questionsBefore = 0;  // the questions answered in the run when it began to wait
    int gap = 0;              // the other questions to come between
    int asks = 0;             // how often it has been asked in this run
  };
  std::optional<StudyStep> AskWaiting(bool readyOnly);
  int ShownWaiting() const;

  bool active_ = false;
  std::deque<int> due_;
  std::deque<int> unmet_;
  std::vector<Waiting> waiting_;  // in the order they began to wait
  std::optional<Waiting> inHand_;  // the poem of the step taken last, until it is told back
  int questions_ = 0;              // questions answered in the run
};

}  // namespace verselane
