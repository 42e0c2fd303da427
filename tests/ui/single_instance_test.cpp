// One copy per user: the lock, the request to come forward with the second copy's activation
// token, requests that come slowly, in pieces, garbled or not at all, and a lock left by a crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ui/activation_token.h"
#include "ui/single_instance.h"
#include "ui_test_support.h"

namespace verselane {
namespace {

using uitest::RunEventsUntil;

// A lock folder whose socket path fits a plain socket address, so a test can connect by hand.
std::string ShortFolder(const char* name) {
  const std::string folder = "/tmp/verselane-" + std::string(name) + "-" + std::to_string(getpid());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
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
  const std::string folder = uitest::ScratchFolder();
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
  const std::string folder = uitest::ScratchFolder();
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
  const std::string folder = "/tmp/verselane-single-" + std::to_string(getpid());
  std::filesystem::create_directories(folder);
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

TEST(SingleInstanceTest, ASharedFolderKeepsUsersApart) {
  SingleInstance shared("/tmp", "Marrowfen");
  const std::string user = std::to_string(getuid());
  EXPECT_EQ(shared.lockPath(), "/tmp/Marrowfen-" + user + ".lock");
  EXPECT_EQ(shared.socketPath(), "/tmp/Marrowfen-" + user + ".socket");
  SingleInstance own("/run/user/1000", "Marrowfen");
  EXPECT_EQ(own.lockPath(), "/run/user/1000/Marrowfen.lock");
  EXPECT_EQ(own.socketPath(), "/run/user/1000/Marrowfen.socket");
}

}  // namespace
}  // namespace verselane
