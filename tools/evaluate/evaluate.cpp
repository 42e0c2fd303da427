// Measures the memory model the game schedules by, on simulated learners (learner.h) and on
// players' own histories:
//
//   verselane-evaluate [--learners N] [--days N] [--plan-days N] [--seed N] [HISTORY.sqlite3...]
//
// 1. Every answer that can be foretold from the answers before it (scored_answers.h) is, by the
//    FSRS model with its default weights, by the weak-poems run's score mapped to a chance by a
//    logistic fitted on a training part, and by one constant chance (the training part's share of
//    right answers). Simulated: the even learners train, the odd ones are measured. A history:
//    its first half trains, its second half is measured.
// 2. Learners who play today's plan once a day, at three target retentions: the share of due
//    poems they recalled against the target, and the day all hundred were learned.
//
// Deterministic for a given seed; prints tables on standard output, exits 1 when a history
// cannot be read and 2 on a bad argument.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "evaluate/metrics.h"
#include "evaluate/scored_answers.h"
#include "evaluate/simulation.h"

namespace verselane {
namespace {

struct Options {
  int learners = 40;
  int days = 90;
  int planDays = 60;
  std::uint64_t seed = 1;
  std::vector<std::string> histories;
};

bool ReadOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.starts_with("--")) {
      if (i + 1 >= argc) return false;
      char* end = nullptr;
      const long long value = std::strtoll(argv[++i], &end, 10);
      if (*end != '\0' || value < 1 || value > 100000) return false;
      if (arg == "--learners") options.learners = static_cast<int>(value);
      else if (arg == "--days") options.days = static_cast<int>(value);
      else if (arg == "--plan-days") options.planDays = static_cast<int>(value);
      else if (arg == "--seed") options.seed = static_cast<std::uint64_t>(value);
      else return false;
    } else {
      options.histories.push_back(arg);
    }
  }
  return options.learners >= 2;
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
  const double constant = split.train.empty() ? 0.5 : right / static_cast<double>(split.train.size());
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

Split SimulatedSplit(const Options& options, const PoemCatalogue& catalogue) {
  Split split;
  for (int learner = 0; learner < options.learners; ++learner) {
    const std::vector<ScoredAnswer> scored =
        ScoreAnswers(SimulateHistory(options.seed * 1000003 + learner, catalogue, options.days));
    std::vector<ScoredAnswer>& part = learner % 2 == 0 ? split.train : split.test;
    part.insert(part.end(), scored.begin(), scored.end());
  }
  return split;
}

bool ReportHistory(const std::string& path) {
  AnswerHistory history;
  std::vector<AnswerRecord> answers;
  FileStatus status = history.Open(path, AnswerHistory::Access::kReadOnly);
  if (status.ok()) status = history.Answers(answers);
  if (!status.ok()) {
    std::cerr << "verselane-evaluate: " << path << HistoryReadProblem(status) << '\n';
    return false;
  }
  const std::vector<ScoredAnswer> scored = ScoreAnswers(answers);
  const auto middle = scored.begin() + static_cast<std::ptrdiff_t>(scored.size() / 2);
  ReportPredictions(path, {{scored.begin(), middle}, {middle, scored.end()}});
  return true;
}

void ReportPlan(const Options& options, const PoemCatalogue& catalogue) {
  std::printf("\nPlaying today's plan once a day for %d days (%d learners, %d new poems a day)\n",
              options.planDays, options.learners, PlanSettings{}.newPerDay);
  std::printf("%-8s %8s %10s %8s %14s %14s\n", "target", "reviews", "retention", "gap",
              "all-learned", "learned-at-end");
  for (double target : {0.80, 0.90, 0.95}) {
    int asked = 0, right = 0, learned = 0;
    std::vector<int> allLearned;
    for (int learner = 0; learner < options.learners; ++learner) {
      const PlanOutcome outcome = FollowPlan(options.seed * 1000003 + learner, catalogue,
                                             {PlanSettings{}.newPerDay, target}, options.planDays);
      asked += outcome.dueAsked;
      right += outcome.dueRight;
      learned += outcome.learnedAtEnd;
      if (outcome.allLearnedDay) allLearned.push_back(*outcome.allLearnedDay);
    }
    const double retention = asked > 0 ? static_cast<double>(right) / asked : 0.0;
    std::string day = "never";
    if (static_cast<int>(allLearned.size()) * 2 > options.learners) {
      std::nth_element(allLearned.begin(), allLearned.begin() + allLearned.size() / 2, allLearned.end());
      day = "day " + std::to_string(allLearned[allLearned.size() / 2]);
    }
    std::printf("%-8.2f %8d %10.4f %+8.4f %14s %14.1f\n", target, asked, retention,
                retention - target, day.c_str(), static_cast<double>(learned) / options.learners);
  }
  std::printf("(all-learned: the median learner's day, \"never\" when half of them are not there "
              "by the last day)\n");
}

}  // namespace
}  // namespace verselane

int main(int argc, char** argv) {
  using namespace verselane;
  Options options;
  if (!ReadOptions(argc, argv, options)) {
    std::cerr << "usage: verselane-evaluate [--learners N (2 or more)] [--days N] [--plan-days N] "
                 "[--seed N] [HISTORY.sqlite3...]\n";
    return 2;
  }
  const PoemCatalogue catalogue;
  PrintPredictionHeader();
  const std::string simulated = "simulated (" + std::to_string(options.learners / 2) + " held out)";
  ReportPredictions(simulated, SimulatedSplit(options, catalogue));
  bool readAll = true;
  for (const std::string& path : options.histories) readAll = ReportHistory(path) && readAll;
  ReportPlan(options, catalogue);
  return readAll ? 0 : 1;
}
