#include "base/text_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fakes/temp_folder.h"

namespace verselane {
namespace {

class TextFileTest : public ::testing::Test {
 protected:
  // Writes `text` through a TextFile and returns the bytes on disk.
  std::string Written(const std::string& text, bool scrambled) {
    TextFile file("out.txt");
    EXPECT_TRUE(file.Open('w'));
    EXPECT_TRUE(file.WriteLine(text, scrambled));
    EXPECT_EQ(file.Close(), 0);
    return ReadBytes("out.txt");
  }
  bool ReadLineOf(const std::string& bytes, std::string& out, bool scrambled, int bufferSize = 500) {
    WriteBytes("in.txt", bytes);
    TextFile file("in.txt");
    EXPECT_TRUE(file.Open('r'));
    file.SetLineBufferSize(bufferSize);
    const bool ok = file.ReadLine(out, scrambled);
    file.Close();
    return ok;
  }

  TempFolder folder;
};

TEST_F(TextFileTest, OpenAndCloseFollowTheirRules) {
  TextFile file("missing.txt");
  EXPECT_EQ(file.Close(), 0);  // closing a closed file changes nothing
  EXPECT_FALSE(file.Open('r'));
  EXPECT_FALSE(file.Open('x'));
  EXPECT_TRUE(file.Open('w'));
  EXPECT_FALSE(file.Open('w'));  // already open: refused, the open write goes on
  EXPECT_FALSE(file.Open('r'));
  EXPECT_TRUE(file.WriteLine("kept", false));
  EXPECT_EQ(file.Close(), 0);
  EXPECT_EQ(ReadBytes("missing.txt"), "kept");
  std::string out;
  EXPECT_FALSE(file.ReadLine(out, false));  // closed
  EXPECT_FALSE(file.WriteLine("x", false));
  // Reopened for reading; a write in the wrong mode changes nothing.
  EXPECT_TRUE(file.Open('r'));
  EXPECT_FALSE(file.WriteLine("x", false));
  EXPECT_TRUE(file.ReadLine(out, false));
  EXPECT_EQ(out, "kept");
  file.Close();
}

TEST_F(TextFileTest, PlainLinesEndInCrLfOnDisk) {
  EXPECT_EQ(Written("a\nb\n", false), "a\r\nb\r\n");
  EXPECT_EQ(Written("abc", true), "dcb");
  EXPECT_EQ(Written("a\nb", true), "c\x0B" "b");  // scrambled: one physical line
  EXPECT_EQ(Written(std::string("ab\0cd", 5), false), "ab");
}

TEST_F(TextFileTest, WriteLinesJoinsTheNonEmptyOnes) {
  const std::string lines[3] = {"x", "", "y"};
  TextFile file("out.txt");
  ASSERT_TRUE(file.Open('w'));
  EXPECT_TRUE(file.WriteLines(lines, 3, false));
  file.Close();
  EXPECT_EQ(ReadBytes("out.txt"), "x\r\ny");
  const std::string empty[3] = {"", "", ""};
  ASSERT_TRUE(file.Open('w'));
  EXPECT_TRUE(file.WriteLines(empty, 3, true));
  file.Close();
  EXPECT_EQ(ReadBytes("out.txt"), "");
}

TEST_F(TextFileTest, ReadLineTakesTheOneNonEmptyLine) {
  std::string out = "before";
  EXPECT_TRUE(ReadLineOf("", out, false));
  EXPECT_EQ(out, "before");  // an empty file leaves it as it was
  EXPECT_TRUE(ReadLineOf("line\r\n\r\n\r\n", out, false));
  EXPECT_EQ(out, "line\n");
  EXPECT_TRUE(ReadLineOf("\r\nlast", out, false));
  EXPECT_EQ(out, "last");
  out = "before";
  EXPECT_FALSE(ReadLineOf("one\r\ntwo\r\n", out, false));
  EXPECT_EQ(out, "before");
  EXPECT_TRUE(ReadLineOf("dcb", out, true));
  EXPECT_EQ(out, "abc");
}

TEST_F(TextFileTest, ReadingUndoesTheWindowsTextMode) {
  std::string out;
  EXPECT_TRUE(ReadLineOf("a\rb\r\n", out, false));
  EXPECT_EQ(out, "a\rb\n");  // a lone CR is an ordinary byte
  EXPECT_TRUE(ReadLineOf("abc\x1A" "def\r\nmore\r\n", out, false));
  EXPECT_EQ(out, "abc");  // 0x1A ends the input
  EXPECT_TRUE(ReadLineOf("bare\n", out, false));
  EXPECT_EQ(out, "bare\n");  // a bare LF is a line end too
}

TEST_F(TextFileTest, LongLineArrivesInPieces) {
  std::string out;
  EXPECT_TRUE(ReadLineOf(std::string(300, 'a'), out, false, 301));
  EXPECT_FALSE(ReadLineOf(std::string(301, 'a'), out, false, 301));
  EXPECT_FALSE(ReadLineOf(std::string(283, 'a'), out, false, 283));
  EXPECT_TRUE(ReadLineOf(std::string(282, 'a'), out, false, 283));
}

TEST_F(TextFileTest, ReadLinesNumbersEveryPiece) {
  WriteBytes("in.txt", "A\r\n\r\nB");
  TextFile file("in.txt");
  ASSERT_TRUE(file.Open('r'));
  std::string out[5] = {"", "untouched", "", "", ""};
  EXPECT_TRUE(file.ReadLines(out, 5, false));
  file.Close();
  EXPECT_EQ(out[0], "A\n");
  EXPECT_EQ(out[1], "untouched");
  EXPECT_EQ(out[2], "B");
}

TEST_F(TextFileTest, ReadLinesSplitsTheScrambledLine) {
  auto read = [](const std::string& bytes, std::string (&out)[5], int bufferSize = 301) {
    WriteBytes("in.txt", bytes);
    TextFile file("in.txt");
    EXPECT_TRUE(file.Open('r'));
    file.SetLineBufferSize(bufferSize);
    EXPECT_TRUE(file.ReadLines(out, 5, true));
    file.Close();
  };
  std::string six[5];
  read(Scrambled("1\n2\n3\n4\n5\n6"), six);
  EXPECT_EQ(six[4], "5");  // the sixth is dropped
  std::string three[5] = {"", "", "", "keep", "keep"};
  read(Scrambled("1\n2\n3"), three);
  EXPECT_EQ(three[2], "3");
  EXPECT_EQ(three[3], "keep");
  std::string trailing[5];
  read(Scrambled("1\n2\n3\n4\n5\n"), trailing);
  EXPECT_EQ(trailing[4], "5");

  // 301 bytes with a buffer of 301 arrive as two pieces, decoded each on its own.
  std::string pieces[5];
  read(std::string(301, 'b'), pieces);
  EXPECT_EQ(pieces[0], std::string(300, 'a'));
  EXPECT_EQ(pieces[1], "a");
  // A plain multi-line file decodes line by line, each line end turning into a leading 0x09.
  std::string plain[5];
  read("dcb\r\ndcb", plain);
  EXPECT_EQ(plain[0], "\x09" "abc");
  EXPECT_EQ(plain[1], "abc");
}

TEST_F(TextFileTest, AnUnfinishedWriteLeavesTheOldFile) {
  WriteBytes("env.ini", "old");
  {
    TextFile file("env.ini");
    ASSERT_TRUE(file.Open('w'));
    file.WriteLine("new", false);
    EXPECT_EQ(ReadBytes("env.ini"), "old");  // nothing reaches the file before Close
  }  // dropped without Close
  EXPECT_EQ(ReadBytes("env.ini"), "old");
  // Nothing is left behind either.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(TextFileTest, ACrashBetweenWriteAndRenameLeavesAValidFile) {
  WriteBytes("record.dat", "old");
  const pid_t child = ::fork();
  if (child == 0) {
    TextFile file("record.dat");
    file.Open('w');
    file.WriteLine(std::string(100000, 'n'), false);
    std::fflush(nullptr);
    ::_exit(0);  // dies with the write open, as in a crash or a power cut
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(ReadBytes("record.dat"), "old");
  // The next write goes through all the same.
  TextFile file("record.dat");
  ASSERT_TRUE(file.Open('w'));
  file.WriteLine("new", false);
  EXPECT_EQ(file.Close(), 0);
  EXPECT_EQ(ReadBytes("record.dat"), "new");
}

// The files a dead writer left are cleared away; a live writer's file, the file itself, other
// files' leftovers and names that only look alike are left alone.
TEST_F(TextFileTest, AbandonedWritesOfDeadWritersAreRemoved) {
  const pid_t child = ::fork();
  if (child == 0) {
    TextFile file("record.dat");
    file.Open('w');
    file.WriteLine("half", false);
    std::fflush(nullptr);
    ::_exit(0);  // killed in the middle of a save
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  const std::string dead = ".record.dat." + std::to_string(child) + "-0";
  ASSERT_TRUE(std::filesystem::exists(dead));
  WriteBytes("record.dat", "kept");
  const std::string live = ".record.dat." + std::to_string(::getppid()) + "-3";
  WriteBytes(live, "a save still running");
  const std::vector<std::string> unrelated = {".env.ini." + std::to_string(child) + "-0",
                                              ".record.dat.x-0", ".record.dat.12-", "record.dat.1-0",
                                              ".record.dat.bak"};
  for (const std::string& name : unrelated) WriteBytes(name, "other");

  EXPECT_EQ(RemoveAbandonedWrites("record.dat"), 1);
  EXPECT_FALSE(std::filesystem::exists(dead));
  EXPECT_EQ(ReadBytes("record.dat"), "kept");
  EXPECT_TRUE(std::filesystem::exists(live));
  for (const std::string& name : unrelated) EXPECT_TRUE(std::filesystem::exists(name)) << name;
  EXPECT_EQ(RemoveAbandonedWrites("missing-folder/record.dat"), 0);
}

TEST_F(TextFileTest, ReplacingKeepsTheFilesPermissions) {
  WriteBytes("shared.vlq", "old");
  std::filesystem::permissions("shared.vlq", std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_write |
                                                 std::filesystem::perms::group_read);
  TextFile file("shared.vlq");
  ASSERT_TRUE(file.Open('w'));
  file.WriteLine("new", false);
  ASSERT_EQ(file.Close(), 0);
  EXPECT_EQ(std::filesystem::status("shared.vlq").permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
}

TEST_F(TextFileTest, AFileThatCannotBeWrittenIsRefused) {
  std::filesystem::create_directory("folder");
  TextFile directory("folder");
  EXPECT_FALSE(directory.Open('w'));
  EXPECT_FALSE(directory.Open('r'));
  TextFile nowhere("no/such/folder/file.txt");
  EXPECT_FALSE(nowhere.Open('w'));
}

}  // namespace
}  // namespace verselane
