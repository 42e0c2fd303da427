// Runs read aloud by the reader's voice (a fake): what is asked of it and when, the prompt
// revealed as its kana are heard, listening only, the opening poem, and a voice that fails.
#include <gtest/gtest.h>

#include <vector>

#include "catalogue/poem_groups.h"
#include "engine_harness.h"

namespace verselane {
namespace {

class RecitedRunTest : public ::testing::Test {
 protected:
  RecitedRunTest() {
    engine.UseSource(kAllPoemsSource, 3);
    engine.settings().SetShowAfterKimariji(true);
    engine.preferences.recite = true;
  }

  // Every poem's `part` ready, its cells heard at `cellStartMs` (the rest of the cells a tenth
  // of a second apart after them).
  void MakeReady(RecitedPart part, std::vector<int> cellStartMs) {
    while (cellStartMs.size() < 40) cellStartMs.push_back(cellStartMs.back() + 100);
    for (int poem = 0; poem < 100; ++poem) {
      voice().ready[{poem, part}] = {Wav(poem), cellStartMs.back() + 500, cellStartMs, {}};
    }
  }
  void MakeOpeningReady(int lengthMs) {
    voice().ready[{kOpeningPoem, RecitedPart::kUpper}] = {"opening-upper.wav", lengthMs, {}, {}};
    voice().ready[{kOpeningPoem, RecitedPart::kLower}] = {"opening-lower.wav", lengthMs, {}, {}};
  }
  static std::string Wav(int poem) { return std::to_string(poem) + ".wav"; }

  // The poems asked by a whole run of correct answers, in turn.
  std::vector<int> PlayRun() {
    std::vector<int> asked;
    engine.StartAndReachFirstQuestion();
    while (engine.state() == PlayState::Running) {
      asked.push_back(engine.game.run().question.poem);
      engine.Answer(true);
      engine.TickUntilPhase(Phase::kAnswering);
    }
    return asked;
  }

  FakeVoice& voice() { return engine.desktop.voice; }
  int reveal() const { return engine.animation().reveal(); }

  SeededRandom random{11};
  EngineHarness engine{random};
};

TEST_F(RecitedRunTest, AsksForTheRunsPoemsInAskingOrderAndSpeaksEachPromptInItsMode) {
  MakeReady(RecitedPart::kUpper, {0});
  const std::vector<int> asked = PlayRun();
  ASSERT_EQ(asked.size(), 3u);
  ASSERT_EQ(voice().requests.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(voice().requests[i].poem, asked[i]) << "the first question's first";
    EXPECT_EQ(voice().requests[i].part, RecitedPart::kUpper);
  }
  EXPECT_EQ(voice().played, (std::vector<std::string>{Wav(asked[0]), Wav(asked[1]),
                                                      Wav(asked[2])}));

  engine.CloseResults(false);
  engine.preferences.voiceSpeed = 1.2;
  const std::pair<QuestionMode, RecitedPart> modes[] = {
      {QuestionMode::Reverse, RecitedPart::kLower}, {QuestionMode::Poet, RecitedPart::kPoet}};
  for (const auto& [mode, part] : modes) {
    engine.settings().SetMode(mode);
    engine.commands.Start();
    ASSERT_EQ(voice().requests.size(), 3u);
    for (const RecitationRequest& request : voice().requests) {
      EXPECT_EQ(request.part, part);
      EXPECT_EQ(request.speed, 1.2);
    }
    engine.game.ResetGame();
  }
}

// The order is drawn at the start with the same draws the questions make one by one: a player
// hears the poems the same seed would have asked without the voice.
TEST_F(RecitedRunTest, TheVoiceLeavesTheOrderOfThePoemsAsItWas) {
  SeededRandom silentRandom{11};
  EngineHarness silent{silentRandom};
  silent.UseSource(kAllPoemsSource, 3);
  std::vector<int> silentAsked;
  silent.StartAndReachFirstQuestion();
  while (silent.state() == PlayState::Running) {
    silentAsked.push_back(silent.game.run().question.poem);
    silent.Answer(true);
    silent.TickUntilPhase(Phase::kAnswering);
  }
  EXPECT_EQ(silent.desktop.voice.prepared, 0) << "nothing asked of the voice while it is off";
  EXPECT_EQ(PlayRun(), silentAsked);
}

TEST_F(RecitedRunTest, ThePromptIsRevealedAsItsKanaAreHeard) {
  MakeReady(RecitedPart::kUpper, {300, 400, 1200, 1250});
  ASSERT_NE(engine.StartAndReachFirstQuestion(), -1);
  EXPECT_EQ(reveal(), 0) << "nothing heard yet as the question is put";
  engine.Tick(5);
  EXPECT_EQ(reveal(), 0);
  engine.Tick();  // 300 ms
  EXPECT_EQ(reveal(), 1);
  engine.Tick(2);  // 400 ms
  EXPECT_EQ(reveal(), 2);
  engine.Tick(15);  // 1150 ms: the text reveal would have shown the second kana by now
  EXPECT_EQ(reveal(), 2);
  engine.Tick(2);  // 1250 ms: two kana heard in one tick's time both appear
  EXPECT_EQ(reveal(), 4);
  EXPECT_EQ(engine.lastFrame().reveal, 4);
  EXPECT_EQ(engine.game.seconds(GameClock::kQuestion), 1) << "the answer's clock runs as ever";
  engine.Answer(true);
  engine.Tick();
  EXPECT_EQ(engine.phase(), Phase::kPopupIn);
  EXPECT_GE(voice().stops, 1) << "the reader stops once the question is answered";
}

TEST_F(RecitedRunTest, APromptNotReadyInTimeIsRevealedAsText) {
  ASSERT_NE(engine.StartAndReachFirstQuestion(), -1);
  EXPECT_EQ(voice().prepared, 1);
  EXPECT_EQ(reveal(), 1) << "the first kana with the question";
  engine.Tick(20);
  EXPECT_EQ(reveal(), 2) << "then one a second";
  EXPECT_TRUE(voice().played.empty());
  EXPECT_EQ(voice().failureReports, 0) << "silently";
}

TEST_F(RecitedRunTest, ListeningOnlyHidesThePromptUntilTheQuestionIsAnswered) {
  engine.preferences.listenOnly = true;
  MakeReady(RecitedPart::kUpper, {0, 100});
  ASSERT_NE(engine.StartAndReachFirstQuestion(), -1);
  engine.Tick(100);
  EXPECT_EQ(reveal(), 0);
  EXPECT_TRUE(engine.lastFrame().prompt.empty());
  EXPECT_EQ(voice().played.size(), 1u) << "heard all the same";
  engine.Answer(false);
  engine.TickUntilPhase(Phase::kReview);
  EXPECT_EQ(engine.lastFrame().prompt, engine.game.run().prompt) << "shown once answered";
}

TEST_F(RecitedRunTest, ARunMayOpenWithTheOpeningPoem) {
  engine.preferences.opening = true;
  MakeOpeningReady(1000);
  MakeReady(RecitedPart::kUpper, {0});
  engine.commands.Start();
  ASSERT_EQ(voice().requests.size(), 5u);
  EXPECT_EQ(voice().requests[0].poem, kOpeningPoem) << "asked for first";
  EXPECT_EQ(voice().requests[0].part, RecitedPart::kUpper);
  EXPECT_EQ(voice().requests[1].poem, kOpeningPoem);
  EXPECT_EQ(voice().requests[1].part, RecitedPart::kLower);

  EXPECT_EQ(engine.TickUntilPhase(Phase::kOpening), 32) << "after the countdown";
  EXPECT_EQ(voice().played, std::vector<std::string>{"opening-upper.wav"});
  engine.Tick(20);
  EXPECT_EQ(voice().played.back(), "opening-lower.wav") << "once the upper phrase has been said";
  EXPECT_EQ(engine.phase(), Phase::kOpening);
  EXPECT_EQ(engine.TickUntilPhase(Phase::kAnswering), 21);
  EXPECT_EQ(voice().played.back(), Wav(engine.game.run().question.poem));
  EXPECT_EQ(engine.game.seconds(GameClock::kGame), 0) << "the clear time starts with the question";

  // Not ready in time: the run goes straight to its first question.
  engine.game.ResetGame();
  voice().ready.erase({kOpeningPoem, RecitedPart::kUpper});
  EXPECT_EQ(engine.StartAndReachFirstQuestion(), 33);
}

TEST_F(RecitedRunTest, AFailingVoiceIsToldOnceAndTheRunGoesOnAsText) {
  MakeReady(RecitedPart::kUpper, {0});
  ASSERT_NE(engine.StartAndReachFirstQuestion(), -1);
  voice().failed = true;
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kAnswering);
  EXPECT_EQ(voice().failureReports, 1);
  EXPECT_EQ(voice().played.size(), 1u) << "the second prompt is not spoken";
  EXPECT_EQ(reveal(), 1) << "but revealed as text";
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kAnswering);
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kAnswering);
  EXPECT_EQ(engine.state(), PlayState::Finished);
  EXPECT_EQ(engine.tallies().correct, 3);
  EXPECT_EQ(voice().failureReports, 1) << "once for the run";

  engine.CloseResults(false);
  ASSERT_NE(engine.StartAndReachFirstQuestion(), -1);
  EXPECT_EQ(voice().played.size(), 2u) << "the next run asks the voice afresh";
}

// A poem met in today's plan is read whole, its upper phrase then its lower one, while its card
// is up; its question is read as any other.
TEST(RecitedPlanTest, APoemMetIsReadWholeWhileItsCardIsShown) {
  SeededRandom random{5};
  FakeHistory history;
  EngineHarness engine(random, history);
  engine.preferences.recite = true;
  engine.preferences.plan = {1, 0.90};
  FakeVoice& voice = engine.desktop.voice;
  const auto wav = [](int poem, RecitedPart part) {
    return std::to_string(poem) + (part == RecitedPart::kUpper ? "-upper" : "-lower");
  };
  for (int poem = 0; poem < 100; ++poem) {
    for (RecitedPart part : {RecitedPart::kUpper, RecitedPart::kLower}) {
      voice.ready[{poem, part}] = {wav(poem, part), 1000, {0}};
    }
  }
  engine.desktop.dialogs.holdMeeting = true;
  engine.game.ResetGame();
  const int poem = engine.game.plan()->front().poem;
  engine.commands.Dispatch(kCommandPlan);
  ASSERT_EQ(voice.requests.size(), 2u) << "the upper phrase is the question's prompt too";
  EXPECT_EQ(voice.requests[1].part, RecitedPart::kLower);

  ASSERT_GT(engine.TickUntilPhase(Phase::kMeeting), 0);
  EXPECT_EQ(voice.played, std::vector<std::string>{wav(poem, RecitedPart::kUpper)});
  engine.Tick(60);
  EXPECT_EQ(voice.played, (std::vector<std::string>{wav(poem, RecitedPart::kUpper),
                                                    wav(poem, RecitedPart::kLower)}))
      << "each phrase once, the lower after the upper has been heard";
  engine.desktop.dialogs.closeMeeting();
  ASSERT_GT(engine.TickUntilPhase(Phase::kAnswering), 0);
  EXPECT_EQ(voice.played.back(), wav(poem, RecitedPart::kUpper));
}

}  // namespace
}  // namespace verselane
