#include "base/saved_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "base/notices.h"
#include "base/shift_jis.h"
#include "fakes/file_fakes.h"
#include "fakes/temp_folder.h"

namespace verselane {
namespace {

class SavedFileTest : public ::testing::Test {
 protected:
  // Saves as the results dialog does: a failure is told through the notices.
  FileStatus SaveAndTell(const std::string& path, const std::string& text, bool scrambled) {
    FileStatus saved = SaveChosenFile(path, text, scrambled);
    TellIfFailed(notices, FileTask::kSaveChosenFile, saved);
    return saved;
  }
  void ExpectToldNotSaved(const std::string& shownPath) {
    ASSERT_EQ(notices.shown.size(), 1u);
    EXPECT_EQ(notices.shown[0].text, SjisLiteral("ファイルを保存できませんでした\n") + shownPath);
    EXPECT_EQ(notices.shown[0].caption, "Notice");
    EXPECT_EQ(notices.shown[0].icon, NoticeIcon::kExclamation);
  }
  std::size_t FilesInFolder() const {
    return std::distance(std::filesystem::directory_iterator(folder.path()),
                         std::filesystem::directory_iterator());
  }

  TempFolder folder;
  FakeNotices notices;
  FakeFileChooser files;
};

TEST_F(SavedFileTest, TheChosenPathIsTakenUnlessCancelledOrEmpty) {
  const FileDialogSpec dialog{"title", {{"All files(*.*)", "*.*"}}, "txt", "name.txt"};
  files.answer = "/some/where.txt";
  EXPECT_EQ(AskWhereToSave(files, dialog), "/some/where.txt");
  files.answer = "";
  EXPECT_EQ(AskWhereToSave(files, dialog), std::nullopt);
  files.answer = std::nullopt;
  EXPECT_EQ(AskWhereToSave(files, dialog), std::nullopt);
  ASSERT_EQ(files.saveDialogs.size(), 3u);
  EXPECT_EQ(DialogFields(files.saveDialogs[0]), DialogFields(dialog));
  EXPECT_TRUE(files.openDialogs.empty());
}

TEST_F(SavedFileTest, TheTextReplacesWhatTheFileHeld) {
  WriteBytes(folder.File("plain.txt"), "an older and longer content");
  ASSERT_EQ(SaveAndTell(folder.File("plain.txt"), "a\nb\n", false),
            FileStatus::Ok(folder.File("plain.txt")));
  EXPECT_EQ(ReadBytes(folder.File("plain.txt")), "a\r\nb\r\n");
  ASSERT_TRUE(SaveAndTell(folder.File("scrambled.vlq"), "4,17,0", true).ok());
  EXPECT_EQ(ReadBytes(folder.File("scrambled.vlq")), "1-82-5");
  EXPECT_TRUE(notices.shown.empty());
}

TEST_F(SavedFileTest, AFileThatCannotBeCreatedIsNamedInShiftJis) {
  const std::string path = folder.path() + "/結果/result.txt";
  EXPECT_EQ(SaveAndTell(path, "text", false), FileStatus::NotFound(path));
  ExpectToldNotSaved(SjisLiteral(path));
}

TEST_F(SavedFileTest, APathShiftJisCannotHoldIsNamedByItsBytes) {
  const std::string path = folder.path() + "/€/result.txt";
  EXPECT_FALSE(SaveAndTell(path, "text", false).ok());
  ExpectToldNotSaved(path);
}

TEST_F(SavedFileTest, AFileThatCannotBeFinishedIsReportedAndKeepsItsContent) {
  const std::string path = folder.File("result.txt");
  WriteBytes(path, "old");
  // In a child, so that the size limit that makes the write fail touches no other test.
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{16, 16};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const FileStatus written = SaveAndTell(path, std::string(100, 'x'), false);
    const bool told =
        notices.shown.size() == 1 &&
        notices.shown[0].text == SjisLiteral("ファイルを保存できませんでした\n") + path;
    ::_exit(written == FileStatus::IoError(path) && told ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(FilesInFolder(), 1u);  // no temporary file left behind
}

}  // namespace
}  // namespace verselane
