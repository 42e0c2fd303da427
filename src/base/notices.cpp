#include "base/notices.h"

#include "base/shift_jis.h"

namespace verselane {
namespace {

// A notice as written here, in UTF-8; converted once it is shown.
struct NoticeSource {
  const char* text;
  const char* caption = "Notice";
  NoticeIcon icon = NoticeIcon::kExclamation;
};

// The text after "NOTICE(<operation>):" names the operation as the player's log has always
// shown it; scripts and players search for these lines, so they never change.
NoticeSource SourceOf(Notice notice) {
  switch (notice) {
    case Notice::kDataFolderNotCreated:
      return {"NOTICE(EnterDataFolder):\nデータフォルダを作成できませんでした\n"
              "現在のフォルダに設定と記録を保存します"};
    case Notice::kSettingsMissing:
      return {"NOTICE(LoadEnvironment):\n環境設定ファイルが見つかりません\n"
              "初期値を設定してファイルを新規生成します"};
    case Notice::kSettingsCorrupt:
      return {"NOTICE(LoadEnvironment):\n環境設定ファイルが破損しています\n"
              "初期値を設定してファイルを新規生成します"};
    case Notice::kQuestionFileMissing:
      return {"NOTICE(LoadEnvironment):\n出題元に指定されているファイルが見つかりません\n"
              "初期値を設定しておきます"};
    case Notice::kRecordsUnreadable:
      return {"NOTICE(LoadRecordList):\n記録一覧ファイルが読み込めませんでした\n"
              "初期値を設定してファイルを新規生成します"};
    case Notice::kRecordsCorrupt:
      return {"NOTICE(LoadRecordList):\n記録一覧ファイルが破損しています\n"
              "初期値を設定してファイルを新規生成します"};
    case Notice::kSettingsNotSaved:
      return {"NOTICE(SaveEnvironment):\n環境設定ファイルを保存できませんでした\n"
              "今回の設定の変更は保存されません"};
    case Notice::kPreferencesCorrupt:
      return {"NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)が破損しています\n"
              "初期値を設定します\n元のファイルは%sとして残します"};
    case Notice::kPreferencesNotSaved:
      return {"NOTICE(SavePreferences):\n設定ファイル(verselane.conf)を保存できませんでした\n"
              "今回の変更は次の起動に残りません"};
    case Notice::kRecordsNotSaved:
      return {"NOTICE(SaveRecordList):\n記録一覧ファイルを保存できませんでした\n"
              "今回の記録は保存されません"};
    case Notice::kChosenFileNotSaved:
      return {"ファイルを保存できませんでした\n%s"};
    case Notice::kNoPoemsToAsk:
      return {"NOTICE(StartGame):\n選ばれている出題元に歌が1首もありません\n"
              "環境設定で出題元を選び直してください"};
    case Notice::kNameWithComma:
      return {"名前に\",\"を使うことはできません。"};
    case Notice::kNameWithSlash:
      return {"名前に\"/\"を使うことはできません。"};
    case Notice::kNameWithBadCharacter:
      return {"名前に使えない文字が含まれています。"};
    case Notice::kPathWithBackslash:
      return {"NOTICE(ChooseQuestionFile):\nファイルのパスに\"\\\"を含むファイルは出題元にできません\n"
              "出題元は変更しません"};
    case Notice::kPathNotShiftJis:
      return {"NOTICE(ChooseQuestionFile):\nファイルのパスに使えない文字が含まれています\n"
              "出題元は変更しません"};
    case Notice::kPathTooLong:
      return {"NOTICE(ChooseQuestionFile):\nファイルのパスが長すぎます\n出題元は変更しません"};
    case Notice::kFavouriteNotFullWidth:
      return {"すべて全角文字で入力してください ", "Notice", NoticeIcon::kInformation};
    case Notice::kFavouriteNotFound:
      return {"入力された上の句を持つ歌を特定できませんでした ", " 歌検索の結果",
              NoticeIcon::kInformation};
    case Notice::kPreferencesCorruptNotSetAside:
      return {"NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)が破損しています\n"
              "初期値を設定します\n元のファイルは別の名前にできないためそのままにします\n"
              "今回の変更は次の起動に残りません"};
    case Notice::kPreferencesNotRegularFile:
      return {"NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)が通常のファイルではないため"
              "読み込みません\n初期値を設定します\n今回の変更は次の起動に残りません"};
    case Notice::kPreferencesTooLarge:
      return {"NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)が大きすぎるため読み込みません\n"
              "初期値を設定します\n今回の変更は次の起動に残りません"};
    case Notice::kPreferencesUnreadable:
      return {"NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)を読み込めませんでした\n"
              "初期値を設定します\n今回の変更は次の起動に残りません"};
    case Notice::kVoiceFailed:
      return {"NOTICE(Recite):\n読み上げの音声を作れませんでした\n%s\n"
              "この回は歌を文字で表示します"};
  }
  return {"NOTICE"};
}

// A path CP932 cannot hold is still shown, as its bytes, rather than not at all.
std::string ShownPath(const std::string& path) {
  const Conversion sjis = Utf8ToSjis(path);
  return sjis.ok() ? sjis.text : path;
}

}  // namespace

NoticeText ComposeNotice(Notice notice, const std::string& path) {
  const NoticeSource source = SourceOf(notice);
  NoticeText composed{SjisLiteral(source.text), SjisLiteral(source.caption), source.icon};
  // "%s" in a text stands for the file it names.
  if (const std::size_t slot = composed.text.find("%s"); slot != std::string::npos) {
    composed.text.replace(slot, 2, ShownPath(path));
  }
  return composed;
}

void Tell(NoticePort& port, Notice notice, const std::string& path) {
  const NoticeText composed = ComposeNotice(notice, path);
  port.ShowNotice(composed.text, composed.caption, composed.icon);
}

std::optional<Notice> NoticeFor(FileTask task, const FileStatus& status) {
  if (status.ok()) return std::nullopt;
  const bool corrupt = status.code() == FileStatus::Code::kCorrupt;
  switch (task) {
    case FileTask::kCreateDataFolder: return Notice::kDataFolderNotCreated;
    // A file that cannot be opened, for whatever reason, counts as missing.
    case FileTask::kLoadSettings:
      return corrupt ? Notice::kSettingsCorrupt : Notice::kSettingsMissing;
    case FileTask::kLoadQuestionSource: return Notice::kQuestionFileMissing;
    case FileTask::kSaveSettings: return Notice::kSettingsNotSaved;
    case FileTask::kLoadRecords:
      return corrupt ? Notice::kRecordsCorrupt : Notice::kRecordsUnreadable;
    case FileTask::kSaveRecords: return Notice::kRecordsNotSaved;
    case FileTask::kSaveChosenFile: return Notice::kChosenFileNotSaved;
    case FileTask::kSavePreferences: return Notice::kPreferencesNotSaved;
  }
  return std::nullopt;
}

void TellIfFailed(NoticePort& port, FileTask task, const FileStatus& status) {
  if (const std::optional<Notice> notice = NoticeFor(task, status)) {
    Tell(port, *notice, status.path());
  }
}

std::optional<Notice> PreferencesLoadNotice(const FileStatus& status,
                                            const std::string& setAsideAs) {
  switch (status.code()) {
    case FileStatus::Code::kOk:
    case FileStatus::Code::kNotFound: return std::nullopt;
    case FileStatus::Code::kCorrupt:
      return setAsideAs.empty() ? Notice::kPreferencesCorruptNotSetAside
                                : Notice::kPreferencesCorrupt;
    case FileStatus::Code::kNotRegularFile: return Notice::kPreferencesNotRegularFile;
    case FileStatus::Code::kTooLarge: return Notice::kPreferencesTooLarge;
    default: return Notice::kPreferencesUnreadable;
  }
}

void TellPreferencesLoad(NoticePort& port, const FileStatus& status,
                         const std::string& setAsideAs) {
  if (const std::optional<Notice> notice = PreferencesLoadNotice(status, setAsideAs)) {
    Tell(port, *notice, setAsideAs);
  }
}

namespace {

// What is wrong with the history, after its name.
const char* HistoryCause(FileStatus::Code code) {
  switch (code) {
    case FileStatus::Code::kCorrupt: return "が破損しています";
    case FileStatus::Code::kLocked: return "を他のプログラムが使用しています";
    case FileStatus::Code::kNewerFormat: return "は新しい版のVerselaneで作られています";
    case FileStatus::Code::kNotRegularFile: return "が通常のファイルではありません";
    case FileStatus::Code::kWrongKind: return "はデータベースではありません";
    case FileStatus::Code::kForeignContent: return "の表がVerselaneのものと違います";
    default: return "を書き込めませんでした";
  }
}

}  // namespace

NoticeText ComposeHistoryNotice(HistoryTask task, const FileStatus& status) {
  const bool opening = task == HistoryTask::kOpen;
  const std::string text = std::string(opening ? "NOTICE(OpenHistory)" : "NOTICE(RecordAnswer)") +
                           ":\n解答履歴ファイル(history.sqlite3)" + HistoryCause(status.code()) +
                           "\n" +
                           (opening ? "今回は解答履歴を記録せずにゲームを続けます"
                                    : "これ以降の解答は記録されません");
  return {SjisLiteral(text), "Notice", NoticeIcon::kExclamation};
}

void TellHistoryFailure(NoticePort& port, HistoryTask task, const FileStatus& status) {
  const NoticeText composed = ComposeHistoryNotice(task, status);
  port.ShowNotice(composed.text, composed.caption, composed.icon);
}

}  // namespace verselane
