// Romaji typing speed: the cost of one key through the converter.
#include <benchmark/benchmark.h>

#include <string_view>

#include "base/romaji_input.h"

namespace verselane {
namespace {

// The longest poet's name in the catalogue, with っ, ゃゅょ and ん at the end: typed key by key,
// then Enter, on a line cleared for each pass.
void BM_RomajiInput_TypeLongReading(benchmark::State& state) {
  constexpr std::string_view kKeys = "hosshoujinyuudousakinokanpakudaijoudaijin";
  RomajiInput input;
  for (auto _ : state) {
    input.Clear();
    for (char key : kKeys) input.Type(key);
    input.Finish();
    benchmark::DoNotOptimize(input.kana().data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kKeys.size()));
}
BENCHMARK(BM_RomajiInput_TypeLongReading);

}  // namespace
}  // namespace verselane
