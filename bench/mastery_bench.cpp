// A long history read back whole from its database (AnswerRecorder::Snapshot, summed up for each
// poem) and replayed through the memory model: what the mastery window waited for before it
// showed, until the history was kept in memory (long_history_bench.cpp measures what it waits for
// now). The figures to compare with.
//
// The database is written once (seeded_history.h).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "base/notices.h"
#include "catalogue/poem_catalogue.h"
#include "game/answer_recorder.h"
#include "game/history_outlook.h"
#include "game/mastery_page.h"
#include "long_history.h"
#include "seeded_history.h"

namespace verselane {
namespace {

class SilentNotices : public NoticePort {
 public:
  void ShowNotice(const std::string&, const std::string&, NoticeIcon) override {}
};

// The recorder of the seeded history, opened; null (and the benchmark skipped) when it fails.
AnswerRecorder* OpenRecorder(benchmark::State& state) {
  static const SeededHistory seeded(100'000);
  static SilentNotices notices;
  static AnswerRecorder recorder(seeded.path(), notices);
  if (!seeded.ok() || !recorder.Open()) {
    state.SkipWithError("the history cannot be written or opened");
    return nullptr;
  }
  return &recorder;
}

void BM_HistorySnapshot(benchmark::State& state) {
  AnswerRecorder* recorder = OpenRecorder(state);
  if (recorder == nullptr) return;
  for (auto _ : state) {
    const HistorySnapshot history = recorder->Snapshot();
    benchmark::DoNotOptimize(history.poems.data());
  }
}
BENCHMARK(BM_HistorySnapshot)->Unit(benchmark::kMillisecond);

// The snapshot, every answer replayed through the memory model and the window's page composed:
// the stages, the forecast and the next fourteen days' plans.
void BM_MasteryWindowOpening(benchmark::State& state) {
  AnswerRecorder* recorder = OpenRecorder(state);
  if (recorder == nullptr) return;
  const PoemCatalogue catalogue;
  for (auto _ : state) {
    const HistorySnapshot history = recorder->Snapshot();
    const HistoryOutlook outlook = OutlookOf(history);
    const MasteryPage page = ComposeMasteryPage(outlook, catalogue, {});
    benchmark::DoNotOptimize(page.legend.data());
  }
}
BENCHMARK(BM_MasteryWindowOpening)->Unit(benchmark::kMillisecond);

// The forecast alone, from the memory of the long history and from none (the longest: every
// poem yet to be introduced at five a day).
void BM_MasteryForecast(benchmark::State& state) {
  const PoemCatalogue catalogue;
  HistorySnapshot history;
  if (state.range(0) != 0) history.answers = LongHistory(100'000);
  history.now = history.answers.empty() ? 1'800'000'000 : history.answers.back().answeredAt;
  const HistoryOutlook outlook = OutlookOf(history);
  for (auto _ : state) {
    const MasteryForecast forecast = ForecastMastery(outlook, catalogue, {});
    benchmark::DoNotOptimize(forecast.allLearned);
  }
}
BENCHMARK(BM_MasteryForecast)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The figures of each poem summed up from the answers (a part of the snapshot).
void BM_SummariseHundredThousandAnswers(benchmark::State& state) {
  const std::vector<AnswerRecord> answers = LongHistory(100'000);
  for (auto _ : state) benchmark::DoNotOptimize(SummarisePoems(answers).data());
}
BENCHMARK(BM_SummariseHundredThousandAnswers)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace verselane
