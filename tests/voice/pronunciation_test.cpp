// Every phrase and poet's name, said by the real Open JTalk with the installed dictionary and
// voice: the phonemes it reports must be the ones our pronunciation is made of, so that the
// voice reads each poem as written for it and the reveal follows the kana it says.
#include "catalogue/pronunciation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "base/child_process.h"
#include "base/shift_jis.h"
#include "fakes/temp_folder.h"
#include "game/reciter.h"
#include "game/voice_timing.h"

namespace verselane {
namespace {

struct Phrase {
  int poem;
  SpokenPart part;
};

// What Open JTalk said for `text`, or why it could not be asked.
std::string Spoken(const VoiceSetup& voice, const TempFolder& folder, int job,
                   const SpokenText& text, std::vector<TimedPhoneme>& phonemes) {
  const std::string input = folder.File(std::to_string(job) + ".txt");
  const std::string trace = folder.File(std::to_string(job) + ".trace");
  WriteBytes(input, SjisToUtf8(text.input).text + "\n");
  const FileStatus ran = RunChild({{voice.synthesiser, "-x", voice.dictionary, "-m", voice.voice,
                                    "-ow", "/dev/null", "-ot", trace, input},
                                   voice.timeoutMs});
  if (!ran.ok()) return ran.ToString();
  const auto labels = ReadTraceLabels(ReadBytes(trace));
  if (!labels) return "no labels in " + trace;
  phonemes = *labels;
  return "";
}

std::string Names(const auto& phonemes) {
  std::string names;
  for (const auto& phoneme : phonemes) names += phoneme.name + " ";
  return names;
}

TEST(Pronunciation, OpenJTalkSaysEveryPhraseAndPoetAsPronounced) {
  VoiceSetup voice;
  // A test machine busy with builds is slow, and hangs are not what this test is about.
  voice.timeoutMs = 120000;
  ASSERT_TRUE(Reciter(voice, PoemCatalogue()).Installed())
      << "Open JTalk, its dictionary and the voice must be installed (./test installs them)";
  std::vector<Phrase> phrases;
  for (int poem = 0; poem < 100; ++poem) {
    for (SpokenPart part : {SpokenPart::kUpper, SpokenPart::kLower, SpokenPart::kPoet}) {
      phrases.push_back({poem, part});
    }
  }
  phrases.push_back({kOpeningPoem, SpokenPart::kUpper});
  phrases.push_back({kOpeningPoem, SpokenPart::kLower});

  const TempFolder folder;
  std::vector<std::string> failures(phrases.size());
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t n = next++; n < phrases.size(); n = next++) {
      const SpokenText text = Pronunciation(phrases[n].poem, phrases[n].part);
      const auto planned = PhonemesOf(text.said);
      std::vector<TimedPhoneme> spoken;
      std::string failure = Spoken(voice, folder, static_cast<int>(n), text, spoken);
      if (failure.empty() && (!planned || !SamePhonemes(*planned, spoken))) {
        failure = "planned " + (planned ? Names(*planned) : std::string("(not kana)")) +
                  "\n  spoken  " + Names(spoken);
      }
      if (!failure.empty()) {
        failures[n] = "poem " + std::to_string(phrases[n].poem + 1) + " part " +
                      std::to_string(static_cast<int>(phrases[n].part)) + " (" +
                      SjisToUtf8(text.said).text + "): " + failure;
      }
    }
  };
  std::vector<std::thread> workers;
  for (unsigned i = 0; i < std::max(2u, std::thread::hardware_concurrency()); ++i) {
    workers.emplace_back(work);
  }
  for (std::thread& worker : workers) worker.join();

  int wrong = 0;
  for (const std::string& failure : failures) {
    if (!failure.empty()) ++wrong;
    EXPECT_EQ(failure, "");
  }
  EXPECT_EQ(wrong, 0) << "of " << phrases.size() << " phrases";
}

}  // namespace
}  // namespace verselane
