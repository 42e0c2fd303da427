// The file dialogs of the question and result files, as GTK file choosers.
#include <gtest/gtest.h>

#include <filesystem>

#include <wx/filedlg.h>

#include "dialogs_harness.h"
#include "fakes/temp_folder.h"
#include "settings/question_file.h"
#include "records/result_file.h"
#include "settings/question_source.h"
#include "ui/dialogs/wx_file_chooser.h"

namespace verselane::uitest {
namespace {

class FileChooserTest : public ::testing::Test {
 protected:
  // `name` in the data folder the dialogs start in.
  std::string Here(const std::string& name) const { return ScratchFile(name); }

  WxFileChooser chooser{[] { return nullptr; }, ScratchFolder()};
  const std::filesystem::path before = std::filesystem::current_path();
};

TEST_F(FileChooserTest, OpensAQuestionFileFromTheDataFolder) {
  WriteBytes(Here("set1.vlq"), Scrambled("4,17,0"));
  const std::string folder = ScratchFolder();
  FileDialogSeen seen;
  std::optional<std::string> chosen;
  wxTEST_DIALOG(chosen = chooser.ChooseFileToOpen(QuestionFileOpenSpec()),
                ExpectFileDialog(Here("set1.vlq"), wxID_OK, &seen));
  EXPECT_EQ(chosen, Here("set1.vlq"));
  EXPECT_EQ(seen.title, " Verselane 問題ファイルの読み込み");
  EXPECT_EQ(seen.wildcard, "Verselane question files(*.vlq)|*.vlq|All files(*.*)|*");
  EXPECT_EQ(seen.filterIndex, 0);
  EXPECT_EQ(seen.directory, folder);
  EXPECT_EQ(seen.filename, "");  // "*.vlq" is what the first filter already does
  EXPECT_TRUE(seen.style & wxFD_OPEN);
  // wx's own check would refuse a name typed without its extension, in English.
  EXPECT_FALSE(seen.style & wxFD_FILE_MUST_EXIST);
  EXPECT_EQ(std::filesystem::current_path(), before);  // choosing never moves the current folder
}

TEST_F(FileChooserTest, ACancelledDialogChoosesNothing) {
  std::optional<std::string> chosen = "untouched";
  wxTEST_DIALOG(chosen = chooser.ChooseFileToOpen(QuestionFileOpenSpec()),
                ExpectFileDialog("", wxID_CANCEL));
  EXPECT_EQ(chosen, std::nullopt);
  wxTEST_DIALOG(chosen = chooser.ChooseFileToSave(ResultFileDialogSpec()),
                ExpectFileDialog("", wxID_CANCEL));
  EXPECT_EQ(chosen, std::nullopt);
}

TEST_F(FileChooserTest, SavesWithTheTitleFiltersAndNameOfEachFile) {
  const std::string folder = ScratchFolder();
  FileDialogSeen result, questions;
  std::optional<std::string> chosen;
  wxTEST_DIALOG(chosen = chooser.ChooseFileToSave(ResultFileDialogSpec()),
                ExpectFileDialog(Here("mine.txt"), wxID_OK, &result));
  EXPECT_EQ(chosen, Here("mine.txt"));
  EXPECT_EQ(result.title, " Verselane 結果ファイルの生成");
  EXPECT_EQ(result.wildcard, "Text file(*.txt)|*.txt|All files(*.*)|*");
  EXPECT_EQ(result.filename, "Verselane_結果.txt");
  EXPECT_EQ(result.directory, folder);
  EXPECT_TRUE(result.style & wxFD_SAVE);
  EXPECT_TRUE(result.style & wxFD_OVERWRITE_PROMPT);

  wxTEST_DIALOG(chosen = chooser.ChooseFileToSave(QuestionFileDialogSpec()),
                ExpectFileDialog(Here("wrong.vlq"), wxID_OK, &questions));
  EXPECT_EQ(chosen, Here("wrong.vlq"));
  EXPECT_EQ(questions.title, " Verselane 問題ファイルの生成");
  EXPECT_EQ(questions.wildcard, "Verselane question file(*.vlq)|*.vlq|All files(*.*)|*");
  EXPECT_EQ(questions.filename, "Verselane_問題.vlq");
  EXPECT_EQ(questions.directory, folder);
  EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST_F(FileChooserTest, ANameTypedWithoutExtensionGetsTheDefaultOne) {
  std::optional<std::string> chosen;
  wxTEST_DIALOG(chosen = chooser.ChooseFileToSave(QuestionFileDialogSpec()),
                ExpectFileDialog(Here("drill"), wxID_OK));
  EXPECT_EQ(chosen, Here("drill.vlq"));
  wxTEST_DIALOG(chosen = chooser.ChooseFileToSave(ResultFileDialogSpec()),
                ExpectFileDialog(Here("notes.log"), wxID_OK));
  EXPECT_EQ(chosen, Here("notes.log"));  // another extension stays
  // Opening as well (GTK gives the typed name as it is), unless the name is a file itself.
  WriteBytes(Here("set1.vlq"), Scrambled("4,17,0"));
  WriteBytes(Here("set2"), Scrambled("4"));
  EXPECT_EQ(ExistingOrWithDefaultExtension(Here("set1"), "vlq"), Here("set1.vlq"));
  EXPECT_EQ(ExistingOrWithDefaultExtension(Here("set2"), "vlq"), Here("set2"));
  EXPECT_EQ(ExistingOrWithDefaultExtension(Here("set1.vlq"), "vlq"), Here("set1.vlq"));
}

TEST_F(FileChooserTest, TheFileTheExtensionLeadsToIsReplacedOnlyWhenThePlayerSaysSo) {
  WriteBytes(Here("drill.vlq"), "old");
  MessageBoxSeen asked;
  std::optional<std::string> chosen;
  // No: back to the file dialog, where the player cancels.
  wxTEST_DIALOG(chosen = chooser.ChooseFileToSave(QuestionFileDialogSpec()),
                ExpectFileDialog(Here("drill"), wxID_OK), ExpectMessageBox(wxID_NO, &asked),
                ExpectFileDialog("", wxID_CANCEL));
  EXPECT_EQ(chosen, std::nullopt);
  EXPECT_EQ(asked.shown, 1);
  EXPECT_EQ(asked.message, "drill.vlq は既に存在します。\n上書きしますか?");
  EXPECT_EQ(asked.caption, " Verselane 問題ファイルの生成");
  EXPECT_TRUE(asked.style & wxNO_DEFAULT);
  EXPECT_EQ(asked.yesLabel, "はい(&Y)");
  EXPECT_EQ(asked.noLabel, "いいえ(&N)");
  // Yes: that file.
  wxTEST_DIALOG(chosen = chooser.ChooseFileToSave(QuestionFileDialogSpec()),
                ExpectFileDialog(Here("drill"), wxID_OK), ExpectMessageBox(wxID_YES));
  EXPECT_EQ(chosen, Here("drill.vlq"));
}

TEST(WithDefaultExtension, AddsOnlyWhereTheNameHasNone) {
  EXPECT_EQ(WithDefaultExtension("/home/hanako/drill", "vlq"), "/home/hanako/drill.vlq");
  EXPECT_EQ(WithDefaultExtension("/home/hanako/drill.txt", "vlq"), "/home/hanako/drill.txt");
  EXPECT_EQ(WithDefaultExtension("/home/my.folder/drill", "vlq"), "/home/my.folder/drill.vlq");
  EXPECT_EQ(WithDefaultExtension("drill", "txt"), "drill.txt");
  EXPECT_EQ(WithDefaultExtension("drill", ""), "drill");
}

TEST(FileDialogWildcard, AllFilesMeansEveryFileHere) {
  FileDialogSpec setup;
  setup.filters = {{"Text file(*.txt)", "*.txt"}, {"All files(*.*)", "*.*"}};
  EXPECT_EQ(Utf8(FileDialogWildcard(setup)), "Text file(*.txt)|*.txt|All files(*.*)|*");
}

TEST(LocalClock, TellsTheLocalTime) {
  const auto local = [] {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
  };
  const auto same = [](const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute;
  };
  const LocalTime before = local();
  const LocalTime told = LocalClock().Now();
  const LocalTime after = local();
  EXPECT_TRUE(same(told, before) || same(told, after));
}

}  // namespace
}  // namespace verselane::uitest
