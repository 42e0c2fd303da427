#include "base/child_process.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <signal.h>
#include <sys/prctl.h>
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

// The signals the warden waits for, blocked from before the fork: SIGTERM (the program stops
// the run, or the program has died) and SIGCHLD (a process of its own has ended).
sigset_t WardenSignals() {
  sigset_t signals;
  ::sigemptyset(&signals);
  ::sigaddset(&signals, SIGTERM);
  ::sigaddset(&signals, SIGCHLD);
  return signals;
}

[[noreturn]] void BecomeChild(const ChildPlan& plan, pid_t warden, int reportFd) {
  // Killed when the warden ends, however it ends; a warden gone before this was set is seen here.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != warden) ::_exit(127);
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
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::execv(plan.path.c_str(), plan.argv.data());
  const int error = errno;
  [[maybe_unused]] const ssize_t written = ::write(reportFd, &error, sizeof error);
  ::_exit(127);
}

// Kills every process left below the warden and reaps it. As the subreaper, the warden inherits
// whatever its child started once its parent ends, even a process that left the child's group
// and session: killing its own children level by level reaches every one. Without /proc, those
// outside the child's group are left.
void EndDescendants() {
  for (;;) {
    char listed[4096];
    const int fd = ::open("/proc/thread-self/children", O_RDONLY | O_CLOEXEC);
    const ssize_t length = fd < 0 ? -1 : ::read(fd, listed, sizeof listed);
    if (fd >= 0) ::close(fd);
    if (length < 0) {
      while (::waitpid(-1, nullptr, WNOHANG) > 0) {
      }
      return;
    }
    pid_t pid = 0;
    for (ssize_t n = 0; n <= length; ++n) {
      if (n < length && listed[n] >= '0' && listed[n] <= '9') {
        pid = pid * 10 + (listed[n] - '0');
      } else if (pid > 0) {
        ::kill(pid, SIGKILL);
        pid = 0;
      }
    }
    // One of them ends, and its children become the warden's: look again.
    if (::waitpid(-1, nullptr, 0) < 0 && errno == ECHILD) return;
  }
}

// The warden stands between the program and the child, as a subreaper that outlives every
// process the child starts: it ends them all when the child ends, when the program stops the
// run and when the program dies (its parent-death signal), so that no process the program
// started survives it, however it ends. Exits 0 when the child exited with 0.
[[noreturn]] void BecomeWarden(const ChildPlan& plan, pid_t program, int reportFd) {
  struct sigaction reaped {};
  reaped.sa_handler = SIG_DFL;  // never left ignored, which would reap the child unseen
  ::sigaction(SIGCHLD, &reaped, nullptr);
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (::getppid() != program) ::_exit(1);  // the program died before the signal was set
  ::setpgid(0, 0);  // out of the program's group: a Ctrl+C on the terminal is the program's
  // The program's files (its locks, its display connection) are not held a moment past its end.
  if (reportFd > 3) ::close_range(3, static_cast<unsigned>(reportFd) - 1, 0);
  ::close_range(static_cast<unsigned>(reportFd) + 1, ~0U, 0);
  const pid_t warden = ::getpid();
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(reportFd, &error, sizeof error);
    ::_exit(127);
  }
  if (child == 0) BecomeChild(plan, warden, reportFd);
  ::setpgid(child, child);  // also here, so that the group exists before either side goes on
  ::close(reportFd);
  const sigset_t awaited = WardenSignals();
  for (;;) {
    // Not reaped yet, so that its process id, and its group's, stays its own until it is killed.
    siginfo_t ended{};
    if (::waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 &&
        ended.si_pid == child) {
      break;
    }
    if (::sigwaitinfo(&awaited, nullptr) == SIGTERM) break;
  }
  ::kill(-child, SIGKILL);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  EndDescendants();
  ::_exit(WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1);
}

enum class Ending { kEnded, kTimedOut, kStopped };

// Waits up to `timeoutMs` for the warden to end, or until `stop` is set, without reaping it:
// while it is not reaped its process id cannot be taken by another process.
Ending AwaitWarden(pid_t pid, int timeoutMs, const std::atomic<bool>* stop) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    siginfo_t info{};
    const int result = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT);
    if ((result == 0 && info.si_pid == pid) || (result < 0 && errno != EINTR)) {
      return Ending::kEnded;
    }
    if (stop != nullptr && stop->load()) return Ending::kStopped;
    if (std::chrono::steady_clock::now() >= deadline) return Ending::kTimedOut;
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
  if (run.stop != nullptr && run.stop->load()) return FileStatus::IoError(name);
  ChildPlan plan{FindProgram(name), run.argv, {}, run.niceness};
  if (plan.path.empty()) return FileStatus::NotFound(name);
  for (std::string& argument : plan.arguments) plan.argv.push_back(argument.data());
  plan.argv.push_back(nullptr);

  // The child reports through this pipe why exec failed; closed on a successful exec.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return FileStatus::FromErrno(errno, name);
  const sigset_t wardenSignals = WardenSignals();
  sigset_t previous;
  ::pthread_sigmask(SIG_BLOCK, &wardenSignals, &previous);
  const pid_t program = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) BecomeWarden(plan, program, report[1]);
  const int forkError = errno;
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  ::close(report[1]);
  if (pid < 0) {
    ::close(report[0]);
    return FileStatus::FromErrno(forkError, name);
  }

  const Ending ending = AwaitWarden(pid, run.timeoutMs, run.stop);
  // The warden ends the child and all it started, then itself.
  if (ending != Ending::kEnded) ::kill(pid, SIGTERM);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  int execError = 0;
  const bool execFailed = ::read(report[0], &execError, sizeof execError) == sizeof execError;
  ::close(report[0]);
  if (execFailed) return FileStatus::NotFound(name);
  if (ending == Ending::kTimedOut) return FileStatus::TimedOut(name);
  if (ending == Ending::kEnded && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    return FileStatus::Ok(name);
  }
  return FileStatus::IoError(name);
}

}  // namespace verselane
