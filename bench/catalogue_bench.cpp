// Costs of the poem catalogue: building it at start-up, reading one field, and the CP932
// conversions that happen wherever text crosses between the core and the desktop.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/poem_catalogue.h"
#include "base/shift_jis.h"

namespace {

// Sixty characters of Japanese, kanji and kana mixed as in a poem and its reading; every one is
// a double-byte character in CP932, so the converted text is 120 bytes.
constexpr std::string_view kSixtyCharacters =
    "秋の田のかりほの庵の苫をあらみ　わが衣手は露にぬれつつ　"
    "あきのたのかりほのいほのとまをあらみわがころもではつゆにぬれつつ";
constexpr std::size_t kSixtyCharactersSjisBytes = 120;

// The whole table converted from UTF-8 to CP932 and joined into records, as at every start.
void BM_BuildCatalogue(benchmark::State& state) {
  for (auto _ : state) {
    verselane::PoemCatalogue catalogue;
    benchmark::DoNotOptimize(catalogue);
  }
}
BENCHMARK(BM_BuildCatalogue)->Unit(benchmark::kMicrosecond);

// The latest field there is: the last field of the last of the records that hold the most fields
// (a variant overlay row, field 12, when any poem has one).
void BM_GetPoemFieldLate(benchmark::State& state) {
  const verselane::PoemCatalogue catalogue;
  int poem = 0;
  for (int candidate = 0; candidate < catalogue.poemCount(); ++candidate) {
    if (catalogue.FieldCount(candidate) >= catalogue.FieldCount(poem)) poem = candidate;
  }
  const int field = catalogue.FieldCount(poem) - 1;
  std::string text;
  if (!catalogue.GetPoemField(poem, field, text) || text.empty()) {
    state.SkipWithError("the last poem's last field could not be read");
    return;
  }
  for (auto _ : state) {
    bool found = catalogue.GetPoemField(poem, field, text);
    benchmark::DoNotOptimize(found);
    benchmark::DoNotOptimize(text);
  }
  state.SetLabel("poem " + std::to_string(poem + 1) + " field " + std::to_string(field));
}
BENCHMARK(BM_GetPoemFieldLate);

// A reading, which every question reads once, copied and as a view.
void BM_GetPoemFieldReading(benchmark::State& state) {
  const verselane::PoemCatalogue catalogue;
  const int poem = catalogue.poemCount() - 1;
  std::string text;
  for (auto _ : state) {
    bool found = catalogue.GetPoemField(poem, verselane::kLowerReading, text);
    benchmark::DoNotOptimize(found);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_GetPoemFieldReading);

void BM_FieldViewReading(benchmark::State& state) {
  const verselane::PoemCatalogue catalogue;
  const int poem = catalogue.poemCount() - 1;
  for (auto _ : state) {
    std::string_view view = catalogue.FieldView(poem, verselane::kLowerReading);
    benchmark::DoNotOptimize(view);
  }
}
BENCHMARK(BM_FieldViewReading);

void BM_Utf8ToSjis60(benchmark::State& state) {
  const verselane::Conversion check = verselane::Utf8ToSjis(kSixtyCharacters);
  if (!check.ok() || check.text.size() != kSixtyCharactersSjisBytes) {
    state.SkipWithError("the sample text did not convert to 120 bytes of CP932");
    return;
  }
  for (auto _ : state) {
    verselane::Conversion converted = verselane::Utf8ToSjis(kSixtyCharacters);
    benchmark::DoNotOptimize(converted);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kSixtyCharacters.size()));
}
BENCHMARK(BM_Utf8ToSjis60);

void BM_SjisToUtf8_60(benchmark::State& state) {
  const verselane::Conversion sjis = verselane::Utf8ToSjis(kSixtyCharacters);
  if (!sjis.ok() || sjis.text.size() != kSixtyCharactersSjisBytes) {
    state.SkipWithError("the sample text did not convert to 120 bytes of CP932");
    return;
  }
  const verselane::Conversion back = verselane::SjisToUtf8(sjis.text);
  if (!back.ok() || back.text != kSixtyCharacters) {
    state.SkipWithError("the sample text did not survive the round trip through CP932");
    return;
  }
  for (auto _ : state) {
    verselane::Conversion converted = verselane::SjisToUtf8(sjis.text);
    benchmark::DoNotOptimize(converted);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(sjis.text.size()));
}
BENCHMARK(BM_SjisToUtf8_60);

}  // namespace
