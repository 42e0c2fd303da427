// Measures the memory model the game schedules by, on simulated learners (learner.h) and on
// players' own histories:
//
//   verselane-evaluate [--learners N] [--days N] [--plan-days N] [--fit-steps N] [--seed N]
//                      [HISTORY.sqlite3...]
//
// 1. Every answer that can be foretold from the answers before it (scored_answers.h) is, by the
//    FSRS model with its default weights, by the weak-poems run's score mapped to a chance by a
//    logistic fitted on a training part, and by one constant chance (the training part's share of
//    right answers). Simulated: the even learners train, the odd ones are measured. A history:
//    its first half trains, its second half is measured.
// 2. The weights fitted to each player's own answers (fit_weights.h) against the defaults: fitted
//    on the first half of a history, both measured on the answers of the second half; for each
//    held-out learner and each history given.
// 3. Learners who play today's plan once a day, at three target retentions: the share of due
//    poems they recalled against the target, over all the days and from kSettledDay on, and the
//    day all hundred were learned.
//
// Deterministic for a given seed; prints tables on standard output, exits 1 when a history
// cannot be read and 2 on a bad argument.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "evaluate/fit_weights.h"
#include "evaluate/metrics.h"
#include "evaluate/scored_answers.h"
#include "evaluate/simulation.h"

namespace verselane {
namespace {

struct Options {
  int learners = 40;
  int days = 90;
  int planDays = 60;
  int fitSteps = 40;
  int seed = 1;
  std::vector<std::string> histories;
};

bool ReadOptions(int argc, char** argv, Options& options) {
  const std::pair<const char*, int Options::*> numbers[] = {
      {"--learners", &Options::learners}, {"--days", &Options::days},
      {"--plan-days", &Options::planDays}, {"--fit-steps", &Options::fitSteps},
      {"--seed", &Options::seed}};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!arg.starts_with("--")) {
      options.histories.push_back(arg);
      continue;
    }
    const auto* number = std::find_if(std::begin(numbers), std::end(numbers),
                                      [&](const auto& n) { return arg == n.first; });
    if (number == std::end(numbers) || i + 1 >= argc) return false;
    char* end = nullptr;
    const long value = std::strtol(argv[++i], &end, 10);
    if (*end != '\0' || value < 1 || value > 100000) return false;
    options.*(number->second) = static_cast<int>(value);
  }
  return options.learners >= 2;
}

// Learner n of a run with seed s, the same in the prediction tables and the plan's.
std::uint64_t LearnerSeed(const Options& options, int learner) {
  return static_cast<std::uint64_t>(options.seed) * 1000003 + static_cast<std::uint64_t>(learner);
}

struct Split {
  std::vector<ScoredAnswer> train;
  std::vector<ScoredAnswer> test;
};

void PrintRow(const std::string& data, std::size_t answers, const char* model,
              const std::vector<Prediction>& predictions) {
  std::printf("%-28s %8zu  %-20s %8.4f %10.4f\n", data.c_str(), answers, model,
              LogLoss(predictions), BinnedRmse(predictions));
}

void ReportPredictions(const std::string& data, const Split& split) {
  std::vector<Sample> samples;
  double right = 0;
  for (const ScoredAnswer& a : split.train) {
    samples.push_back({a.weakness, a.recalled});
    right += a.recalled ? 1.0 : 0.0;
  }
  const Logistic mapping = FitLogistic(samples);
  const double constant =
      split.train.empty() ? 0.5 : right / static_cast<double>(split.train.size());
  std::vector<Prediction> fsrs, weakness, flat;
  for (const ScoredAnswer& a : split.test) {
    fsrs.push_back({a.fsrsChance, a.recalled});
    weakness.push_back({mapping(a.weakness), a.recalled});
    flat.push_back({constant, a.recalled});
  }
  PrintRow(data, split.test.size(), "fsrs-default", fsrs);
  PrintRow("", split.test.size(), "weakness-logistic", weakness);
  PrintRow("", split.test.size(), "constant", flat);
  std::printf("%-28s trained on %zu: chance = 1/(1+e^-(%.3f %+.3f*weakness)), constant %.3f\n", "",
              split.train.size(), mapping.intercept, mapping.slope, constant);
}

void PrintPredictionHeader() {
  std::printf("Foretelling each answer from the answers before it\n");
  std::printf("%-28s %8s  %-20s %8s %10s\n", "data", "answers", "model", "log-loss", "rmse-bins");
}

using History = std::vector<AnswerRecord>;

// The simulated learners' histories: the even ones train, the odd ones are held out.
struct Learners {
  std::vector<History> train;
  std::vector<History> test;
};

Learners SimulateLearners(const Options& options, const PoemCatalogue& catalogue) {
  Learners learners;
  for (int learner = 0; learner < options.learners; ++learner) {
    (learner % 2 == 0 ? learners.train : learners.test)
        .push_back(SimulateHistory(LearnerSeed(options, learner), catalogue, options.days));
  }
  return learners;
}

std::vector<ScoredAnswer> ScoreAll(const std::vector<History>& histories) {
  std::vector<ScoredAnswer> all;
  for (const History& history : histories) {
    const std::vector<ScoredAnswer> scored = ScoreAnswers(history);
    all.insert(all.end(), scored.begin(), scored.end());
  }
  return all;
}

// The answers of a history's second half, foretold with the defaults and with the weights
// fitted to its first half.
struct FitOutcome {
  std::vector<Prediction> defaults;
  std::vector<Prediction> fitted;
};

FitOutcome FitFirstHalf(const History& history, int steps) {
  const std::size_t half = history.size() / 2;
  const FsrsWeights fitted =
      FitWeights(History(history.begin(), history.begin() + static_cast<std::ptrdiff_t>(half)),
                 kDefaultWeights, steps);
  FitOutcome outcome;
  for (const ScoredAnswer& a : ScoreAnswers(history)) {
    if (a.answer >= half) outcome.defaults.push_back({a.fsrsChance, a.recalled});
  }
  for (const ScoredAnswer& a : ScoreAnswers(history, fitted)) {
    if (a.answer >= half) outcome.fitted.push_back({a.fsrsChance, a.recalled});
  }
  return outcome;
}

void ReportFits(const std::string& data, const std::vector<History>& histories, int steps) {
  FitOutcome all;
  int worse = 0;
  for (const History& history : histories) {
    const FitOutcome outcome = FitFirstHalf(history, steps);
    if (LogLoss(outcome.fitted) > LogLoss(outcome.defaults)) ++worse;
    all.defaults.insert(all.defaults.end(), outcome.defaults.begin(), outcome.defaults.end());
    all.fitted.insert(all.fitted.end(), outcome.fitted.begin(), outcome.fitted.end());
  }
  std::printf("%-28s %8zu %8zu %10.4f %10.4f %10.4f %10.4f %6d\n", data.c_str(), histories.size(),
              all.defaults.size(), LogLoss(all.defaults), LogLoss(all.fitted),
              BinnedRmse(all.defaults), BinnedRmse(all.fitted), worse);
}

void PrintFitHeader(int steps) {
  std::printf(
      "\nThe weights fitted to each player's first half (%d steps, %d answers or more), "
      "measured on their second half\n",
      steps, kFitAnswers);
  std::printf("%-28s %8s %8s %10s %10s %10s %10s %6s\n", "data", "players", "answers", "loss-dflt",
              "loss-fit", "rmse-dflt", "rmse-fit", "worse");
}

bool ReadHistory(const std::string& path, History& answers) {
  AnswerHistory history;
  FileStatus status = history.Open(path, AnswerHistory::Access::kReadOnly);
  if (status.ok()) status = history.Answers(answers);
  if (!status.ok()) {
    std::cerr << "verselane-evaluate: " << path << HistoryReadProblem(status) << '\n';
    return false;
  }
  return true;
}

void ReportHistoryPredictions(const std::string& path, const History& answers) {
  const std::vector<ScoredAnswer> scored = ScoreAnswers(answers);
  const auto middle = scored.begin() + static_cast<std::ptrdiff_t>(scored.size() / 2);
  ReportPredictions(path, {{scored.begin(), middle}, {middle, scored.end()}});
}

// "day N" of the median learner (the upper one of an even number) among `learners`, of whom those
// in `days` got there and the others did not; "never" when the median learner did not.
std::string MedianDay(std::vector<int> days, int learners) {
  if (static_cast<int>(days.size()) <= learners / 2) return "never";
  const auto middle = days.begin() + learners / 2;
  std::nth_element(days.begin(), middle, days.end());
  return "day " + std::to_string(*middle);
}

// "0.8712 -0.0288": the share recalled and its distance from the target; dashes when none was
// asked.
std::string RetentionText(const Recalls& recalls, double target) {
  if (recalls.asked == 0) return "         -        -";
  const double retention = static_cast<double>(recalls.right) / recalls.asked;
  char text[32];
  std::snprintf(text, sizeof text, "%10.4f %+8.4f", retention, retention - target);
  return text;
}

void ReportPlan(const Options& options, const PoemCatalogue& catalogue) {
  std::printf("\nPlaying today's plan once a day for %d days (%d learners, %d new poems a day)\n",
              options.planDays, options.learners, PlanSettings{}.newPerDay);
  std::printf("%-8s %8s %10s %8s %9s %10s %8s %14s %14s\n", "target", "reviews", "retention",
              "gap", "reviews30", "retain30", "gap30", "all-learned", "learned-at-end");
  for (double target : {0.80, 0.90, 0.95}) {
    Recalls due, settled;
    int learned = 0;
    std::vector<int> allLearned;
    for (int learner = 0; learner < options.learners; ++learner) {
      const PlanOutcome outcome = FollowPlan(LearnerSeed(options, learner), catalogue,
                                             {PlanSettings{}.newPerDay, target}, options.planDays);
      due.asked += outcome.due.asked;
      due.right += outcome.due.right;
      settled.asked += outcome.dueSettled.asked;
      settled.right += outcome.dueSettled.right;
      learned += outcome.learnedAtEnd;
      if (outcome.allLearnedDay) allLearned.push_back(*outcome.allLearnedDay);
    }
    const std::string day = MedianDay(allLearned, options.learners);
    std::printf("%-8.2f %8d %s %9d %s %14s %14.1f\n", target, due.asked,
                RetentionText(due, target).c_str(), settled.asked,
                RetentionText(settled, target).c_str(), day.c_str(),
                static_cast<double>(learned) / options.learners);
  }
  std::printf(
      "(retention: the share of due poems recalled over all the days, retain30 from day %d on;\n"
      " all-learned: the median learner's day, \"never\" when the median learner is not there by\n"
      " the last day)\n",
      kSettledDay);
}

}  // namespace
}  // namespace verselane

int main(int argc, char** argv) {
  using namespace verselane;
  Options options;
  if (!ReadOptions(argc, argv, options)) {
    std::cerr << "usage: verselane-evaluate [--learners N (2 or more)] [--days N] [--plan-days N] "
                 "[--fit-steps N] [--seed N] [HISTORY.sqlite3...]\n";
    return 2;
  }
  const PoemCatalogue catalogue;
  const Learners learners = SimulateLearners(options, catalogue);
  const std::string simulated = "simulated (" + std::to_string(learners.test.size()) + " held out)";
  std::vector<std::pair<std::string, History>> histories;
  bool readAll = true;
  for (const std::string& path : options.histories) {
    History answers;
    readAll = ReadHistory(path, answers) && readAll;
    if (!answers.empty()) histories.emplace_back(path, std::move(answers));
  }

  PrintPredictionHeader();
  ReportPredictions(simulated, {ScoreAll(learners.train), ScoreAll(learners.test)});
  for (const auto& [path, answers] : histories) ReportHistoryPredictions(path, answers);
  PrintFitHeader(options.fitSteps);
  ReportFits(simulated, learners.test, options.fitSteps);
  for (const auto& [path, answers] : histories) ReportFits(path, {answers}, options.fitSteps);
  ReportPlan(options, catalogue);
  return readAll ? 0 : 1;
}
