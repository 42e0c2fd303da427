// Answers typed in Latin letters, with romaji input off: read as romaji and judged, or, when they
// make no kana, not judged while the question goes on; and a miss typed in kanji shown against
// the poem as written.
#include <gtest/gtest.h>

#include "catalogue/poem_groups.h"
#include "engine_harness.h"

namespace verselane {
namespace {

// The first poem is asked: its lower phrase is わがころもではつゆにぬれつつ (わが衣手は露にぬれつつ).
class LettersAnswerTest : public ::testing::Test {
 protected:
  LettersAnswerTest() {
    engine.UseSource(kAllPoemsSource, 2);
    engine.preferences.romajiInput = false;
  }

  const GameFrame& frame() const { return engine.lastFrame(); }
  void Enter(const char* typedUtf8) {
    engine.Type(typedUtf8);
    engine.PressEnter();
    engine.Tick();
  }

  ScriptedRandom random{{0}};
  FakeHistory history;
  EngineHarness engine{random, history};
};

TEST_F(LettersAnswerTest, LettersAreJudgedAsRomajiWithOrWithoutAnInputMethod) {
  for (bool japanese : {false, true}) {
    SCOPED_TRACE(japanese ? "an input method" : "no input method");
    engine.desktop.inputMethod.japanese = japanese;
    ASSERT_GT(engine.StartAndReachFirstQuestion(), 0);
    Enter("wagakoromodeha tsuyuninuretsutsu");
    EXPECT_EQ(engine.phase(), Phase::kPopupIn);
    EXPECT_TRUE(engine.game.run().lastResult);
    engine.TickUntilPhase(Phase::kAnswering);
    Enter("WAGAKOROMODEHATUYUNINURETE");
    EXPECT_FALSE(engine.game.run().lastResult);
    engine.TickUntilPhase(Phase::kReview);
    EXPECT_EQ(frame().missText, SjisLiteral("入力：わがころもではつゆにぬれて"))
        << "the answer as it was read";
    ASSERT_EQ(history.answers.size(), 2u);
    EXPECT_TRUE(history.answers[0].correct);
    EXPECT_FALSE(history.answers[1].correct);
    engine.PressEnter();
    engine.TickUntilPhase(Phase::kNext);
    engine.Tick();
    engine.CloseResults(false);
    history.answers.clear();
  }
}

TEST_F(LettersAnswerTest, LettersThatMakeNoKanaAreNotJudgedAndTheQuestionGoesOn) {
  ASSERT_GT(engine.StartAndReachFirstQuestion(), 0);
  engine.Tick(kTicksPerSecond);
  const int seconds = engine.game.seconds(GameClock::kQuestion);
  Enter("wagakoromodehatsuyuninuretsutsx");
  EXPECT_EQ(engine.phase(), Phase::kAnswering);
  EXPECT_TRUE(engine.desktop.answerBox.visible);
  EXPECT_EQ(engine.desktop.answerBox.text, "wagakoromodehatsuyuninuretsutsx") << "kept";
  EXPECT_EQ(engine.tallies().asked, 0);
  EXPECT_TRUE(history.answers.empty());
  EXPECT_TRUE(engine.desktop.sound.played.empty());
  EXPECT_EQ(engine.game.run().wrong.count(), 0);
  EXPECT_TRUE(frame().hintShown);
  EXPECT_EQ(frame().hintText,
            SjisLiteral("かなで入力: ローマ字入力 Ctrl+J／日本語入力 半角/全角"));
  engine.Tick(kTicksPerSecond);
  EXPECT_GT(engine.game.seconds(GameClock::kQuestion), seconds) << "its clock runs on";

  engine.Type("wagakoromodehatsuyuninuretsutsu");
  engine.PressEnter();
  engine.TickUntilPhase(Phase::kReview);
  EXPECT_TRUE(engine.game.run().lastResult);
  EXPECT_FALSE(frame().hintShown);
  ASSERT_EQ(history.answers.size(), 1u);
  EXPECT_TRUE(history.answers[0].correct);
  EXPECT_GE(history.answers[0].milliseconds, (seconds + 1) * 1000) << "timed from the question put";
}

// A misconversion is marked against the phrase as written, a kana answer against the reading;
// the other stays unmarked.
TEST_F(LettersAnswerTest, AMissIsMarkedAgainstWhatItWasTypedIn) {
  struct Case {
    const char* typed;
    const char* writtenAgreed;  // UTF-8 of the written phrase left unmarked
    const char* readingAgreed;  // UTF-8 of the reading left unmarked
  };
  const Case cases[] = {
      {"わが衣手は梅雨にぬれつつ", "わが衣手は", "わがころもではつゆにぬれつつ"},
      {"わが衣", "わが衣", "わがころもではつゆにぬれつつ"},
      {"わがころもではつゆにぬれて", "わが衣手は露にぬれつつ", "わがころもではつゆにぬれ"},
  };
  engine.UseSource(kAllPoemsSource, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ASSERT_GT(engine.StartAndReachFirstQuestion(), 0);
    Enter(c.typed);
    engine.TickUntilPhase(Phase::kReview);
    EXPECT_TRUE(frame().missShown);
    EXPECT_EQ(frame().missWritten, SjisLiteral("わが衣手は露にぬれつつ"));
    EXPECT_EQ(frame().popupText, SjisLiteral("わがころもではつゆにぬれつつ"));
    EXPECT_EQ(frame().missWrittenMarkFrom, SjisLiteral(c.writtenAgreed).size());
    EXPECT_EQ(frame().missReadingMarkFrom, SjisLiteral(c.readingAgreed).size());
    engine.PressEnter();
    engine.TickUntilPhase(Phase::kNext);
    engine.Tick();
    engine.CloseResults(false);
  }
}

}  // namespace
}  // namespace verselane
