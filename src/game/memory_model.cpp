#include "game/memory_model.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "catalogue/poem_table.h"
#include "game/scoring.h"

namespace verselane {
namespace {

constexpr double kMinStability = 0.001;

double Number(Grade grade) { return static_cast<double>(grade); }

constexpr int kModes = 3;
bool KnownMode(int mode) { return mode >= 0 && mode < kModes; }

double InitialDifficultyUnclamped(Grade grade, const FsrsWeights& w) {
  return w[4] - std::exp(w[5] * (Number(grade) - 1.0)) + 1.0;
}

}  // namespace

// The weights with what follows from them alone, worked out once for a whole replay rather than
// again at every review.
struct MemoryReplay::Model {
  explicit Model(const FsrsWeights& weights)
      : w(weights),
        factor(std::pow(0.9, -1.0 / weights[20]) - 1.0),
        recallGrowth(std::exp(weights[8])),
        easyStart(InitialDifficultyUnclamped(Grade::kEasy, weights)),
        lapseShrink(std::exp(weights[17] * weights[18])) {}
  FsrsWeights w;
  // The forgetting curve R = (1 + factor·t/S)^(−w20), its factor chosen so that R(S, S) = 0.9.
  double factor;
  double recallGrowth;  // e^w8
  double easyStart;     // the first difficulty of an Easy, before it is held within 1 to 10
  double lapseShrink;   // e^(w17·w18)
};

namespace {

using Model = MemoryReplay::Model;
const Model kDefaultModel(kDefaultWeights);

double Recall(double days, double stability, const Model& m) {
  return std::pow(1.0 + m.factor * std::max(days, 0.0) / stability, -m.w[20]);
}

double InitialDifficulty(Grade grade, const FsrsWeights& w) {
  return std::clamp(InitialDifficultyUnclamped(grade, w), 1.0, 10.0);
}

// Each grade moves the difficulty, less the nearer it is to 10, and it drifts a little back
// toward that of a first Easy, so that a poem once missed often can still become easy.
double NextDifficulty(double d, Grade grade, const Model& m) {
  const double step = -m.w[6] * (Number(grade) - 3.0);
  const double damped = d + step * (10.0 - d) / 9.0;
  const double reverted = m.w[7] * m.easyStart + (1.0 - m.w[7]) * damped;
  return std::clamp(reverted, 1.0, 10.0);
}

double StabilityAfterRecall(double d, double s, double r, Grade grade, const Model& m) {
  const FsrsWeights& w = m.w;
  const double hard = grade == Grade::kHard ? w[15] : 1.0;
  const double easy = grade == Grade::kEasy ? w[16] : 1.0;
  const double growth = m.recallGrowth * (11.0 - d) * std::pow(s, -w[9]) *
                        (std::exp(w[10] * (1.0 - r)) - 1.0) * hard * easy;
  return s * (1.0 + growth);
}

// After a lapse the memory starts again from a stability that grows with the old one, capped so
// that forgetting never leaves a poem more stable than it was.
double StabilityAfterLapse(double d, double s, double r, const Model& m) {
  const FsrsWeights& w = m.w;
  const double relearnt =
      w[11] * std::pow(d, -w[12]) * (std::pow(s + 1.0, w[13]) - 1.0) * std::exp(w[14] * (1.0 - r));
  return std::min(relearnt, s / m.lapseShrink);
}

double ClampStability(double s) { return std::clamp(s, kMinStability, double{kMaxIntervalDays}); }

MemoryState Review(const std::optional<MemoryState>& before, Grade grade, Day day,
                   const Model& m) {
  if (!before) {
    return {ClampStability(m.w[static_cast<int>(grade) - 1]), InitialDifficulty(grade, m.w), day,
            day};
  }
  const double d = before->difficulty;
  const double s = before->stability;
  const double r = Recall(day - before->lastReview, s, m);
  const double next = grade == Grade::kAgain ? StabilityAfterLapse(d, s, r, m)
                                             : StabilityAfterRecall(d, s, r, grade, m);
  return {ClampStability(next), NextDifficulty(d, grade, m), before->firstReview, day};
}

int Median(std::vector<int>& values) {
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

}  // namespace

std::optional<Day> DayOf(std::string_view localTime) {
  // Read by hand: a long history has one date per answer, and this is most of replaying it.
  if (localTime.size() < 10 || localTime[4] != '-' || localTime[7] != '-') return std::nullopt;
  int digits[8];
  int n = 0;
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (localTime[i] < '0' || localTime[i] > '9') return std::nullopt;
    digits[n++] = localTime[i] - '0';
  }
  const int y = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
  const unsigned m = static_cast<unsigned>(digits[4] * 10 + digits[5]);
  const unsigned d = static_cast<unsigned>(digits[6] * 10 + digits[7]);
  const std::chrono::year_month_day date{std::chrono::year{y}, std::chrono::month{m},
                                         std::chrono::day{d}};
  if (!date.ok()) return std::nullopt;
  return std::chrono::sys_days{date}.time_since_epoch().count();
}

std::string DateText(Day day) {
  const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{day}}};
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

double Retrievability(double days, double stability, const FsrsWeights& w) {
  return Recall(days, stability, Model(w));
}

int IntervalDays(double stability, double retention) {
  const double days = stability / kDefaultModel.factor *
                      (std::pow(retention, -1.0 / kDefaultWeights[20]) - 1.0);
  int whole = static_cast<int>(std::clamp(std::ceil(days), 1.0, double{kMaxIntervalDays}));
  // The curve decides, not the rounding of its inverse: the day given is the very day on which the
  // poem is found due.
  if (whole > 1 && Retrievability(whole - 1, stability) <= retention) --whole;
  if (whole < kMaxIntervalDays && Retrievability(whole, stability) > retention) ++whole;
  return whole;
}

MemoryState ReviewMemory(const std::optional<MemoryState>& before, Grade grade, Day day,
                         const FsrsWeights& w) {
  return Review(before, grade, day, Model(w));
}

AnswerPace PaceOf(const std::vector<AnswerRecord>& answers) {
  std::vector<int> times[kModes];
  for (const AnswerRecord& answer : answers) {
    const int mode = static_cast<int>(answer.mode);
    if (answer.correct && KnownMode(mode)) times[mode].push_back(answer.milliseconds);
  }
  AnswerPace pace;
  for (int mode = 0; mode < kModes; ++mode) {
    pace.rightAnswers[mode] = static_cast<int>(times[mode].size());
    if (!times[mode].empty()) pace.medianRightMs[mode] = Median(times[mode]);
  }
  return pace;
}

Grade GradeAnswer(const AnswerRecord& answer, const AnswerPace& pace) {
  if (!answer.correct) return Grade::kAgain;
  if (answer.milliseconds > kTimeLimitSeconds * 1000) return Grade::kHard;
  const int mode = static_cast<int>(answer.mode);
  if (KnownMode(mode) && pace.rightAnswers[mode] >= kPaceAnswers &&
      answer.milliseconds < kQuickShare * pace.medianRightMs[mode]) {
    return Grade::kEasy;
  }
  return Grade::kGood;
}

MemoryReplay::MemoryReplay(const FsrsWeights& w)
    : model_(std::make_unique<Model>(w)), poems_(kPoemTableSize) {}
MemoryReplay::~MemoryReplay() = default;
MemoryReplay::MemoryReplay(MemoryReplay&&) noexcept = default;
MemoryReplay& MemoryReplay::operator=(MemoryReplay&&) noexcept = default;

MemoryReplay::MemoryReplay(const MemoryReplay& other)
    : model_(std::make_unique<Model>(*other.model_)),
      poems_(other.poems_),
      pace_(other.pace_),
      date_(other.date_),
      day_(other.day_) {}

AnswerPace MemoryReplay::pace() const {
  AnswerPace pace;
  for (int mode = 0; mode < kModes; ++mode) {
    pace.rightAnswers[mode] = pace_[mode].count();
    pace.medianRightMs[mode] = pace_[mode].UpperMiddle();
  }
  return pace;
}

void MemoryReplay::Add(const AnswerRecord& answer, const ReviewObserver& observe) {
  // Answers come in runs of one day: a date read is read again only when it changes.
  const std::string_view answerDate = std::string_view(answer.localTime).substr(0, 10);
  if (answerDate != date_ || date_.empty()) {
    date_.assign(answerDate);
    day_ = DayOf(answer.localTime);
  }
  // Graded by the pace of the answers before it; then it is part of the pace.
  const Grade grade = GradeAnswer(answer, pace());
  const int mode = static_cast<int>(answer.mode);
  if (answer.correct && KnownMode(mode)) pace_[mode].Add(answer.milliseconds);
  if (!day_ || answer.poem < 0 || answer.poem >= kPoemTableSize) return;
  std::optional<MemoryState>& memory = poems_[answer.poem];
  if (memory && *day_ == memory->lastReview) return;
  if (memory && observe) observe(answer, *memory, *day_);
  memory = Review(memory, grade, *day_, *model_);
}

std::vector<std::optional<MemoryState>> ReplayAnswers(const std::vector<AnswerRecord>& answers,
                                                      const FsrsWeights& w,
                                                      const ReviewObserver& observe) {
  MemoryReplay replay(w);
  for (const AnswerRecord& answer : answers) replay.Add(answer, observe);
  return replay.memory();
}

}  // namespace verselane
