#include "base/file_status.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

namespace verselane {
namespace {

using Code = FileStatus::Code;

TEST(FileStatus, CarriesItsCodeAndPath) {
  const FileStatus done;
  EXPECT_TRUE(done.ok());
  EXPECT_EQ(done.path(), "");
  const FileStatus corrupt = FileStatus::Corrupt("/d/env.ini");
  EXPECT_FALSE(corrupt.ok());
  EXPECT_EQ(corrupt.code(), Code::kCorrupt);
  EXPECT_EQ(corrupt.path(), "/d/env.ini");
  EXPECT_EQ(FileStatus::Ok("/d/env.ini").code(), Code::kOk);
  EXPECT_EQ(FileStatus::NotFound("p").code(), Code::kNotFound);
  EXPECT_EQ(FileStatus::IoError("p").code(), Code::kIoError);
  EXPECT_EQ(FileStatus::InvalidCall("p").code(), Code::kInvalidCall);
  // Two statuses are equal when both code and path are.
  EXPECT_EQ(FileStatus::Corrupt("a"), FileStatus::Corrupt("a"));
  EXPECT_NE(FileStatus::Corrupt("a"), FileStatus::Corrupt("b"));
  EXPECT_NE(FileStatus::Corrupt("a"), FileStatus::IoError("a"));
}

TEST(FileStatus, ASystemErrorSaysWhetherTheFileIsThere) {
  EXPECT_EQ(FileStatus::FromErrno(ENOENT, "p"), FileStatus::NotFound("p"));
  EXPECT_EQ(FileStatus::FromErrno(ENOTDIR, "p"), FileStatus::NotFound("p"));
  EXPECT_EQ(FileStatus::FromErrno(EACCES, "p"), FileStatus::IoError("p"));
  EXPECT_EQ(FileStatus::FromErrno(ENOSPC, "p"), FileStatus::IoError("p"));
  EXPECT_EQ(FileStatus::FromErrno(EISDIR, "p"), FileStatus::NotRegularFile("p"));
}

TEST(FileStatus, PrintsAsCodeAndPath) {
  EXPECT_EQ(FileStatus().ToString(), "ok");
  EXPECT_EQ(FileStatus::NotFound("/d/record.dat").ToString(), "not found: /d/record.dat");
  EXPECT_EQ(FileStatus::IoError("x").ToString(), "I/O error: x");
  std::ostringstream out;
  PrintTo(FileStatus::Corrupt("x"), &out);
  EXPECT_EQ(out.str(), "corrupt: x");
}

TEST(FileStatus, ASequenceFailsWithItsFirstFailure) {
  EXPECT_EQ(FirstFailure(FileStatus::Ok("a"), FileStatus::Ok("b")), FileStatus::Ok("b"));
  EXPECT_EQ(FirstFailure(FileStatus::Ok("a"), FileStatus::IoError("b")), FileStatus::IoError("b"));
  EXPECT_EQ(FirstFailure(FileStatus::Corrupt("a"), FileStatus::IoError("b")),
            FileStatus::Corrupt("a"));
}

}  // namespace
}  // namespace verselane
