// One copy per user: the lock, the request to come forward with the second copy's activation
// token, requests that come slowly, in pieces, garbled or not at all, a lock left by a crash, and
// other users: a folder they laid out, requests they send and a copy of theirs that answers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ui/activation_token.h"
#include "ui/single_instance.h"
#include "ui_test_support.h"

namespace verselane {
namespace {

using uitest::RunEventsUntil;

// A lock folder whose socket path fits a plain socket address, so a test can connect by hand. It
// does not exist yet: the first copy makes it.
std::string ShortFolder(const char* name) {
  const std::string folder = "/tmp/verselane-" + std::string(name) + "-" + std::to_string(getpid());
  std::filesystem::remove_all(folder);
  return folder;
}

// `folder`, made as the program makes its own: this user's, and nobody else's to enter.
std::string PrivateFolder(const std::string& folder) {
  std::filesystem::create_directories(folder);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::replace);
  return folder;
}

// A copy talking to the running one by hand: what it writes, when, and whether it is answered.
class RawCopy {
 public:
  explicit RawCopy(const std::string& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    connected_ =
        connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawCopy() { close(fd_); }
  bool connected() const { return connected_; }
  bool Send(const std::string& bytes) {
    return send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

// The running copy, waiting `silenceMs` for a silent request; every token it is handed, in order.
// A request served well before that wait is over was served from what it sent.
struct RunningCopy {
  RunningCopy(const std::string& folder, int silenceMs) : instance(folder, "Marrowfen") {
    EXPECT_TRUE(instance.Check());
    instance.Listen([this](const std::string& token) { tokens.push_back(token); }, silenceMs);
  }
  bool WaitForRequests(std::size_t count, int timeoutMs = 3000) {
    return RunEventsUntil([this, count] { return tokens.size() >= count; }, timeoutMs);
  }
  // In the order of the text, not of their coming: copies that write at once race.
  std::vector<std::string> Sorted() const {
    std::vector<std::string> sorted = tokens;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
  }
  SingleInstance instance;
  std::vector<std::string> tokens;
};

TEST(SingleInstanceTest, TheSecondCopysActivationTokenReachesTheFirst) {
  const std::string folder = ShortFolder("token");
  RunningCopy first(folder, 30000);
  SingleInstance second(folder, "Marrowfen");
  EXPECT_FALSE(second.Check("sway-7f3a_TIME42"));
  // A copy whose desktop gave no usable token still asks, without one.
  EXPECT_FALSE(second.Check("two words"));
  EXPECT_FALSE(second.Check(""));
  ASSERT_TRUE(first.WaitForRequests(3));
  EXPECT_EQ(first.Sorted(), (std::vector<std::string>{"", "", "sway-7f3a_TIME42"}));
  std::filesystem::remove_all(folder);
}

TEST(SingleInstanceTest, ARequestIsReadAsItComesWhileASilentCopyWaitsItsTurnOut) {
  const std::string folder = ShortFolder("pieces");
  RunningCopy first(folder, 4000);
  RawCopy silent(first.instance.socketPath());
  RawCopy slow(first.instance.socketPath());
  ASSERT_TRUE(silent.connected() && slow.connected());
  ASSERT_TRUE(slow.Send("abc"));
  uitest::RunEventsFor(100);
  EXPECT_TRUE(first.tokens.empty()) << "half a line is not a request yet";
  ASSERT_TRUE(slow.Send("def\n"));
  ASSERT_TRUE(first.WaitForRequests(1, 3000));
  EXPECT_EQ(first.tokens[0], "abcdef") << "the silent copy held the other one up";
  // The silent copy is served after its time, without a token.
  ASSERT_TRUE(first.WaitForRequests(2, 8000));
  EXPECT_EQ(first.tokens[1], "");
  std::filesystem::remove_all(folder);
}

TEST(SingleInstanceTest, ALongOrGarbledTokenIsRefusedAndTheWindowStillComesForward) {
  const std::string folder = ShortFolder("garbled");
  RunningCopy first(folder, 30000);
  const std::string longest(kMaxActivationTokenLength, 'a');
  const std::vector<std::pair<std::string, std::string>> requestsAndTokens = {
      {longest + "\n", longest},
      {longest + "a\n", ""},
      {"tok\x07" "en\n", ""},
      {"t\xc3\xa9\n", ""},
      {"two words\n", ""},
      {"closed-without-newline", "closed-without-newline"}};
  for (const auto& [request, token] : requestsAndTokens) {
    const std::size_t served = first.tokens.size();
    {
      RawCopy copy(first.instance.socketPath());
      ASSERT_TRUE(copy.connected() && copy.Send(request));
    }
    ASSERT_TRUE(first.WaitForRequests(served + 1)) << "not served: " << request;
    EXPECT_EQ(first.tokens.back(), token) << "from " << request;
  }
  // A copy that pours bytes without end is cut off at the limit, not read to the end of time.
  RawCopy flood(first.instance.socketPath());
  ASSERT_TRUE(flood.connected());
  ASSERT_TRUE(flood.Send(std::string(4 * kMaxActivationTokenLength, 'x')));
  ASSERT_TRUE(first.WaitForRequests(requestsAndTokens.size() + 1));
  EXPECT_EQ(first.tokens.back(), "");
  std::filesystem::remove_all(folder);
}

TEST(SingleInstanceTest, ASecondCopyIsRefusedAndAsksTheFirstToComeForward) {
  const std::string folder = uitest::ScratchFolder() + "/lock";
  SingleInstance first(folder, "Marrowfen");
  ASSERT_TRUE(first.Check());
  int requests = 0;
  first.Listen([&requests](const std::string&) { ++requests; });

  SingleInstance second(folder, "Marrowfen");
  EXPECT_FALSE(second.Check());
  EXPECT_TRUE(RunEventsUntil([&requests] { return requests == 1; }, 3000));

  first.Release();
  SingleInstance third(folder, "Marrowfen");
  EXPECT_TRUE(third.Check()) << "the lock was given up";
}

TEST(SingleInstanceTest, ALockLeftByACrashedCopyDoesNotBlock) {
  const std::string folder = PrivateFolder(uitest::ScratchFolder() + "/lock");
  // The files a copy that crashed leaves behind: its lock file, no longer locked, and a socket
  // file nobody listens on.
  { std::ofstream(folder + "/Marrowfen.lock") << ""; }
  { std::ofstream(folder + "/Marrowfen.socket") << ""; }
  SingleInstance instance(folder, "Marrowfen");
  EXPECT_TRUE(instance.Check());
  int requests = 0;
  instance.Listen([&requests](const std::string&) { ++requests; });
  SingleInstance second(folder, "Marrowfen");
  EXPECT_FALSE(second.Check());
  EXPECT_TRUE(RunEventsUntil([&requests] { return requests == 1; }, 3000))
      << "the stale socket file was replaced";
}

TEST(SingleInstanceTest, TheSocketFileGoesWithTheLock) {
  const std::string folder = ShortFolder("single");
  {
    SingleInstance instance(folder, "Marrowfen");
    ASSERT_TRUE(instance.Check());
    instance.Listen([](const std::string&) {});
    EXPECT_TRUE(std::filesystem::exists(instance.socketPath()));
    EXPECT_TRUE(std::filesystem::exists(instance.lockPath()));
  }
  EXPECT_FALSE(std::filesystem::exists(folder + "/Marrowfen.socket"));
  std::filesystem::remove_all(folder);
}

TEST(SingleInstanceTest, TheLockFolderIsTheUsersOwnWithOrWithoutARuntimeFolder) {
  const char* set = std::getenv("XDG_RUNTIME_DIR");
  const std::string runtime = set != nullptr ? set : "";
  const std::string fallback = "/tmp/verselane-" + std::to_string(geteuid());
  setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
  EXPECT_EQ(DefaultLockFolder(), "/run/user/1000/verselane");
  setenv("XDG_RUNTIME_DIR", "relative/runtime", 1);
  EXPECT_EQ(DefaultLockFolder(), fallback);
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(DefaultLockFolder(), fallback) << "not a name in /tmp itself, which all users share";
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);

  // The folder is made for this user alone.
  const std::string folder = ShortFolder("made");
  SingleInstance instance(folder, "Marrowfen");
  ASSERT_TRUE(instance.Check());
  struct stat made {};
  ASSERT_EQ(lstat(folder.c_str(), &made), 0);
  EXPECT_TRUE(S_ISDIR(made.st_mode));
  EXPECT_EQ(made.st_mode & 07777, 0700u);
  EXPECT_EQ(made.st_uid, geteuid());
  instance.Release();
  std::filesystem::remove_all(folder);
}

TEST(SingleInstanceTest, AFolderTooLongForASocketAddressStillHoldsTheSocketFile) {
  std::string folder = PrivateFolder(uitest::ScratchFolder() + "/" + std::string(120, 'l'));
  RunningCopy first(folder, 30000);
  EXPECT_TRUE(std::filesystem::is_socket(folder + "/Marrowfen.socket"))
      << "a socket in the abstract namespace, which any user may reach";
  SingleInstance second(folder, "Marrowfen");
  EXPECT_FALSE(second.Check("long-folder-token"));
  ASSERT_TRUE(first.WaitForRequests(1));
  EXPECT_EQ(first.tokens[0], "long-folder-token");
}

// --- Other users ------------------------------------------------------------------------------
// The tests run as root, which can become any user in a child process.

constexpr uid_t kOtherUser = 4242;

// A process of another user, forked to do its part and report what it saw through a pipe. It
// does only plain system calls: the test process has the toolkit's threads.
class OtherUser {
 public:
  // With `reachesOurFiles` its file-system uid stays root's, so it gets into our private folder
  // as anybody could get at a socket in the abstract namespace or in a folder all users share;
  // the kernel still names it to its peers by its effective uid, the other user's.
  using Part = std::function<std::string(int stop)>;
  OtherUser(bool reachesOurFiles, const Part& part) {
    int report[2], stop[2];
    if (pipe2(report, O_CLOEXEC) != 0 || pipe2(stop, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(report[0]);
      close(stop[1]);
      const bool became = reachesOurFiles ? BecomeReachingOurFiles() : Become();
      const std::string seen = became ? part(stop[0]) : "could not change the user";
      [[maybe_unused]] const ssize_t written = write(report[1], seen.data(), seen.size());
      _exit(0);
    }
    close(report[1]);
    close(stop[0]);
    report_ = report[0];
    stop_ = stop[1];
  }
  OtherUser(const OtherUser&) = delete;
  OtherUser& operator=(const OtherUser&) = delete;
  ~OtherUser() { Finish(); }

  // Tells it to stop waiting, then waits for it: what it reported.
  std::string Finish() {
    if (stop_ >= 0) close(stop_);
    stop_ = -1;
    char bytes[512];
    ssize_t count;
    while (report_ >= 0 && (count = read(report_, bytes, sizeof bytes)) > 0) {
      seen_.append(bytes, static_cast<std::size_t>(count));
    }
    if (report_ >= 0) close(report_);
    report_ = -1;
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return seen_;
  }

 private:
  static bool Become() {
    return syscall(SYS_setgroups, 0, nullptr) == 0 &&
           syscall(SYS_setresgid, kOtherUser, kOtherUser, kOtherUser) == 0 &&
           syscall(SYS_setresuid, kOtherUser, kOtherUser, kOtherUser) == 0;
  }
  static bool BecomeReachingOurFiles() {
    if (syscall(SYS_setresuid, kOtherUser, kOtherUser, 0) != 0) return false;
    syscall(SYS_setfsuid, 0);
    return geteuid() == kOtherUser && syscall(SYS_setfsuid, -1) == 0;
  }

  pid_t pid_ = -1;
  int report_ = -1;
  int stop_ = -1;
  std::string seen_;
};

sockaddr_un AddressOf(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  return address;
}

// The other user's own copy, by hand: it holds the lock in `folder` and answers on the socket
// until told to stop; it reports what the copies that connected sent ("-" when none connected).
OtherUser::Part HoldsTheLockAndListens(const std::string& folder) {
  const std::string lockPath = folder + "/Marrowfen.lock";
  const sockaddr_un address = AddressOf(folder + "/Marrowfen.socket");
  return [lockPath, address](int stop) -> std::string {
    const int lock = open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    if (lock < 0 || flock(lock, LOCK_EX) != 0 ||
        bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 4) != 0) {
      return "could not listen";
    }
    std::string received = "-";
    pollfd waits[2] = {{listener, POLLIN, 0}, {stop, POLLIN, 0}};
    while (poll(waits, 2, 10000) > 0 && (waits[0].revents & POLLIN) != 0) {
      const int connection = accept(listener, nullptr, nullptr);
      const timeval limit{2, 0};
      setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
      received = "";
      char bytes[256];
      ssize_t count;
      while ((count = read(connection, bytes, sizeof bytes)) > 0) received.append(bytes, count);
      close(connection);
    }
    return received;
  };
}

bool ListensIn(const std::string& folder) {
  return RunEventsUntil(
      [&folder] { return std::filesystem::is_socket(folder + "/Marrowfen.socket"); }, 3000);
}

class SingleInstanceOtherUserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "another user's process needs root to be made";
  }
};

// Without XDG_RUNTIME_DIR the folder lies under /tmp, where anyone may have made it first.
TEST_F(SingleInstanceOtherUserTest, AFolderThatIsNotTheUsersOwnAloneIsNotTrusted) {
  // A folder the other user can pass through to the one they made.
  const std::string root = PrivateFolder(ShortFolder("folders"));
  std::filesystem::permissions(root, std::filesystem::perms::others_exec,
                               std::filesystem::perm_options::add);
  const std::string theirs = PrivateFolder(root + "/theirs");
  ASSERT_EQ(chown(theirs.c_str(), kOtherUser, kOtherUser), 0);
  OtherUser other(false, HoldsTheLockAndListens(theirs));
  ASSERT_TRUE(ListensIn(theirs));
  const std::string ours = PrivateFolder(root + "/ours");
  std::filesystem::create_directory_symlink(ours, root + "/link");
  const std::string open = PrivateFolder(root + "/open");
  std::filesystem::permissions(open, std::filesystem::perms::others_exec,
                               std::filesystem::perm_options::add);

  for (const std::string& folder : {theirs, root + "/link", open}) {
    testing::internal::CaptureStderr();
    SingleInstance first(folder, "Marrowfen");
    SingleInstance second(folder, "Marrowfen");
    EXPECT_TRUE(first.Check("player-token")) << folder;
    EXPECT_TRUE(second.Check("player-token")) << "the guard was kept in " << folder;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("verselane: " + folder + " is not a folder of this user's own"),
              std::string::npos)
        << said;
  }
  EXPECT_EQ(other.Finish(), "-") << "the other user's copy was asked";
  std::filesystem::remove_all(root);
}

TEST_F(SingleInstanceOtherUserTest, TheFirstCopyIgnoresRequestsOfAnotherUser) {
  const std::string folder = PrivateFolder(ShortFolder("other-request"));
  RunningCopy first(folder, 30000);
  const sockaddr_un address = AddressOf(first.instance.socketPath());
  OtherUser other(true, [&address](int) -> std::string {
    const int connection = socket(AF_UNIX, SOCK_STREAM, 0);
    const std::string request = "their-token\n";
    if (connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        send(connection, request.data(), request.size(), MSG_NOSIGNAL) !=
            static_cast<ssize_t>(request.size())) {
      return "not sent";
    }
    close(connection);
    return "sent";
  });
  ASSERT_EQ(other.Finish(), "sent");
  RawCopy own(first.instance.socketPath());
  ASSERT_TRUE(own.connected() && own.Send("own-token\n"));
  ASSERT_TRUE(first.WaitForRequests(1));
  uitest::RunEventsFor(200);
  EXPECT_EQ(first.tokens, std::vector<std::string>{"own-token"});
  first.instance.Release();
  std::filesystem::remove_all(folder);
}

TEST_F(SingleInstanceOtherUserTest, ASecondCopyAnsweredByAnotherUserStartsAndTellsItNothing) {
  const std::string folder = PrivateFolder(ShortFolder("other-listener"));
  OtherUser other(true, HoldsTheLockAndListens(folder));
  ASSERT_TRUE(ListensIn(folder));
  testing::internal::CaptureStderr();
  {
    SingleInstance copy(folder, "Marrowfen");
    EXPECT_TRUE(copy.Check("player-token"));
    copy.Listen([](const std::string&) {});
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("another user answers on " + folder + "/Marrowfen.socket"),
            std::string::npos)
      << said;
  EXPECT_TRUE(std::filesystem::is_socket(folder + "/Marrowfen.socket"))
      << "their socket was taken over";
  EXPECT_EQ(other.Finish(), "") << "the token reached the other user";
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace verselane
