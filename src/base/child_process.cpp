#include "base/child_process.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace verselane {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(5);

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// Everything the child needs, made before fork: between fork and exec a child of a threaded
// program may only make system calls, not allocate.
struct ChildPlan {
  std::string path;
  std::vector<std::string> arguments;
  std::vector<char*> argv;
  int niceness = 0;
};

[[noreturn]] void BecomeChild(const ChildPlan& plan, int reportFd) {
  ::setpgid(0, 0);  // a group of its own, so that it can be killed with all it starts
  ::setpriority(PRIO_PROCESS, 0, ::getpriority(PRIO_PROCESS, 0) + plan.niceness);
  const int devNull = ::open("/dev/null", O_RDWR);
  if (devNull >= 0) {
    ::dup2(devNull, STDIN_FILENO);
    ::dup2(devNull, STDOUT_FILENO);
    ::dup2(devNull, STDERR_FILENO);
  }
  // The game's own files, its database and its display connection stay the game's.
  ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
  ::execv(plan.path.c_str(), plan.argv.data());
  const int error = errno;
  [[maybe_unused]] const ssize_t written = ::write(reportFd, &error, sizeof error);
  ::_exit(127);
}

// Waits up to `timeoutMs` for the child to end, without reaping it: while it is not reaped its
// process id, and so its group's, cannot be taken by another process. True when it ended.
bool AwaitChild(pid_t pid, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    siginfo_t info{};
    const int result = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT);
    if ((result == 0 && info.si_pid == pid) || (result < 0 && errno != EINTR)) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace

std::string FindProgram(const std::string& program) {
  if (program.empty()) return "";
  if (program.find('/') != std::string::npos) return IsExecutableFile(program) ? program : "";
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    const std::string folder = folders.substr(start, end - start);
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return "";
}

FileStatus RunChild(const ChildRun& run) {
  const std::string name = run.argv.empty() ? std::string() : run.argv.front();
  ChildPlan plan{FindProgram(name), run.argv, {}, run.niceness};
  if (plan.path.empty()) return FileStatus::NotFound(name);
  for (std::string& argument : plan.arguments) plan.argv.push_back(argument.data());
  plan.argv.push_back(nullptr);

  // The child reports through this pipe why exec failed; closed on a successful exec.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return FileStatus::FromErrno(errno, name);
  const pid_t pid = ::fork();
  if (pid < 0) {
    const int error = errno;
    ::close(report[0]);
    ::close(report[1]);
    return FileStatus::FromErrno(error, name);
  }
  if (pid == 0) BecomeChild(plan, report[1]);
  ::setpgid(pid, pid);  // also here, so that the group exists before either side goes on
  ::close(report[1]);

  const bool ended = AwaitChild(pid, run.timeoutMs);
  // Whatever the child started and left running goes with it, ended or not.
  ::kill(-pid, SIGKILL);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  int execError = 0;
  const bool execFailed = ::read(report[0], &execError, sizeof execError) == sizeof execError;
  ::close(report[0]);
  if (execFailed) return FileStatus::NotFound(name);
  if (!ended) return FileStatus::TimedOut(name);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return FileStatus::Ok(name);
  return FileStatus::IoError(name);
}

}  // namespace verselane
