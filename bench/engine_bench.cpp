// The engine's share of one 50 ms timer tick, without any drawing: a tick in which nothing
// changes, and a busy answering tick with the time bar and the reveal moving.
#include <benchmark/benchmark.h>

#include <string>

#include "game/command_handler.h"
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

// A desktop that does nothing, keeps no history, says Yes and counts the frames it is asked to
// draw.
class QuietDesktop : public AnswerBoxControlPort, public SoundPort, public InputMethodPort,
                     public MainWindowPort, public PromptPort, public NoticePort,
                     public DialogPort, public ScreenPort, public PreferencesPort,
                     public HistoryPort, public VoicePort {
 public:
  std::string ReadText() override { return {}; }
  void Clear() override {}
  void Show() override {}
  void Hide() override {}
  bool IsVisible() const override { return false; }
  void Focus() override {}
  void Play(SoundId) override {}
  void RequestOpen() override {}
  bool OffersJapanese() override { return true; }
  void SetHint(const std::string&) override {}
  void SetRomajiInput(bool) override {}
  void SetMenuItemChecked(int, bool) override {}
  void SetMenuItemLabel(int, const std::string&) override {}
  void SetZoom(int) override {}
  void Save(const Preferences&) override {}
  void SetMenuItemEnabled(int, bool) override {}
  void Destroy() override {}
  bool Confirm(const std::string&, const std::string&) override { return true; }
  void ShowNotice(const std::string&, const std::string&, NoticeIcon) override {}
  void OpenResults(const RunFigures&, std::function<void(bool)>) override {}
  void OpenSettings() override {}
  void OpenRecordList() override {}
  void OpenMastery(const HistorySnapshot&) override {}
  void OpenAbout() override {}
  void ShowHelp() override {}
  bool EditPlanSettings(PlanSettings&) override { return false; }
  void OpenMeeting(const PoemCard&, std::function<void()> closed) override { closed(); }
  void RecordAnswer(const AnswerRecord&) override {}
  void RecordRun(const RunRecord&) override {}
  bool HasAnswers() const override { return false; }
  HistorySnapshot Snapshot() override { return {}; }
  std::optional<KeptAnswers> ReadAnswers() override { return std::nullopt; }
  void ReportWriteFailure() override {}
  bool Installed() override { return false; }
  void Prepare(std::vector<RecitationRequest>) override {}
  std::optional<Recitation> Ready(const RecitationRequest&) override { return std::nullopt; }
  void Play(const Recitation&) override {}
  void Stop() override {}
  bool Failed() override { return false; }
  void ReportFailure() override {}
  bool DrawFrame(const GameFrame& frame) override {
    benchmark::DoNotOptimize(frame.timeBarWidth);
    ++draws;
    return true;
  }

  long long draws = 0;
};

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
