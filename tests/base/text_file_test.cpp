#include "base/text_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fakes/file_fakes.h"
#include "fakes/temp_folder.h"

namespace verselane {
namespace {

using Code = FileStatus::Code;

class TextFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder.File(name); }
  // Writes `text` through a TextFile and returns the bytes on disk.
  std::string Written(const std::string& text, bool scrambled) {
    TextFile file(Path("out.txt"));
    EXPECT_TRUE(file.Open('w').ok());
    EXPECT_TRUE(file.WriteLine(text, scrambled).ok());
    EXPECT_TRUE(file.Close().ok());
    return ReadBytes(Path("out.txt"));
  }
  FileStatus ReadLineOf(const std::string& bytes, std::string& out, bool scrambled,
                        int bufferSize = 500) {
    WriteBytes(Path("in.txt"), bytes);
    TextFile file(Path("in.txt"));
    EXPECT_TRUE(file.Open('r').ok());
    file.SetLineBufferSize(bufferSize);
    FileStatus read = file.ReadLine(out, scrambled);
    EXPECT_TRUE(file.Close().ok());
    return read;
  }

  int FilesInFolder() const {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(folder.path()),
                                          std::filesystem::directory_iterator()));
  }

  TempFolder folder;
};

TEST_F(TextFileTest, OpenAndCloseFollowTheirRules) {
  const std::string path = Path("missing.txt");
  TextFile file(path);
  EXPECT_EQ(file.Close(), FileStatus::Ok(path));  // closing a closed file changes nothing
  EXPECT_EQ(file.Open('r'), FileStatus::NotFound(path));
  EXPECT_EQ(file.Open('x'), FileStatus::InvalidCall(path));
  EXPECT_EQ(file.Open('w'), FileStatus::Ok(path));
  EXPECT_EQ(file.Open('w').code(), Code::kInvalidCall);  // already open: the open write goes on
  EXPECT_EQ(file.Open('r').code(), Code::kInvalidCall);
  EXPECT_TRUE(file.WriteLine("kept", false).ok());
  EXPECT_TRUE(file.Close().ok());
  EXPECT_EQ(ReadBytes(path), "kept");
  std::string out;
  EXPECT_EQ(file.ReadLine(out, false).code(), Code::kInvalidCall);  // closed
  EXPECT_EQ(file.WriteLine("x", false).code(), Code::kInvalidCall);
  // Reopened for reading; a write in the wrong mode changes nothing.
  EXPECT_TRUE(file.Open('r').ok());
  EXPECT_EQ(file.WriteLine("x", false).code(), Code::kInvalidCall);
  EXPECT_TRUE(file.ReadLine(out, false).ok());
  EXPECT_EQ(out, "kept");
  EXPECT_TRUE(file.Close().ok());
}

TEST_F(TextFileTest, PlainLinesEndInCrLfOnDisk) {
  EXPECT_EQ(Written("a\nb\n", false), "a\r\nb\r\n");
  EXPECT_EQ(Written("abc", true), "dcb");
  EXPECT_EQ(Written("a\nb", true), "c\x0B" "b");  // scrambled: one physical line
  EXPECT_EQ(Written(std::string("ab\0cd", 5), false), "ab");
}

TEST_F(TextFileTest, WriteLinesJoinsTheNonEmptyOnes) {
  const std::string lines[3] = {"x", "", "y"};
  TextFile file(Path("out.txt"));
  ASSERT_TRUE(file.Open('w').ok());
  EXPECT_TRUE(file.WriteLines(lines, 3, false).ok());
  EXPECT_TRUE(file.Close().ok());
  EXPECT_EQ(ReadBytes(Path("out.txt")), "x\r\ny");
  const std::string empty[3] = {"", "", ""};
  ASSERT_TRUE(file.Open('w').ok());
  EXPECT_TRUE(file.WriteLines(empty, 3, true).ok());
  EXPECT_TRUE(file.Close().ok());
  EXPECT_EQ(ReadBytes(Path("out.txt")), "");
}

TEST_F(TextFileTest, ReadLineTakesTheOneNonEmptyLine) {
  std::string out = "before";
  EXPECT_TRUE(ReadLineOf("", out, false).ok());
  EXPECT_EQ(out, "before");  // an empty file leaves it as it was
  EXPECT_TRUE(ReadLineOf("", out, true).ok());
  EXPECT_EQ(out, "before");  // also when it would have been decoded
  EXPECT_TRUE(ReadLineOf("line\r\n\r\n\r\n", out, false).ok());
  EXPECT_EQ(out, "line\n");
  EXPECT_TRUE(ReadLineOf("\r\nlast", out, false).ok());
  EXPECT_EQ(out, "last");
  out = "before";
  EXPECT_EQ(ReadLineOf("one\r\ntwo\r\n", out, false), FileStatus::Corrupt(Path("in.txt")));
  EXPECT_EQ(out, "before");
  EXPECT_TRUE(ReadLineOf("dcb", out, true).ok());
  EXPECT_EQ(out, "abc");
}

TEST_F(TextFileTest, ReadingUndoesTheWindowsTextMode) {
  std::string out;
  EXPECT_TRUE(ReadLineOf("a\rb\r\n", out, false).ok());
  EXPECT_EQ(out, "a\rb\n");  // a lone CR is an ordinary byte
  EXPECT_TRUE(ReadLineOf("abc\x1A" "def\r\nmore\r\n", out, false).ok());
  EXPECT_EQ(out, "abc");  // 0x1A ends the input
  EXPECT_TRUE(ReadLineOf("bare\n", out, false).ok());
  EXPECT_EQ(out, "bare\n");  // a bare LF is a line end too
}

TEST_F(TextFileTest, LongLineArrivesInPieces) {
  std::string out;
  EXPECT_TRUE(ReadLineOf(std::string(300, 'a'), out, false, 301).ok());
  EXPECT_EQ(ReadLineOf(std::string(301, 'a'), out, false, 301).code(), Code::kCorrupt);
  EXPECT_EQ(ReadLineOf(std::string(283, 'a'), out, false, 283).code(), Code::kCorrupt);
  EXPECT_TRUE(ReadLineOf(std::string(282, 'a'), out, false, 283).ok());
}

TEST_F(TextFileTest, ReadLinesNumbersEveryPiece) {
  WriteBytes(Path("in.txt"), "A\r\n\r\nB");
  TextFile file(Path("in.txt"));
  ASSERT_TRUE(file.Open('r').ok());
  std::string out[5] = {"", "untouched", "", "", ""};
  EXPECT_TRUE(file.ReadLines(out, 5, false).ok());
  EXPECT_TRUE(file.Close().ok());
  EXPECT_EQ(out[0], "A\n");
  EXPECT_EQ(out[1], "untouched");
  EXPECT_EQ(out[2], "B");
}

TEST_F(TextFileTest, ReadLinesSplitsTheScrambledLine) {
  const std::string path = Path("in.txt");
  auto read = [&path](const std::string& bytes, std::string (&out)[5], int bufferSize = 301) {
    WriteBytes(path, bytes);
    TextFile file(path);
    EXPECT_TRUE(file.Open('r').ok());
    file.SetLineBufferSize(bufferSize);
    EXPECT_TRUE(file.ReadLines(out, 5, true).ok());
    EXPECT_TRUE(file.Close().ok());
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
  const std::string path = Path("env.ini");
  WriteBytes(path, "old");
  {
    TextFile file(path);
    ASSERT_TRUE(file.Open('w').ok());
    EXPECT_TRUE(file.WriteLine("new", false).ok());
    EXPECT_EQ(ReadBytes(path), "old");  // nothing reaches the file before Close
  }  // dropped without Close
  EXPECT_EQ(ReadBytes(path), "old");
  // Nothing is left behind either.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1);
}

// The new content is on the disk before it takes the file's place: a crash right before the
// rename leaves the old file and a complete new one beside it, cleared away at the next start.
TEST_F(TextFileTest, ACrashBetweenWriteAndRenameLeavesAValidFile) {
  const std::string path = Path("record.dat");
  WriteBytes(path, "old");
  const std::string content(100000, 'n');
  const pid_t child = ::fork();
  if (child == 0) {
    FakeFileSystem files;
    files.beforeRename = [] { ::_exit(0); };  // dies as in a crash or a power cut
    TextFile file(path, files);
    const bool written = file.Open('w').ok() && file.WriteLine(content, false).ok();
    static_cast<void>(file.Close());
    ::_exit(written ? 2 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0) << "the write never reached its rename";
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(ReadBytes(Path(".record.dat." + std::to_string(child) + "-0")), content);
  EXPECT_EQ(RemoveAbandonedWrites(path), 1);
  // The next write goes through all the same.
  TextFile file(path);
  ASSERT_TRUE(file.Open('w').ok());
  EXPECT_TRUE(file.WriteLine("new", false).ok());
  EXPECT_TRUE(file.Close().ok());
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_EQ(FilesInFolder(), 1);
}

// A save that fails at any step keeps the old file and leaves nothing beside it: a disk that
// fills up half-way (the half written must not be made the file's, even when Close is asked
// to), a read-only folder or file, a rename the system refuses.
TEST_F(TextFileTest, ASaveThatFailsAtAnyStepKeepsTheOldFile) {
  const std::string path = Path("record.dat");
  struct Case {
    const char* name;
    std::function<void(FakeFileSystem&)> fault;
    Code atOpen, atWrite;
  };
  const std::vector<Case> cases = {
      {"full disk", [](FakeFileSystem& f) { f.spaceLeft = 16; }, Code::kOk, Code::kIoError},
      {"read-only", [](FakeFileSystem& f) { f.readOnly = true; }, Code::kIoError,
       Code::kInvalidCall},
      {"rename refused", [](FakeFileSystem& f) { f.renameFails = true; }, Code::kOk, Code::kOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(path, "old");
    FakeFileSystem files;
    c.fault(files);
    TextFile file(path, files);
    EXPECT_EQ(file.Open('w').code(), c.atOpen);
    EXPECT_EQ(file.WriteLine(std::string(100000, 'n'), false).code(), c.atWrite);
    EXPECT_EQ(file.Close(), c.atOpen == Code::kOk ? FileStatus::IoError(path) : FileStatus::Ok(path));
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(FilesInFolder(), 1) << "no temporary file left behind";
  }
  // A new file in a folder that takes none.
  FakeFileSystem readOnly;
  readOnly.readOnly = true;
  EXPECT_EQ(WriteFileLine(Path("new.vlq"), "1", true, readOnly), FileStatus::IoError(Path("new.vlq")));
  EXPECT_FALSE(std::filesystem::exists(Path("new.vlq")));
}

// Each step of a save in its order: the content is synced before the rename, the rename before
// the save is done.
TEST_F(TextFileTest, ASaveSyncsItsContentBeforeTheRename) {
  FakeFileSystem files;
  ASSERT_TRUE(WriteFileLine(Path("env.ini"), "a\nb", true, files).ok());
  const std::string temporary = ".env.ini." + std::to_string(::getpid()) + "-0";
  EXPECT_EQ(files.steps, (std::vector<std::string>{"create " + temporary, "append " + temporary,
                                                   "sync " + temporary, "rename " + temporary,
                                                   "sync-folder " + BaseNameOf(folder.path())}));
}

// The files a dead writer left are cleared away; a live writer's file, the file itself, other
// files' leftovers and names that only look alike are left alone.
TEST_F(TextFileTest, AbandonedWritesOfDeadWritersAreRemoved) {
  const std::string path = Path("record.dat");
  const pid_t child = ::fork();
  if (child == 0) {
    TextFile file(path);
    const bool written = file.Open('w').ok() && file.WriteLine("half", false).ok();
    std::fflush(nullptr);
    ::_exit(written ? 0 : 1);  // killed in the middle of a save
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  const std::string dead = Path(".record.dat." + std::to_string(child) + "-0");
  ASSERT_TRUE(std::filesystem::exists(dead));
  WriteBytes(path, "kept");
  const std::string live = Path(".record.dat." + std::to_string(::getppid()) + "-3");
  WriteBytes(live, "a save still running");
  const std::vector<std::string> unrelated = {".env.ini." + std::to_string(child) + "-0",
                                              ".record.dat.x-0", ".record.dat.12-", "record.dat.1-0",
                                              ".record.dat.bak"};
  for (const std::string& name : unrelated) WriteBytes(Path(name), "other");

  EXPECT_EQ(RemoveAbandonedWrites(path), 1);
  EXPECT_FALSE(std::filesystem::exists(dead));
  EXPECT_EQ(ReadBytes(path), "kept");
  EXPECT_TRUE(std::filesystem::exists(live));
  for (const std::string& name : unrelated) {
    EXPECT_TRUE(std::filesystem::exists(Path(name))) << name;
  }
  EXPECT_EQ(RemoveAbandonedWrites(Path("missing-folder/record.dat")), 0);
}

TEST_F(TextFileTest, ReplacingKeepsTheFilesPermissions) {
  const std::string path = Path("shared.vlq");
  WriteBytes(path, "old");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  TextFile file(path);
  ASSERT_TRUE(file.Open('w').ok());
  EXPECT_TRUE(file.WriteLine("new", false).ok());
  ASSERT_TRUE(file.Close().ok());
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
}

// What is not a small regular file is refused at once: a folder, a FIFO (which would keep a read
// waiting for a writer that never comes), a file far larger than any the program keeps.
TEST_F(TextFileTest, OnlySmallRegularFilesAreRead) {
  std::filesystem::create_directory(Path("folder"));
  TextFile directory(Path("folder"));
  EXPECT_EQ(directory.Open('w'), FileStatus::NotRegularFile(Path("folder")));
  EXPECT_EQ(directory.Open('r'), FileStatus::NotRegularFile(Path("folder")));
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  std::string out;
  EXPECT_EQ(ReadFileLine(Path("fifo"), 500, true, out), FileStatus::NotRegularFile(Path("fifo")));
  EXPECT_EQ(WriteFileLine(Path("fifo"), "x", true), FileStatus::NotRegularFile(Path("fifo")));
  WriteBytes(Path("huge.vlq"), "");
  std::filesystem::resize_file(Path("huge.vlq"), TextFile::kMaxBytes + 1);
  EXPECT_EQ(ReadFileLine(Path("huge.vlq"), 500, true, out), FileStatus::Corrupt(Path("huge.vlq")));
}

TEST_F(TextFileTest, AFileThatCannotBeWrittenIsRefused) {
  TextFile nowhere(Path("no/such/folder/file.txt"));
  EXPECT_EQ(nowhere.Open('w'), FileStatus::NotFound(Path("no/such/folder/file.txt")));
}

// The whole-file calls are open, read or write, and close in one, with the first failure.
TEST_F(TextFileTest, WholeFilesAreReadAndWrittenInOneCall) {
  const std::string path = Path("whole.txt");
  ASSERT_TRUE(WriteFileLine(path, "a\nb", true).ok());
  EXPECT_EQ(ReadBytes(path), Scrambled("a\nb"));
  std::string line;
  EXPECT_EQ(ReadFileLine(path, 500, true, line), FileStatus::Ok(path));
  EXPECT_EQ(line, "a\nb");
  std::string lines[5];
  EXPECT_TRUE(ReadFileLines(path, 301, true, lines, 5).ok());
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[1], "b");

  WriteBytes(path, "one\r\ntwo");
  EXPECT_EQ(ReadFileLine(path, 500, false, line), FileStatus::Corrupt(path));
  EXPECT_EQ(ReadFileLine(Path("missing.txt"), 500, false, line).code(), Code::kNotFound);
  EXPECT_EQ(ReadFileLines(Path("missing.txt"), 301, true, lines, 5).code(), Code::kNotFound);
  EXPECT_EQ(WriteFileLine(Path("no/such/folder/x"), "x", false).code(), Code::kNotFound);
  EXPECT_EQ(ReadBytes(path), "one\r\ntwo");
}

}  // namespace
}  // namespace verselane
