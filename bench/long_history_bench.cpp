// What a long history costs the window once the history is kept in memory (a hundred thousand
// answers: three years of some 90 a day; a million: thirty years, or a keen player's decade):
//
// - the return to Idle after a run: the results closed, today's plan drawn up from the memory
//   model's state and the idle frame drawn (a desktop that draws nothing, seeded_history.h's
//   database behind the game);
// - the mastery window's data: the history's outlook (each poem's memory and figures, the runs)
//   and the page it composes before it shows (stages, forecast, the next fourteen days);
// - the start: the history read whole on the writer's thread, and what of it falls on the
//   window's thread (the call that starts the read and the plan read once it is done);
// - `verselane --plan`: the database read and replayed as it is read.
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>

#include "base/random_source.h"
#include "catalogue/poem_catalogue.h"
#include "game/answer_recorder.h"
#include "game/game_controller.h"
#include "game/history_outlook.h"
#include "game/key_latch.h"
#include "game/mastery_page.h"
#include "game/plan_report.h"
#include "quiet_desktop.h"
#include "seeded_history.h"
#include "settings/preferences.h"
#include "settings/settings_controller.h"

namespace verselane {
namespace {

class SilentNotices : public NoticePort {
 public:
  void ShowNotice(const std::string&, const std::string&, NoticeIcon) override {}
};

// The day after the last of LongHistory(answers), as Unix time.
std::int64_t DayAfter(int answers) {
  return 1'704'100'000 + std::int64_t{answers / 90 + 1} * 86'400;
}

// The game over a history of `answers` answers, opened, on the day after its last; one for each
// size, made when first used.
struct GameWithHistory {
  explicit GameWithHistory(int answers)
      : seeded(answers), recorder(seeded.path(), notices, [answers] { return DayAfter(answers); }) {
    ok = seeded.ok() && recorder.Open();
    game.ResetGame();
    game.UpdateFrame();
  }

  SeededHistory seeded;
  SilentNotices notices;
  AnswerRecorder recorder;
  const PoemCatalogue catalogue;
  KeyLatch keys;
  QuietDesktop desktop;
  SettingsController saved{"/dev/null/env.ini"};  // never loaded nor saved
  Preferences preferences;
  SystemRandom random;
  GameController game{catalogue, saved.settings(), saved.sources(), preferences, keys, random,
                      recorder,  desktop,          desktop,          desktop,     desktop,
                      desktop,   desktop,          desktop};
  bool ok = false;
};

template <int kAnswers>
GameWithHistory* Game(benchmark::State& state) {
  static GameWithHistory game(kAnswers);
  if (!game.ok) {
    state.SkipWithError("the history cannot be written or opened");
    return nullptr;
  }
  return &game;
}

template <int kAnswers>
void ReturnToIdle(benchmark::State& state) {
  GameWithHistory* with = Game<kAnswers>(state);
  if (with == nullptr) return;
  for (auto _ : state) {
    with->game.CloseResults(false);
    if (!with->game.UpdateFrame()) state.SkipWithError("the idle frame was not drawn");
  }
  const auto& plan = with->game.plan();
  state.counters["planPoems"] = plan ? static_cast<double>(plan->size()) : -1;
}

template <int kAnswers>
void OpenMastery(benchmark::State& state) {
  GameWithHistory* with = Game<kAnswers>(state);
  if (with == nullptr) return;
  for (auto _ : state) {
    const HistoryOutlook outlook = with->recorder.Outlook();
    // All the window shows: stages, legend, forecast, the next fourteen days, the scores.
    const MasteryPage page = ComposeMasteryPage(outlook, with->catalogue, {});
    benchmark::DoNotOptimize(&page);
  }
}

void BM_ReturnToIdleWithHundredThousandAnswers(benchmark::State& state) {
  ReturnToIdle<100'000>(state);
}
BENCHMARK(BM_ReturnToIdleWithHundredThousandAnswers)->Unit(benchmark::kMillisecond);

void BM_ReturnToIdleWithMillionAnswers(benchmark::State& state) {
  ReturnToIdle<1'000'000>(state);
}
BENCHMARK(BM_ReturnToIdleWithMillionAnswers)->Unit(benchmark::kMillisecond);

void BM_OpenMasteryWithHundredThousandAnswers(benchmark::State& state) {
  OpenMastery<100'000>(state);
}
BENCHMARK(BM_OpenMasteryWithHundredThousandAnswers)->Unit(benchmark::kMillisecond);

void BM_OpenMasteryWithMillionAnswers(benchmark::State& state) {
  OpenMastery<1'000'000>(state);
}
BENCHMARK(BM_OpenMasteryWithMillionAnswers)->Unit(benchmark::kMillisecond);

// The start with a million answers. Wall time of the whole read on the writer's thread, from
// OpenAside to its call back (the menu's history items stay greyed meanwhile); "windowThreadMs",
// what the window's thread spends: starting the read, then the plan drawn up and the menu set
// once the read is done (HistoryOpened).
void BM_StartWithMillionAnswers(benchmark::State& state) {
  GameWithHistory* with = Game<1'000'000>(state);
  if (with == nullptr) return;
  double windowThread = 0;
  for (auto _ : state) {
    SilentNotices notices;
    AnswerRecorder recorder(with->seeded.path(), notices, [] { return DayAfter(1'000'000); });
    GameController game{with->catalogue, with->saved.settings(), with->saved.sources(),
                        with->preferences, with->keys, with->random, recorder, with->desktop,
                        with->desktop, with->desktop, with->desktop, with->desktop,
                        with->desktop, with->desktop};
    game.ResetGame();
    std::mutex mutex;
    std::condition_variable done;
    bool opened = false;
    auto start = std::chrono::steady_clock::now();
    recorder.OpenAside([&] {
      std::lock_guard lock(mutex);
      opened = true;
      done.notify_all();
    });
    windowThread += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    {
      std::unique_lock lock(mutex);
      done.wait(lock, [&] { return opened; });
    }
    start = std::chrono::steady_clock::now();
    game.HistoryOpened();
    windowThread += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!game.plan() || game.plan()->empty()) state.SkipWithError("no plan from the history");
  }
  state.counters["windowThreadMs"] =
      benchmark::Counter(windowThread * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StartWithMillionAnswers)->Unit(benchmark::kMillisecond)->UseRealTime();

// `verselane --plan` from a million answers, the database opened read-only and checked as the
// command does; its memory is measured on the command itself (docs/performance.md).
void BM_PlanReportWithMillionAnswers(benchmark::State& state) {
  GameWithHistory* with = Game<1'000'000>(state);
  if (with == nullptr) return;
  const Day today = *DayOf("2024-01-01") + 1'000'000 / 90 + 1;
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream errors;
    if (!PrintPlanReport(with->seeded.path(), today, {}, with->catalogue, out, errors)) {
      state.SkipWithError("the plan could not be read");
    }
    benchmark::DoNotOptimize(out.str().data());
  }
}
BENCHMARK(BM_PlanReportWithMillionAnswers)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace verselane
