#include "base/notices.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/shift_jis.h"
#include "fakes/file_fakes.h"

namespace verselane {
namespace {

struct Expected {
  Notice notice;
  const char* text;  // UTF-8
  const char* caption = "Notice";
  NoticeIcon icon = NoticeIcon::kExclamation;
};

// Byte for byte what the program has always shown; scripts read these lines from its log.
const Expected kEveryNotice[] = {
    {Notice::kDataFolderNotCreated,
     "NOTICE(EnterDataFolder):\nデータフォルダを作成できませんでした\n"
     "現在のフォルダに設定と記録を保存します"},
    {Notice::kSettingsMissing,
     "NOTICE(LoadEnvironment):\n環境設定ファイルが見つかりません\n"
     "初期値を設定してファイルを新規生成します"},
    {Notice::kSettingsCorrupt,
     "NOTICE(LoadEnvironment):\n環境設定ファイルが破損しています\n"
     "初期値を設定してファイルを新規生成します"},
    {Notice::kQuestionFileMissing,
     "NOTICE(LoadEnvironment):\n出題元に指定されているファイルが見つかりません\n"
     "初期値を設定しておきます"},
    {Notice::kRecordsUnreadable,
     "NOTICE(LoadRecordList):\n記録一覧ファイルが読み込めませんでした\n"
     "初期値を設定してファイルを新規生成します"},
    {Notice::kRecordsCorrupt,
     "NOTICE(LoadRecordList):\n記録一覧ファイルが破損しています\n"
     "初期値を設定してファイルを新規生成します"},
    {Notice::kSettingsNotSaved,
     "NOTICE(SaveEnvironment):\n環境設定ファイルを保存できませんでした\n"
     "今回の設定の変更は保存されません"},
    {Notice::kRecordsNotSaved,
     "NOTICE(SaveRecordList):\n記録一覧ファイルを保存できませんでした\n"
     "今回の記録は保存されません"},
    {Notice::kNoPoemsToAsk,
     "NOTICE(StartGame):\n選ばれている出題元に歌が1首もありません\n"
     "環境設定で出題元を選び直してください"},
    {Notice::kNameWithComma, "名前に\",\"を使うことはできません。"},
    {Notice::kNameWithSlash, "名前に\"/\"を使うことはできません。"},
    {Notice::kNameWithBadCharacter, "名前に使えない文字が含まれています。"},
    {Notice::kPathWithBackslash,
     "NOTICE(ChooseQuestionFile):\nファイルのパスに\"\\\"を含むファイルは出題元にできません\n"
     "出題元は変更しません"},
    {Notice::kPathNotShiftJis,
     "NOTICE(ChooseQuestionFile):\nファイルのパスに使えない文字が含まれています\n"
     "出題元は変更しません"},
    {Notice::kPathTooLong,
     "NOTICE(ChooseQuestionFile):\nファイルのパスが長すぎます\n出題元は変更しません"},
    {Notice::kFavouriteNotFullWidth, "すべて全角文字で入力してください ", "Notice",
     NoticeIcon::kInformation},
    {Notice::kFavouriteNotFound, "入力された上の句を持つ歌を特定できませんでした ",
     " 歌検索の結果", NoticeIcon::kInformation},
};

TEST(Notices, EachIsComposedAsThePlayerHasAlwaysSeenIt) {
  for (const Expected& expected : kEveryNotice) {
    const NoticeText composed = ComposeNotice(expected.notice, "/ignored/path");
    EXPECT_EQ(composed.text, SjisLiteral(expected.text)) << expected.text;
    EXPECT_EQ(composed.caption, SjisLiteral(expected.caption)) << expected.text;
    EXPECT_EQ(composed.icon, expected.icon) << expected.text;
  }
}

TEST(Notices, AFileNotSavedIsNamedInShiftJisOrByItsBytes) {
  const NoticeText named = ComposeNotice(Notice::kChosenFileNotSaved, "/home/p/結果.txt");
  EXPECT_EQ(named.text, SjisLiteral("ファイルを保存できませんでした\n/home/p/結果.txt"));
  EXPECT_EQ(named.caption, "Notice");
  EXPECT_EQ(named.icon, NoticeIcon::kExclamation);
  // A name Shift-JIS cannot hold is still shown rather than not at all.
  EXPECT_EQ(ComposeNotice(Notice::kChosenFileNotSaved, "/home/p/€.txt").text,
            SjisLiteral("ファイルを保存できませんでした\n") + "/home/p/€.txt");
  // The voice names what failed it: a file of its cache, or the synthesiser.
  EXPECT_EQ(ComposeNotice(Notice::kVoiceFailed, "/c/v-1.00/077-upper.times").text,
            SjisLiteral("NOTICE(Recite):\n読み上げの音声を作れませんでした\n"
                        "/c/v-1.00/077-upper.times\nこの回は歌を文字で表示します"));
}

TEST(Notices, ShowingGoesThroughThePort) {
  FakeNotices port;
  Tell(port, Notice::kFavouriteNotFound);
  ASSERT_EQ(port.shown.size(), 1u);
  EXPECT_EQ(port.shown[0].text, ComposeNotice(Notice::kFavouriteNotFound).text);
  EXPECT_EQ(port.shown[0].caption, SjisLiteral(" 歌検索の結果"));
  EXPECT_EQ(port.shown[0].icon, NoticeIcon::kInformation);
}

TEST(Notices, AFailedLoadIsMissingOrCorruptByItsCode) {
  const std::pair<FileTask, std::pair<Notice, Notice>> loads[] = {
      {FileTask::kLoadSettings, {Notice::kSettingsMissing, Notice::kSettingsCorrupt}},
      {FileTask::kLoadRecords, {Notice::kRecordsUnreadable, Notice::kRecordsCorrupt}},
  };
  for (const auto& [task, notices] : loads) {
    EXPECT_EQ(NoticeFor(task, FileStatus::Ok("f")), std::nullopt);
    // A file that cannot be opened, whatever the reason, is the first notice.
    EXPECT_EQ(NoticeFor(task, FileStatus::NotFound("f")), notices.first);
    EXPECT_EQ(NoticeFor(task, FileStatus::IoError("f")), notices.first);
    EXPECT_EQ(NoticeFor(task, FileStatus::Corrupt("f")), notices.second);
  }
}

TEST(Notices, EveryOtherTaskHasOneNoticeForAnyFailure) {
  const std::pair<FileTask, Notice> tasks[] = {
      {FileTask::kCreateDataFolder, Notice::kDataFolderNotCreated},
      {FileTask::kLoadQuestionSource, Notice::kQuestionFileMissing},
      {FileTask::kSaveSettings, Notice::kSettingsNotSaved},
      {FileTask::kSaveRecords, Notice::kRecordsNotSaved},
      {FileTask::kSaveChosenFile, Notice::kChosenFileNotSaved},
  };
  for (const auto& [task, notice] : tasks) {
    EXPECT_EQ(NoticeFor(task, FileStatus()), std::nullopt);
    for (const FileStatus& failed :
         {FileStatus::NotFound("f"), FileStatus::Corrupt("f"), FileStatus::IoError("f")}) {
      EXPECT_EQ(NoticeFor(task, failed), notice) << failed.ToString();
    }
  }
}

TEST(Notices, OnlyAFailureIsToldNamingItsFile) {
  FakeNotices port;
  TellIfFailed(port, FileTask::kSaveChosenFile, FileStatus::Ok("/d/run.txt"));
  EXPECT_TRUE(port.shown.empty());
  TellIfFailed(port, FileTask::kSaveChosenFile, FileStatus::IoError("/d/run.txt"));
  ASSERT_EQ(port.shown.size(), 1u);
  EXPECT_EQ(port.shown[0].text, ComposeNotice(Notice::kChosenFileNotSaved, "/d/run.txt").text);
}

// The history's notice names what is wrong with it: the texts the player has seen, and one for
// each cause the program now tells apart, instead of "could not write".
TEST(Notices, TheHistorysNoticeNamesItsCause) {
  const std::pair<FileStatus, const char*> causes[] = {
      {FileStatus::IoError("h"), "を書き込めませんでした"},
      {FileStatus::NotFound("h"), "を書き込めませんでした"},
      {FileStatus::Corrupt("h"), "が破損しています"},
      {FileStatus::Locked("h"), "を他のプログラムが使用しています"},
      {FileStatus::NewerFormat("h"), "は新しい版のVerselaneで作られています"},
      {FileStatus::NotRegularFile("h"), "が通常のファイルではありません"},
      {FileStatus::WrongKind("h"), "はデータベースではありません"},
      {FileStatus::ForeignContent("h"), "の表がVerselaneのものと違います"},
  };
  for (const auto& [status, cause] : causes) {
    const NoticeText open = ComposeHistoryNotice(HistoryTask::kOpen, status);
    EXPECT_EQ(open.text, SjisLiteral(std::string("NOTICE(OpenHistory):\n解答履歴ファイル(history.sqlite3)") +
                                     cause + "\n今回は解答履歴を記録せずにゲームを続けます"));
    EXPECT_EQ(open.caption, "Notice");
    EXPECT_EQ(open.icon, NoticeIcon::kExclamation);
    EXPECT_EQ(ComposeHistoryNotice(HistoryTask::kRecord, status).text,
              SjisLiteral(std::string("NOTICE(RecordAnswer):\n解答履歴ファイル(history.sqlite3)") +
                          cause + "\nこれ以降の解答は記録されません"));
  }
}

}  // namespace
}  // namespace verselane
