// The reader's voice with the real Open JTalk (skipped when it is not installed): one phrase
// synthesised into an empty cache, the hundred upper phrases one after another as a run's
// background work makes them, and a recitation found in a warm cache, as each question asks.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "catalogue/poem_catalogue.h"
#include "game/reciter.h"

namespace {

using verselane::RecitedPart;

// A voice cache of the benchmark's own, removed afterwards.
class ScratchVoice {
 public:
  ScratchVoice() {
    std::string pattern = (std::filesystem::temp_directory_path() / "verselane-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    setup_.cacheFolder = pattern;
  }
  ~ScratchVoice() { std::filesystem::remove_all(setup_.cacheFolder); }
  ScratchVoice(const ScratchVoice&) = delete;
  ScratchVoice& operator=(const ScratchVoice&) = delete;

  void Empty() {
    std::filesystem::remove_all(setup_.cacheFolder);
    std::filesystem::create_directories(setup_.cacheFolder);
  }
  verselane::Reciter& reciter() { return reciter_; }

 private:
  verselane::PoemCatalogue catalogue_;
  verselane::VoiceSetup setup_;
  verselane::Reciter reciter_{setup_, catalogue_};
};

bool Make(benchmark::State& state, verselane::Reciter& reciter, int poem, RecitedPart part) {
  verselane::Recitation recitation;
  const verselane::FileStatus made = reciter.Make({poem, part, 1.0}, recitation);
  if (!made.ok()) state.SkipWithError(made.ToString().c_str());
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

// The hundred upper phrases, one after another.
void BM_SynthesiseHundredUpperPhrases(benchmark::State& state) {
  ScratchVoice voice;
  if (!voice.reciter().Installed()) return state.SkipWithError("Open JTalk is not installed");
  for (auto _ : state) {
    state.PauseTiming();
    voice.Empty();
    state.ResumeTiming();
    for (int poem = 0; poem < 100; ++poem) {
      if (!Make(state, voice.reciter(), poem, RecitedPart::kUpper)) break;
    }
  }
}
BENCHMARK(BM_SynthesiseHundredUpperPhrases)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

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
