// Runs another program to its end as a child process, without a shell, and never leaves it
// behind: once it ends, outlives its time or is stopped, it is killed with every process it
// started, even one that left its group and session, and all are reaped; the same is done when
// the program itself dies, however it dies.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "base/file_status.h"

namespace verselane {

struct ChildRun {
  // The program (found on PATH when it holds no slash) and its arguments; argv[0] is the program.
  std::vector<std::string> argv;
  int timeoutMs = 10000;
  int niceness = 10;  // added to this process's own, so that the child never slows the game
  // Once this is set (from another thread), the child is ended at once; null: never.
  const std::atomic<bool>* stop = nullptr;
};

// Runs `run` with standard input from /dev/null and its output discarded, on the calling thread,
// and returns once the child and all it started are gone. Ok when it exited with status 0;
// NotFound (naming the program) when there is no such program or it cannot be run; TimedOut
// when it ran too long; IoError when it exited otherwise, was killed or was stopped.
[[nodiscard]] FileStatus RunChild(const ChildRun& run);

// The path of `program` as RunChild would run it: itself when it holds a slash, else the first
// executable file of that name on PATH; empty when there is none.
std::string FindProgram(const std::string& program);

}  // namespace verselane
