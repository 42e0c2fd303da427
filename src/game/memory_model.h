// How well the player remembers each poem: the FSRS-6 memory model (free spaced repetition
// scheduler, version 6, with its published default weights), fed with the player's typed and
// timed answers. A poem's memory has a stability S (the days after which the chance of recalling
// it has fallen to 90 %), a difficulty D (1 to 10) and the day of its last review; the chance of
// recalling it t days later is the retrievability R(t, S).
#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/running_median.h"
#include "records/answer_history.h"

namespace verselane {

// The four grades of the model, from what a typed answer tells (GradeAnswer).
enum class Grade { kAgain = 1, kHard = 2, kGood = 3, kEasy = 4 };

// A local calendar day, counted from 1970-01-01.
using Day = int;
// The day of a "YYYY-MM-DD..." text (the local time of an answer), nothing when it is no date.
std::optional<Day> DayOf(std::string_view localTime);
// "YYYY-MM-DD".
std::string DateText(Day day);
// The last day DateText writes with a four-digit year, as every file and report of the program
// writes its dates: 9999-12-31.
inline constexpr Day kLastDay =
    std::chrono::sys_days{std::chrono::year{9999} / 12 / 31}.time_since_epoch().count();

// The longest time until a poem's next review: a hundred years, never for a player.
inline constexpr int kMaxIntervalDays = 36500;

struct MemoryState {
  double stability = 0;   // days
  double difficulty = 0;  // 1 to 10
  Day firstReview = 0;
  Day lastReview = 0;

  friend bool operator==(const MemoryState&, const MemoryState&) = default;
};

// A poem counts as learned once its stability reaches kLearnedStabilityDays: three weeks after
// its last review it is still recalled nine times in ten, so it has outlived the short-term
// memory of a session and the few days after it, and only reviews weeks apart keep it. The
// mastery window's forecast and the plan's simulations count learned poems by this one rule.
inline constexpr double kLearnedStabilityDays = 21.0;
inline bool IsLearned(const MemoryState& memory) {
  return memory.stability >= kLearnedStabilityDays;
}

// The model's 21 weights, w0 to w20. The game schedules by the defaults its authors published,
// fitted to the review logs of many learners; other weights are for measuring the model
// (tools/evaluate). w17 and w18 serve here only in the cap after a lapse, and w19 not at all: with
// them FSRS also moves the memory on answers given the same day, which this program does not
// count (MemoryReplay).
using FsrsWeights = std::array<double, 21>;
inline constexpr FsrsWeights kDefaultWeights = {
    0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
    1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};

// The chance of recalling a poem `days` days after its last review.
double Retrievability(double days, double stability, const FsrsWeights& w = kDefaultWeights);

// The whole days after a review until the first day on which the chance of recall is at or below
// `retention` (0 < retention < 1), the day the poem falls due: at least one, so that a poem is
// never due again on the day it was reviewed.
int IntervalDays(double stability, double retention);

// The memory after a review graded `grade` on `day`; `before` is nothing for a first review.
MemoryState ReviewMemory(const std::optional<MemoryState>& before, Grade grade, Day day,
                         const FsrsWeights& w = kDefaultWeights);

// The player's usual pace, from which a right answer is judged quick: the median milliseconds of
// their right answers in each question mode (typing a lower phrase, an upper phrase or after a
// poet's name take different times), and how many there were, over `answers` (the upper of the
// two middle values when there is an even number). A replay grades each answer by the pace of the
// answers before it (MemoryReplay).
struct AnswerPace {
  int medianRightMs[3] = {0, 0, 0};
  int rightAnswers[3] = {0, 0, 0};
};
AnswerPace PaceOf(const std::vector<AnswerRecord>& answers);

// A wrong answer is Again. A right one is Hard when it came after the time bar had run out: the
// poem was there, but had to be searched for. It is Easy when it came in under kQuickShare of the
// player's median right answer in that mode, once there are kPaceAnswers right answers to take a
// median of: such an answer was typed straight from memory, without the pause of recalling, and
// measuring against the player's own median keeps a slow typist's fluent answers from all
// counting as merely Good and a fast typist's from all counting as Easy. Otherwise it is Good.
inline constexpr double kQuickShare = 0.75;
inline constexpr int kPaceAnswers = 10;
Grade GradeAnswer(const AnswerRecord& answer, const AnswerPace& pace);

// Which answers are reviews, and on which day. Answers are taken in the order they were given,
// whatever their dates say: the schedule follows the order of the answers, not the clock's idea
// of it. Only the first answer to a poem on a local day is a review: the model describes memory
// over days, and asking a poem again minutes after it was shown would only measure what is still
// on the screen of the mind, so later answers that day leave the schedule as it is. An answer
// dated on another day than the poem's last review is a review on its own date, also when that
// date lies before the last review (a clock set back, or the last review dated ahead by a clock
// set forward): the time between counts as none, and the poem's last review is then this
// answer's date. So a date in the future never hides the answers given after it. An answer
// without a readable date or with a poem out of range is passed over (it still sets the pace).
//
// Each answer is graded (GradeAnswer) by the pace of the answers given before it, not of the whole
// history: that way the memory moved one answer at a time as the answers are recorded and a replay
// of the whole history from its first answer (`verselane --plan`, tools/evaluate) give exactly the
// same states. `observe`, when given, is told of each review of a poem reviewed before: the answer,
// the memory as it stood and the answer's day (what the model foretold of that answer).
using ReviewObserver =
    std::function<void(const AnswerRecord& answer, const MemoryState& before, Day day)>;

// The memory of each poem moved one answer at a time, by the rules above.
class MemoryReplay {
 public:
  explicit MemoryReplay(const FsrsWeights& w = kDefaultWeights);
  ~MemoryReplay();
  MemoryReplay(const MemoryReplay& other);
  MemoryReplay(MemoryReplay&&) noexcept;
  MemoryReplay& operator=(MemoryReplay&&) noexcept;

  void Add(const AnswerRecord& answer, const ReviewObserver& observe = {});
  // By poem index, 0 to 99; nothing for a poem never answered.
  const std::vector<std::optional<MemoryState>>& memory() const { return poems_; }
  // The pace of the answers added so far, by which the next one is graded.
  AnswerPace pace() const;

  struct Model;

 private:
  std::unique_ptr<Model> model_;
  std::vector<std::optional<MemoryState>> poems_;
  std::array<RunningMedian, 3> pace_;  // right answers' milliseconds, by question mode
  std::string date_;       // "YYYY-MM-DD" of the last answer, read as day_
  std::optional<Day> day_;
};

// The memory of each poem (by poem index, 0 to 99) after replaying `answers` in the order given
// (MemoryReplay); nothing for a poem never answered.
std::vector<std::optional<MemoryState>> ReplayAnswers(const std::vector<AnswerRecord>& answers,
                                                      const FsrsWeights& w = kDefaultWeights,
                                                      const ReviewObserver& observe = {});

}  // namespace verselane
