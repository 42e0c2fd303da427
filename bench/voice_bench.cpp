// The reader's voice with the real Open JTalk (skipped when it is not installed): one phrase
// synthesised into an empty cache, the hundred upper phrases one after another as a run's
// background work makes them, and a recitation found in a warm cache, as each question asks.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

#include "scratch_voice.h"

namespace {

using verselane::RecitedPart;
using verselane::ScratchVoice;

bool Make(benchmark::State& state, verselane::Reciter& reciter, int poem, RecitedPart part,
          int* lengthMs = nullptr) {
  verselane::Recitation recitation;
  const verselane::FileStatus made = reciter.Make({poem, part, 1.0}, recitation);
  if (!made.ok()) state.SkipWithError(made.ToString().c_str());
  if (lengthMs != nullptr) *lengthMs = recitation.lengthMs;
  benchmark::DoNotOptimize(recitation);
  return made.ok();
}

// One upper phrase, a different poem each time, into an empty cache.
void BM_SynthesiseUpperPhrase(benchmark::State& state) {
  ScratchVoice voice;
  if (!voice.reciter().Installed()) return state.SkipWithError("Open JTalk is not installed");
  int poem = 0;
  for (auto _ : state) {
    if (!Make(state, voice.reciter(), poem, RecitedPart::kUpper)) break;
    poem = (poem + 1) % 100;
  }
}
BENCHMARK(BM_SynthesiseUpperPhrase)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

// The processor time the synthesisers this process ran have used so far, in milliseconds.
double ChildrenCpuMs() {
  rusage usage{};
  ::getrusage(RUSAGE_CHILDREN, &usage);
  auto ms = [](const timeval& time) { return time.tv_sec * 1000.0 + time.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The hundred upper phrases, one after another; also how long they play at speed 1.0 (the
// reader's pace is set for about five seconds) and the synthesiser's processor time for each.
void BM_SynthesiseHundredUpperPhrases(benchmark::State& state) {
  ScratchVoice voice;
  if (!voice.reciter().Installed()) return state.SkipWithError("Open JTalk is not installed");
  double totalMs = 0;
  const double cpuBefore = ChildrenCpuMs();
  for (auto _ : state) {
    state.PauseTiming();
    voice.Empty();
    state.ResumeTiming();
    for (int poem = 0; poem < 100; ++poem) {
      int lengthMs = 0;
      if (!Make(state, voice.reciter(), poem, RecitedPart::kUpper, &lengthMs)) break;
      totalMs += lengthMs;
    }
  }
  const double phrases = 100.0 * static_cast<double>(state.iterations());
  state.counters["played_ms_per_phrase"] = totalMs / phrases;
  state.counters["synthesiser_cpu_ms_per_phrase"] = (ChildrenCpuMs() - cpuBefore) / phrases;
}
BENCHMARK(BM_SynthesiseHundredUpperPhrases)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// A recitation already in the cache: its WAV and timings read and checked.
void BM_RecitationFromWarmCache(benchmark::State& state) {
  ScratchVoice voice;
  if (!voice.reciter().Installed()) return state.SkipWithError("Open JTalk is not installed");
  if (!Make(state, voice.reciter(), 76, RecitedPart::kUpper)) return;
  for (auto _ : state) {
    if (!Make(state, voice.reciter(), 76, RecitedPart::kUpper)) break;
  }
}
BENCHMARK(BM_RecitationFromWarmCache)->Unit(benchmark::kMicrosecond);

}  // namespace
