// The engine's share of one 50 ms timer tick, without any drawing: a tick in which nothing
// changes, and a busy answering tick with the time bar and the reveal moving.
#include <benchmark/benchmark.h>

#include <string>

#include "game/command_handler.h"
#include "quiet_desktop.h"
#include "game/desktop_ports.h"
#include "game/frame.h"
#include "game/game_controller.h"
#include "game/key_latch.h"
#include "base/random_source.h"
#include "base/file_ports.h"
#include "catalogue/poem_catalogue.h"
#include "settings/preferences.h"
#include "settings/settings_controller.h"

namespace verselane {
namespace {

struct Engine {
  Engine() {
    game.ResetGame();
    game.UpdateFrame();
  }
  // A fresh run, ticked on to its first question.
  void ReachAnswering() {
    commands.Restart();
    commands.Start();
    while (game.phase() != Phase::kAnswering) game.Tick();
  }

  const PoemCatalogue catalogue;
  KeyLatch keys;
  QuietDesktop desktop;
  // Never loaded nor saved: a path where nothing can be written.
  SettingsController saved{"/dev/null/env.ini"};
  Preferences preferences;
  SystemRandom random;
  GameController game{catalogue, saved.settings(), saved.sources(), preferences, keys, random,
                      desktop, desktop, desktop, desktop, desktop, desktop, desktop, desktop};
  CommandHandler commands{game,    preferences, desktop, desktop, desktop,
                          desktop, desktop,     desktop};
};

void BM_Tick_IdleNothingChanges(benchmark::State& state) {
  Engine engine;
  engine.game.Tick();
  const long long drawsBefore = engine.desktop.draws;
  for (auto _ : state) benchmark::DoNotOptimize(engine.game.Tick());
  state.counters["draws"] = static_cast<double>(engine.desktop.draws - drawsBefore);
}
BENCHMARK(BM_Tick_IdleNothingChanges);

// Answering: the bar shrinks every tick, a kana is revealed every 20. The question is put again
// before the bar runs out, outside the timing.
void BM_Tick_BusyAnswering(benchmark::State& state) {
  Engine engine;
  constexpr int kTicksPerQuestion = 250;
  int ticks = 0;
  long long draws = 0;
  engine.ReachAnswering();
  for (auto _ : state) {
    if (++ticks == kTicksPerQuestion) {
      state.PauseTiming();
      ticks = 0;
      engine.ReachAnswering();
      state.ResumeTiming();
    }
    const long long before = engine.desktop.draws;
    benchmark::DoNotOptimize(engine.game.Tick());
    draws += engine.desktop.draws - before;
  }
  state.counters["drawsPerTick"] =
      benchmark::Counter(static_cast<double>(draws), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Tick_BusyAnswering);

}  // namespace
}  // namespace verselane
