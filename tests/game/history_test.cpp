// The history of answers through played runs: the real database in a temporary folder (what a
// run writes, databases that cannot be used, a kill between answers), and the weak-poems run.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "catalogue/poem_groups.h"
#include "engine_harness.h"
#include "fakes/temp_folder.h"
#include "game/answer_recorder.h"
#include "game/weak_poems.h"

namespace verselane {
namespace {

constexpr std::int64_t kNow = 1'800'000'000;

// The answers and runs kept at `path`, read as `verselane --history` reads them.
struct Kept {
  std::vector<AnswerRecord> answers;
  std::vector<RunRecord> runs;
};
Kept ReadKept(const std::string& path) {
  AnswerHistory history;
  Kept kept;
  EXPECT_EQ(history.Open(path, AnswerHistory::Access::kReadOnly), FileStatus::Ok(path));
  EXPECT_TRUE(history.Answers(kept.answers).ok());
  EXPECT_TRUE(history.Runs(kept.runs).ok());
  return kept;
}

// Runs `sql` on the database at `path`, as another program would.
void Change(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

class HistoryTest : public ::testing::Test {
 protected:
  // The game, keeping its answers and runs in `history`, set to runs of three of all the poems.
  void PlayWith(HistoryPort& history) {
    engine.emplace(random, history);
    engine->UseSource(kAllPoemsSource, 3);
  }

  // Waits `ticks` ticks at the question, answers it and goes on to the next question or the end.
  int PlayQuestion(bool correct, int ticks) {
    const int poem = engine->game.run().question.poem;
    engine->Tick(ticks);
    engine->Answer(correct);
    engine->TickUntilPhase(Phase::kReview);
    if (!correct) engine->PressEnter();
    engine->TickUntilPhase(Phase::kAnswering);
    return poem;
  }
  const std::vector<FakeNotices::Notice>& notices() { return historyNotices.shown; }
  bool WeakPoemsEnabled() { return engine->desktop.window.Enabled(kCommandWeakPoems); }

  TempFolder folder;
  const std::string path = folder.File(kHistoryFileName);
  SeededRandom random{7};
  FakeNotices historyNotices;
  std::optional<EngineHarness> engine;
};

TEST_F(HistoryTest, EveryJudgedAnswerAndTheRunAreKept) {
  AnswerRecorder recorder(path, historyNotices, [] { return kNow; });
  ASSERT_TRUE(recorder.Open());
  PlayWith(recorder);
  EXPECT_FALSE(WeakPoemsEnabled()) << "nothing to practise yet";
  engine->settings().SetMode(QuestionMode::Reverse);

  ASSERT_GT(engine->StartAndReachFirstQuestion(), 0);
  EXPECT_FALSE(WeakPoemsEnabled());
  std::vector<int> asked;
  asked.push_back(PlayQuestion(true, 30));
  asked.push_back(PlayQuestion(false, 99));
  asked.push_back(PlayQuestion(true, 9));
  ASSERT_EQ(engine->state(), PlayState::Finished);
  engine->CloseResults(false);
  EXPECT_TRUE(WeakPoemsEnabled());
  recorder.Flush();

  const Kept kept = ReadKept(path);
  ASSERT_EQ(kept.answers.size(), 3u);
  const bool correct[] = {true, false, true};
  // The Enter is taken on the tick after the waiting ones: one tick more on the question's clock.
  const int milliseconds[] = {31 * 50, 100 * 50, 10 * 50};
  for (int i = 0; i < 3; ++i) {
    const AnswerRecord& answer = kept.answers[i];
    EXPECT_EQ(answer.poem, asked[i]) << i;
    EXPECT_EQ(answer.mode, QuestionMode::Reverse) << i;
    EXPECT_EQ(answer.correct, correct[i]) << i;
    EXPECT_EQ(answer.milliseconds, milliseconds[i]) << i;
    EXPECT_EQ(answer.points, correct[i] ? 1000 : 0) << i;
    EXPECT_EQ(answer.answeredAt, kNow) << i;
    EXPECT_EQ(answer.localTime, LocalTimeText(kNow)) << i;
  }
  ASSERT_EQ(kept.runs.size(), 1u);
  EXPECT_EQ(kept.runs[0].score, 2000);
  EXPECT_EQ(kept.runs[0].answers, 3);
  EXPECT_EQ(kept.runs[0].correct, 2);
  EXPECT_EQ(kept.runs[0].questions, 3);
  EXPECT_EQ(kept.runs[0].mode, QuestionMode::Reverse);
  EXPECT_TRUE(notices().empty());
}

// A database the program cannot use costs one notice at start-up; the game plays on, keeps
// nothing and never offers the weak poems. The file is left as it was.
TEST_F(HistoryTest, UnusableDatabasesGiveOneNoticeAndTheGameGoesOn) {
  struct Case {
    const char* name;
    std::function<std::string()> prepare;  // returns the path to open
    const char* notice;
  };
  sqlite3* locker = nullptr;
  const std::vector<Case> cases = {
      {"not a database",
       [&] {
         WriteBytes(folder.File("noise.sqlite3"), std::string(3000, 'x'));
         return folder.File("noise.sqlite3");
       },
       "NOTICE(OpenHistory):\n解答履歴ファイル(history.sqlite3)はデータベースではありません\n"
       "今回は解答履歴を記録せずにゲームを続けます"},
      {"damaged rows",
       [&] {
         const std::string damaged = folder.File("damaged.sqlite3");
         FakeNotices quiet;
         AnswerRecorder writer(damaged, quiet, [] { return kNow; });
         EXPECT_TRUE(writer.Open());
         writer.RecordAnswer({3, QuestionMode::Normal, true, 2000, 1000, 0, {}});
         writer.Flush();
         Change(damaged, "UPDATE answers SET milliseconds = -1");
         return damaged;
       },
       "NOTICE(OpenHistory):\n解答履歴ファイル(history.sqlite3)が破損しています\n"
       "今回は解答履歴を記録せずにゲームを続けます"},
      {"not a regular file",
       [&] {
         ::mkfifo(folder.File("fifo.sqlite3").c_str(), 0600);
         return folder.File("fifo.sqlite3");
       },
       "NOTICE(OpenHistory):\n解答履歴ファイル(history.sqlite3)が通常のファイルではありません\n"
       "今回は解答履歴を記録せずにゲームを続けます"},
      {"a missing table",
       [&] {
         const std::string foreign = folder.File("foreign.sqlite3");
         Change(foreign, "CREATE TABLE answers (id INTEGER PRIMARY KEY); PRAGMA user_version = 1");
         return foreign;
       },
       "NOTICE(OpenHistory):\n解答履歴ファイル(history.sqlite3)の表がVerselaneのものと違います\n"
       "今回は解答履歴を記録せずにゲームを続けます"},
      {"unwritable",
       [&] {
         WriteBytes(folder.File("file"), "x");
         return folder.File("file/history.sqlite3");
       },
       "NOTICE(OpenHistory):\n解答履歴ファイル(history.sqlite3)を書き込めませんでした\n"
       "今回は解答履歴を記録せずにゲームを続けます"},
      {"locked",
       [&] {
         const std::string locked = folder.File("locked.sqlite3");
         sqlite3_open(locked.c_str(), &locker);
         sqlite3_exec(locker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
         return locked;
       },
       "NOTICE(OpenHistory):\n解答履歴ファイル(history.sqlite3)を他のプログラムが使用しています\n"
       "今回は解答履歴を記録せずにゲームを続けます"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeNotices notices;
    const std::string where = c.prepare();
    const bool existed = std::filesystem::exists(where);
    const std::string before = existed && std::filesystem::is_regular_file(where) ? ReadBytes(where) : "";
    AnswerRecorder recorder(where, notices, [] { return kNow; });
    EXPECT_FALSE(recorder.Open());
    PlayWith(recorder);
    ASSERT_EQ(notices.shown.size(), 1u);
    EXPECT_EQ(notices.shown[0].text, SjisLiteral(c.notice));
    EXPECT_EQ(notices.shown[0].caption, "Notice");
    EXPECT_EQ(notices.shown[0].icon, NoticeIcon::kExclamation);

    ASSERT_GT(engine->StartAndReachFirstQuestion(), 0);
    while (engine->state() == PlayState::Running) PlayQuestion(true, 2);
    EXPECT_EQ(engine->tallies().correct, 3);
    engine->CloseResults(false);
    recorder.ReportWriteFailure();
    EXPECT_EQ(notices.shown.size(), 1u) << "one notice only";
    EXPECT_FALSE(WeakPoemsEnabled());
    EXPECT_FALSE(engine->desktop.window.Enabled(kCommandPlan)) << "no history, no plan";
    EXPECT_FALSE(recorder.HasAnswers());
    EXPECT_EQ(std::filesystem::exists(where), existed);
    if (existed && std::string(c.name) != "locked" && std::filesystem::is_regular_file(where)) {
      EXPECT_EQ(ReadBytes(where), before);
    }
    engine.reset();
  }
  sqlite3_close(locker);
}

// A write that fails in the middle of a session (here another program takes the lock for longer
// than the writer waits) is told once, between runs, and nothing more is written.
TEST_F(HistoryTest, AWriteThatFailsIsToldOnceBetweenRuns) {
  AnswerRecorder recorder(path, historyNotices, [] { return kNow; });
  ASSERT_TRUE(recorder.Open());
  PlayWith(recorder);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

  engine->UseSource(kAllPoemsSource, 1);
  ASSERT_GT(engine->StartAndReachFirstQuestion(), 0);
  PlayQuestion(true, 2);
  ASSERT_EQ(engine->state(), PlayState::Finished);
  recorder.Flush();  // the writer gives up after its wait
  EXPECT_TRUE(notices().empty()) << "never inside a timer tick";
  engine->CloseResults(false);
  ASSERT_EQ(notices().size(), 1u);
  EXPECT_EQ(notices()[0].text,
            SjisLiteral("NOTICE(RecordAnswer):\n解答履歴ファイル(history.sqlite3)を他のプログラムが"
                        "使用しています\nこれ以降の解答は記録されません"));

  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  ASSERT_GT(engine->StartAndReachFirstQuestion(), 0);
  PlayQuestion(true, 2);
  engine->CloseResults(false);
  recorder.Flush();
  EXPECT_EQ(notices().size(), 1u);
  EXPECT_TRUE(ReadKept(path).answers.empty());
}

// A process killed at any moment between or during answers keeps every answer it had finished
// writing, and at most the one in flight besides; the database stays sound and opens again.
TEST_F(HistoryTest, AKillLosesAtMostTheAnswerInFlight) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-wal");
    std::filesystem::remove(path + "-shm");
    int acks[2];
    ASSERT_EQ(pipe(acks), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(acks[0]);
      FakeNotices notices;
      AnswerRecorder recorder(path, notices, [] { return kNow; });
      if (!recorder.Open()) _exit(2);
      for (int i = 0;; ++i) {
        recorder.RecordAnswer({i % 100, QuestionMode::Normal, i % 3 != 0, 1000 + i, 10, 0, {}});
        recorder.Flush();
        if (write(acks[1], &i, sizeof i) != sizeof i) _exit(3);
      }
    }
    close(acks[1]);
    // Let it get going, then kill it after a random number of answers and a random moment more.
    const int wanted = std::uniform_int_distribution<int>(1, 40)(rng);
    int written = 0;
    int value = 0;
    while (written < wanted && read(acks[0], &value, sizeof value) == sizeof value) ++written;
    usleep(std::uniform_int_distribution<int>(0, 3000)(rng));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    while (read(acks[0], &value, sizeof value) == sizeof value) ++written;
    close(acks[0]);

    const std::vector<AnswerRecord> answers = ReadKept(path).answers;
    ASSERT_GE(static_cast<int>(answers.size()), written);
    ASSERT_LE(static_cast<int>(answers.size()), written + 1);
    for (std::size_t i = 0; i < answers.size(); ++i) {
      ASSERT_EQ(answers[i].milliseconds, 1000 + static_cast<int>(i)) << "in order, none lost";
    }
    FakeNotices notices;
    AnswerRecorder again(path, notices, [] { return kNow; });
    EXPECT_TRUE(again.Open());
    EXPECT_TRUE(notices.shown.empty());
  }
}

// The points kept are what the answer did to the score: the favourite's three times, and its
// penalty as minus when it is missed.
TEST_F(HistoryTest, TheFavouriteIsKeptWithItsTripledPointsOrPenalty) {
  FakeHistory history;
  PlayWith(history);
  engine->UseSource(kAllPoemsSource, 2);
  ASSERT_GT(engine->StartAndReachFirstQuestion(), 0);
  engine->settings().SetFavouritePoem(engine->game.run().question.poem);
  PlayQuestion(true, 2);
  engine->settings().SetFavouritePoem(engine->game.run().question.poem);
  PlayQuestion(false, 2);
  ASSERT_EQ(history.answers.size(), 2u);
  EXPECT_EQ(history.answers[0].points, 3 * PointsForAnswer(0));
  EXPECT_EQ(history.answers[1].points, -3 * PointsForAnswer(0));
  ASSERT_EQ(history.runs.size(), 1u);
  EXPECT_EQ(history.runs[0].score, 0) << "the penalty took it all";
}

// The weak-poems run is put in like the retry run: the settings keep the player's source and
// count, and the run after it draws from them again.
TEST_F(HistoryTest, WeakPoemsRunAsksTheWeakestThenTheSourceAgain) {
  FakeHistory history;
  history.now = kNow;
  PlayWith(history);
  EXPECT_FALSE(WeakPoemsEnabled());
  engine->commands.Dispatch(kCommandWeakPoems);
  EXPECT_EQ(engine->state(), PlayState::Idle) << "no history, no run";

  // Poem 7 missed twice, poem 3 right but slow, poem 50 and 60 right and quick.
  auto answer = [&](int poem, bool correct, int ms) {
    history.RecordAnswer({poem, QuestionMode::Normal, correct, ms, 0, 0, {}});
  };
  for (int i = 0; i < 3; ++i) {
    answer(50, true, 2000);
    answer(60, true, 2500);
    answer(3, true, 13000);
  }
  answer(7, false, 15000);
  answer(7, false, 15000);
  engine->UseSource(kAllPoemsSource, 2);
  engine->game.ResetGame();
  EXPECT_TRUE(WeakPoemsEnabled());

  engine->commands.Dispatch(kCommandWeakPoems);
  ASSERT_EQ(engine->state(), PlayState::Running);
  EXPECT_FALSE(WeakPoemsEnabled()) << "greyed while a run goes";
  EXPECT_TRUE(engine->game.run().retry);
  EXPECT_EQ(engine->game.run().questionCount, 2);
  std::vector<int> pool = engine->game.run().pool;
  EXPECT_EQ(pool, (std::vector<int>{7, 3}));
  engine->commands.Dispatch(kCommandWeakPoems);
  EXPECT_EQ(engine->game.run().pool, pool) << "ignored while running";

  ASSERT_GT(engine->TickUntilPhase(Phase::kAnswering), 0);
  std::vector<int> asked;
  while (engine->state() == PlayState::Running) asked.push_back(PlayQuestion(true, 2));
  std::sort(asked.begin(), asked.end());
  EXPECT_EQ(asked, (std::vector<int>{3, 7}));
  EXPECT_EQ(engine->settings().source(), kAllPoemsSource);
  EXPECT_EQ(engine->settings().questionCount(), 2);
  EXPECT_EQ(history.runs.size(), 1u);

  engine->CloseResults(false);
  engine->commands.Start();
  EXPECT_FALSE(engine->game.run().retry);
  EXPECT_EQ(engine->game.run().pool.size(), 100u) << "the source again";
  EXPECT_EQ(history.failureReports, 3) << "asked at each START and when the results close";
}

// With the settings' count at its default of 100, the run is still a short drill.
TEST_F(HistoryTest, WeakPoemsRunAsksTenAtMost) {
  FakeHistory history;
  history.now = kNow;
  PlayWith(history);
  for (int poem = 0; poem < 30; ++poem) {
    history.RecordAnswer({poem, QuestionMode::Normal, poem % 3 != 0, 2000 + 300 * poem, 0, 0, {}});
  }
  engine->UseSource(kAllPoemsSource, 100);
  engine->game.ResetGame();
  engine->commands.Dispatch(kCommandWeakPoems);
  ASSERT_EQ(engine->state(), PlayState::Running);
  const HistorySnapshot snapshot = history.Snapshot();
  EXPECT_EQ(engine->game.run().pool, WeakestPoems(snapshot.poems, kNow, kWeakRunPoems));
  EXPECT_EQ(engine->game.run().questionCount, kWeakRunPoems);
  EXPECT_EQ(engine->settings().questionCount(), 100);
}

// A history of `count` answers a day apart every `perDay`, each in one of the three modes, some
// quick, some past the time bar, one in four wrong; every `jumpEvery`-th answer (0: none) dated
// `jumpDays` away from the rest, as a clock set wrong for a while dates them.
std::vector<AnswerRecord> VariedHistory(int count, int perDay, int jumpEvery, int jumpDays) {
  std::mt19937 draw(static_cast<unsigned>(count * 31 + jumpEvery));
  std::vector<AnswerRecord> answers;
  for (int i = 0; i < count; ++i) {
    AnswerRecord answer{static_cast<int>(draw() % 12), static_cast<QuestionMode>(draw() % 3),
                        draw() % 4 != 0, 1000 + static_cast<int>(draw() % 17000), 10, 0, {}};
    const bool jumped = jumpEvery != 0 && i % jumpEvery == jumpEvery - 1;
    answer.answeredAt = kNow + std::int64_t{86'400} * (i / perDay + (jumped ? jumpDays : 0)) + i;
    answer.localTime = LocalTimeText(answer.answeredAt);
    answers.push_back(answer);
  }
  return answers;
}

// The history kept in memory, moved by each answer as it is recorded on top of what the file
// held when it was opened, is exactly what a replay of the whole file gives: the memory model's
// state (the grades' pace included), each poem's figures and the runs.
TEST_F(HistoryTest, TheHistoryKeptAnswerByAnswerIsAReplayOfTheWholeFile) {
  struct Case {
    const char* name;
    std::vector<AnswerRecord> answers;
    std::size_t alreadyKept;  // in the file when it is opened; the rest recorded one by one
  };
  const Case cases[] = {
      {"ordinary days", VariedHistory(300, 12, 0, 0), 150},
      {"all recorded", VariedHistory(120, 30, 0, 0), 0},
      {"all in the file", VariedHistory(120, 5, 0, 0), 120},
      {"a clock set ahead now and then", VariedHistory(300, 10, 7, 40), 100},
      {"a clock set back now and then", VariedHistory(300, 10, 5, -6), 200},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.name);
    TempFolder caseFolder;
    const std::string casePath = caseFolder.File(kHistoryFileName);
    {
      AnswerHistory file;
      ASSERT_TRUE(file.Open(casePath, AnswerHistory::Access::kReadWrite).ok());
      for (std::size_t i = 0; i < each.alreadyKept; ++i) file.Record(each.answers[i]);
      file.RecordRun({kNow, LocalTimeText(kNow), QuestionMode::Poet, 20, 20, 15, 900, 80});
    }
    std::size_t next = each.alreadyKept;
    AnswerRecorder recorder(casePath, historyNotices, [&] {
      return next < each.answers.size() ? each.answers[next].answeredAt : kNow;
    });
    ASSERT_TRUE(recorder.Open());
    for (; next < each.answers.size(); ++next) {
      recorder.RecordAnswer(each.answers[next]);
      if (next % 40 == 0) recorder.RecordRun({0, {}, QuestionMode::Normal, 10, 10, 8, 500, 60});
      if (next % 50 == 0) {
        EXPECT_EQ(recorder.Memory()->memory, ReplayAnswers(recorder.Snapshot().answers));
      }
    }
    const HistoryOutlook kept = recorder.Outlook();
    const HistorySnapshot file = recorder.Snapshot();
    const HistoryOutlook replayed = OutlookOf(file);
    ASSERT_EQ(file.answers.size(), each.answers.size());
    EXPECT_TRUE(kept.readable);
    EXPECT_EQ(kept.memory, replayed.memory);
    EXPECT_EQ(recorder.Memory()->memory, replayed.memory);
    EXPECT_EQ(kept.figures, replayed.figures);
    EXPECT_EQ(kept.runs, replayed.runs);
    EXPECT_EQ(kept.today, replayed.today);
  }
  EXPECT_TRUE(notices().empty());
}

}  // namespace
}  // namespace verselane
