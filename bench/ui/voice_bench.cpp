// The reader's voice on the real sound path, without a display:
//
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null build/verselane-voice-bench
//
// - a question's set-up to the first sample the device takes, with its recitation ready: the
//   tick that puts the question (the reader plays the WAV: read, decode, convert, queue) and the
//   wait until the device has taken the first samples from the queue;
// - the spacing of the game's 50 ms ticks while the voice's worker makes recitations, each
//   burning a CPU for about half a second (a stand-in for the synthesiser), the whole process
//   held on one CPU so that the worker and the game compete for it: how late the ticks come
//   (argument 1), beside the same with a maker that costs nothing (argument 0);
// - the same spacing while the real Open JTalk makes the run's hundred upper phrases (argument
//   1; argument 3: their lower phrases and poets too) into an empty cache of the benchmark's own,
//   beside as many ticks of a game without a voice, and how long the synthesiser took.
#include <benchmark/benchmark.h>
#include <sched.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/poem_catalogue.h"
#include "catalogue/poem_groups.h"
#include "fakes/desktop_fakes.h"
#include "game/reciter.h"
#include "game/command_handler.h"
#include "game/game_controller.h"
#include "game/key_latch.h"
#include "game/menu_state.h"
#include "settings/settings_controller.h"
#include "ui/sound_player.h"
#include "ui/voice_player.h"
#include "scratch_voice.h"

namespace verselane {
namespace {

using Clock = std::chrono::steady_clock;

// Five seconds of a 220 Hz tone at 48 kHz, 16-bit mono, the format the synthesiser writes.
std::string WriteRecording() {
  const std::string path =
      (std::filesystem::temp_directory_path() / "verselane-voice-bench.wav").string();
  constexpr std::uint32_t kRate = 48000, kSamples = kRate * 5;
  std::vector<std::int16_t> samples(kSamples);
  for (std::uint32_t i = 0; i < kSamples; ++i) samples[i] = (i / 109) % 2 ? 8000 : -8000;
  auto u32 = [](std::ofstream& out, std::uint32_t v) { out.write(reinterpret_cast<char*>(&v), 4); };
  auto u16 = [](std::ofstream& out, std::uint16_t v) { out.write(reinterpret_cast<char*>(&v), 2); };
  std::ofstream out(path, std::ios::binary);
  out.write("RIFF", 4);
  u32(out, 36 + kSamples * 2);
  out.write("WAVEfmt ", 8);
  u32(out, 16);
  u16(out, 1);
  u16(out, 1);
  u32(out, kRate);
  u32(out, kRate * 2);
  u16(out, 2);
  u16(out, 16);
  out.write("data", 4);
  u32(out, kSamples * 2);
  out.write(reinterpret_cast<const char*>(samples.data()), kSamples * 2);
  return path;
}

// The engine on fake desktop parts, but for the voice: the real one, on `maker`, played on
// `output`.
struct VoicedEngine {
  VoicedEngine(RecitationMaker maker, RecordingOutput* output)
      : voice({true, std::move(maker), {}}, output, {}) {
    saved.settings().SetSource(kAllPoemsSource);
    saved.settings().SetQuestionCount(100);
    preferences.recite = true;
    game.ResetGame();
    game.UpdateFrame();
  }
  // A fresh run, ticked on to the tick before its first question's set-up.
  void ReachSetUp() {
    game.ResetGame();
    game.StartRun();
    while (game.phase() != Phase::kSetUp) game.Tick();
  }

  const PoemCatalogue catalogue;
  KeyLatch keys;
  FakeDesktop desktop;
  SettingsController saved{"/dev/null/env.ini"};
  Preferences preferences;
  NoHistory history;
  SeededRandom random{5};
  VoicePlayer voice;
  GameController game{catalogue,      saved.settings(),    saved.sources(),     preferences,
                      keys,           random,              history,             desktop.answerBox,
                      desktop.sound,  voice,               desktop.inputMethod, desktop.window,
                      desktop.screen, desktop.dialogs};
};

void BM_SetUpToFirstSample(benchmark::State& state) {
  const std::string wav = WriteRecording();
  std::ifstream file(wav, std::ios::binary);
  const auto sound = std::make_shared<const std::string>(std::istreambuf_iterator<char>(file),
                                                         std::istreambuf_iterator<char>());
  SdlSoundPlayer output;
  VoicedEngine engine(
      [&](const RecitationRequest&, Recitation& recitation) {
        recitation = {wav, 5000, {0}, sound};
        return FileStatus::Ok(wav);
      },
      &output);
  engine.ReachSetUp();
  engine.voice.WaitUntilIdle();
  if (!output.HasDevice()) state.SkipWithError("no sound device (SDL_AUDIODRIVER=disk?)");
  for (auto _ : state) {
    state.PauseTiming();
    engine.ReachSetUp();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // the device drained
    state.ResumeTiming();
    engine.game.Tick();  // the question is put
    const std::uint32_t queued = output.QueuedBytes();
    if (queued == 0) state.SkipWithError("nothing was queued");
    while (output.QueuedBytes() >= queued) std::this_thread::yield();
  }
  std::filesystem::remove(wav);
}
BENCHMARK(BM_SetUpToFirstSample)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// About half a second of one CPU's work.
void BurnHalfASecond() {
  const double until = ThreadCpuSeconds() + 0.5;
  volatile std::uint64_t sink = 0;
  while (ThreadCpuSeconds() < until) sink = sink + 1;
}

// The process (and every thread and child it starts afterwards) on one CPU, so that the
// voice's work and the game compete for it.
void HoldOnOneCpu() {
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(0, &one);
  sched_setaffinity(0, sizeof one, &one);
}

// Ticks the game on this thread every 50 ms, slept to each deadline as the window's timer is,
// until `enough(ticks so far)`; how late each tick came, in ms.
template <typename Enough>
std::vector<double> TickUntil(GameController& game, Enough enough) {
  constexpr auto kPeriod = std::chrono::milliseconds(50);
  std::vector<double> lateness;
  auto deadline = Clock::now() + kPeriod;
  while (!enough(lateness.size())) {
    std::this_thread::sleep_until(deadline);
    const std::chrono::duration<double, std::milli> late = Clock::now() - deadline;
    lateness.push_back(late.count());
    game.Tick();
    deadline += kPeriod;
  }
  return lateness;
}

// The ticks' lateness as counters whose names begin with `prefix`.
void CountLateness(benchmark::State& state, const std::string& prefix,
                   std::vector<double> lateness) {
  if (lateness.empty()) return;
  std::sort(lateness.begin(), lateness.end());
  state.counters[prefix + "ticks"] = static_cast<double>(lateness.size());
  state.counters[prefix + "median_late_ms"] = lateness[lateness.size() / 2];
  state.counters[prefix + "p99_late_ms"] = lateness[lateness.size() * 99 / 100];
  state.counters[prefix + "max_late_ms"] = lateness.back();
  // A tick a whole period behind its deadline is a tick the game lost.
  state.counters[prefix + "late_ticks"] = static_cast<double>(
      std::count_if(lateness.begin(), lateness.end(), [](double ms) { return ms >= 50; }));
}

void BM_TickSpacingWhileTheVoiceWorks(benchmark::State& state) {
  HoldOnOneCpu();
  const bool burning = state.range(0) != 0;  // 0: a maker that costs nothing, for comparison
  VoicedEngine engine(
      [burning](const RecitationRequest& request, Recitation& recitation) {
        if (burning) BurnHalfASecond();
        recitation = {"burnt.wav", 5000, {0}, std::make_shared<const std::string>("RIFF")};
        return FileStatus::Ok(std::to_string(request.poem));
      },
      nullptr);
  std::vector<double> lateness;
  for (auto _ : state) {
    engine.game.ResetGame();
    engine.game.StartRun();  // the hundred poems asked of the worker
    const std::vector<double> run =
        TickUntil(engine.game, [](std::size_t ticks) { return ticks == 100; });  // 5 s of play
    lateness.insert(lateness.end(), run.begin(), run.end());
  }
  CountLateness(state, "", std::move(lateness));
}
BENCHMARK(BM_TickSpacingWhileTheVoiceWorks)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kSecond)
    ->Iterations(3);

// Every upper, lower phrase and poet's name of the hundred, upper phrases first.
std::vector<RecitationRequest> EveryPhrase(double speed) {
  std::vector<RecitationRequest> requests;
  for (RecitedPart part : {RecitedPart::kUpper, RecitedPart::kLower, RecitedPart::kPoet}) {
    for (int poem = 0; poem < 100; ++poem) requests.push_back({poem, part, speed});
  }
  return requests;
}

// The real synthesiser makes the run's hundred upper phrases (argument 1), or the hundred's
// every phrase and poet (argument 3), into an empty cache while the game ticks, on one CPU with
// it; then, in the same iteration, the control: as many ticks of a game reciting nothing, so
// with no worker at all. Skipped without Open JTalk.
void BM_TickSpacingWhileTheHundredAreSynthesised(benchmark::State& state) {
  HoldOnOneCpu();
  const int parts = static_cast<int>(state.range(0));
  std::vector<double> working;
  std::vector<double> control;
  double hundredSeconds = 0;
  for (auto _ : state) {
    ScratchVoice cache;
    if (!cache.reciter().Installed()) return state.SkipWithError("Open JTalk is not installed");
    std::atomic<int> finished = 0;
    std::atomic<bool> failed = false;
    VoicedEngine engine(
        [&](const RecitationRequest& request, Recitation& recitation) {
          const FileStatus made = cache.reciter().Make(request, recitation);
          if (!made.ok()) failed = true;
          ++finished;
          return made;
        },
        nullptr);
    const int asked = 100 * parts + (engine.preferences.opening ? 2 : 0);
    const auto start = Clock::now();
    engine.game.ResetGame();
    engine.game.StartRun();
    if (parts == 3) engine.voice.Prepare(EveryPhrase(engine.preferences.voiceSpeed));
    const std::vector<double> run =
        TickUntil(engine.game, [&](std::size_t) { return failed || finished == asked; });
    hundredSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    if (failed) return state.SkipWithError("the synthesiser failed");
    working.insert(working.end(), run.begin(), run.end());

    VoicedEngine silent({}, nullptr);
    silent.preferences.recite = false;  // nothing asked of the voice: its worker never starts
    silent.game.ResetGame();
    silent.game.StartRun();
    const std::vector<double> quiet =
        TickUntil(silent.game, [&](std::size_t ticks) { return ticks == run.size(); });
    control.insert(control.end(), quiet.begin(), quiet.end());
  }
  state.counters["hundred_s"] = hundredSeconds / static_cast<double>(state.iterations());
  CountLateness(state, "", std::move(working));
  CountLateness(state, "control_", std::move(control));
}
BENCHMARK(BM_TickSpacingWhileTheHundredAreSynthesised)
    ->Arg(1)
    ->Arg(3)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
}  // namespace verselane

BENCHMARK_MAIN();
