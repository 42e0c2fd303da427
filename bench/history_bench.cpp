// Keeping one answer in the history, against the 50 ms timer tick: the committed write itself
// (a transaction whose commit syncs the disk), and what the tick pays, handing the answer to the
// writer thread while that thread is busy writing the ones before.
//
// The database lies in a fresh folder under the current one, so that it is on the disk the
// program would use (a /tmp in memory would make the sync free). Wall-clock time throughout: a
// sync waits without using the processor.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "base/file_ports.h"
#include "game/answer_recorder.h"
#include "records/answer_history.h"

namespace verselane {
namespace {

class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (std::filesystem::current_path() / "verselane-bench-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~BenchFolder() { std::filesystem::remove_all(path_); }
  std::string File(const char* name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

class SilentNotices : public NoticePort {
 public:
  void ShowNotice(const std::string&, const std::string&, NoticeIcon) override { ++shown; }
  int shown = 0;
};

AnswerRecord SomeAnswer(int i) {
  return {i % 100, QuestionMode::Normal, i % 4 != 0, 2000 + i % 5000, 1000, 1'800'000'000 + i,
          "2027-01-15 08:30:00"};
}

// One answer written and committed, the disk synced: what the writer thread spends on it.
void BM_HistoryCommitOneAnswer(benchmark::State& state) {
  BenchFolder folder;
  AnswerHistory history;
  if (!history.Open(folder.File(kHistoryFileName), AnswerHistory::Access::kReadWrite).ok()) {
    state.SkipWithError("the database cannot be opened");
    return;
  }
  int i = 0;
  for (auto _ : state) {
    if (!history.Record(SomeAnswer(i++)).ok()) state.SkipWithError("a write failed");
  }
}
BENCHMARK(BM_HistoryCommitOneAnswer)->UseRealTime()->Unit(benchmark::kMicrosecond);

// What TakeAnswer pays inside the tick: stamping the answer and queueing it, timed one call at a
// time while the writer is still busy with earlier answers. max_us is the longest single call.
void BM_HistoryRecordOnTheTick(benchmark::State& state) {
  BenchFolder folder;
  SilentNotices notices;
  AnswerRecorder recorder(folder.File(kHistoryFileName), notices);
  if (!recorder.Open()) {
    state.SkipWithError("the database cannot be opened");
    return;
  }
  int i = 0;
  double longest = 0;
  int overOneMs = 0;
  for (auto _ : state) {
    const AnswerRecord answer = SomeAnswer(i);
    const auto start = std::chrono::steady_clock::now();
    recorder.RecordAnswer(answer);
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(taken.count());
    longest = std::max(longest, taken.count());
    if (taken.count() > 1e-3) ++overOneMs;
    // A player answers far slower than this loop: keep the queue as short as play would.
    if (++i % 4 == 0) recorder.Flush();
  }
  recorder.Flush();
  state.counters["max_us"] = longest * 1e6;
  state.counters["over_1ms"] = overOneMs;
}
// A fixed count: the timed part is so short that the benchmark's own choice would mean a million
// calls, and as many answers written to the disk between them.
BENCHMARK(BM_HistoryRecordOnTheTick)->UseManualTime()->Iterations(20000)->Unit(
    benchmark::kMicrosecond);

}  // namespace
}  // namespace verselane
