// One copy per user: the lock, the request to come forward, and a lock left by a crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "ui/single_instance.h"
#include "ui_test_support.h"

namespace verselane {
namespace {

using uitest::RunEventsUntil;

TEST(SingleInstanceTest, ASecondCopyIsRefusedAndAsksTheFirstToComeForward) {
  const std::string folder = uitest::ScratchFolder();
  SingleInstance first(folder, "Marrowfen");
  ASSERT_TRUE(first.Check());
  int requests = 0;
  first.Listen([&requests] { ++requests; });

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
  instance.Listen([&requests] { ++requests; });
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
    instance.Listen([] {});
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
