// Judging speed: an answer checked on Enter, and the favourite search over all hundred poems.
#include <benchmark/benchmark.h>

#include "base/shift_jis.h"
#include "game/answer_check.h"
#include "game/desktop_ports.h"
#include "catalogue/poem_catalogue.h"
#include "game/run.h"
#include "settings/settings.h"
#include "settings/favourite.h"

namespace verselane {
namespace {

class TypedAnswer : public AnswerBoxPort {
 public:
  explicit TypedAnswer(std::string text) : text_(std::move(text)) {}
  std::string ReadText() override { return text_; }

 private:
  std::string text_;
};

class Silence : public SoundPort {
 public:
  void Play(SoundId) override {}
};

// The longest reading (poem 4's upper phrase, 38 bytes) typed with kanji and kana mixed.
void BM_CheckAnswer_LongestReadingMixed(benchmark::State& state) {
  const PoemCatalogue catalogue;
  Settings settings;
  settings.SetMode(QuestionMode::Reverse);
  TypedAnswer box(SjisLiteral("田子の浦にうち出でて見れば白妙の"));
  Silence silence;
  AnswerChecker checker(catalogue, box, silence);
  Tallies tallies;
  RetryList wrong;
  for (auto _ : state) {
    benchmark::DoNotOptimize(checker.CheckAnswer(3, 0, settings, tallies, wrong));
  }
}
BENCHMARK(BM_CheckAnswer_LongestReadingMixed);

// Worst case: a text that every poem refuses only at its last cell is not possible, so take a
// text no poem accepts at all: each of the hundred poems is loaded and tried.
void BM_FindPoemByUpperPhrase_NoPoemAccepts(benchmark::State& state) {
  const PoemCatalogue catalogue;
  const std::string text = SjisLiteral("ああああああああ");
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindPoemByUpperPhrase(catalogue, text));
  }
}
BENCHMARK(BM_FindPoemByUpperPhrase_NoPoemAccepts);

}  // namespace
}  // namespace verselane
