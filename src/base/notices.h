// Every notice the program shows about the player's files, settings and runs, composed in one
// place: its CP932 text, caption and icon. The code that loads and saves returns a FileStatus;
// whoever called it picks the notice from that status and shows it through a NoticePort.
// (The window layer's own error boxes about drawing and start-up stay with it.)
#pragma once

#include <optional>
#include <string>

#include "base/file_ports.h"
#include "base/file_status.h"

namespace verselane {

enum class Notice {
  // The player's files at start-up.
  kDataFolderNotCreated,
  kSettingsMissing,
  kSettingsCorrupt,
  kQuestionFileMissing,  // the question file env.ini names
  kRecordsUnreadable,
  kRecordsCorrupt,
  kPreferencesCorrupt,  // verselane.conf, set aside under the name given as the path
  // Saves that failed.
  kSettingsNotSaved,
  kRecordsNotSaved,
  kChosenFileNotSaved,  // a result or question file; names the file
  kPreferencesNotSaved,
  // What the player asked for and cannot have.
  kNoPoemsToAsk,
  kNameWithComma,
  kNameWithSlash,
  kNameWithBadCharacter,
  kPathWithBackslash,
  kPathNotShiftJis,
  kPathTooLong,
  kFavouriteNotFullWidth,
  kFavouriteNotFound,
  // verselane.conf at start-up, left where it is: the preferences are kept for the session only.
  kPreferencesCorruptNotSetAside,
  kPreferencesNotRegularFile,  // a folder, a FIFO, a device
  kPreferencesTooLarge,
  kPreferencesUnreadable,
  // The reader's voice failed during a run, which goes on with the prompts shown as text; names
  // the file (or the synthesiser) that failed it.
  kVoiceFailed,
};

struct NoticeText {
  std::string text;  // CP932, "\n" a line break
  std::string caption;
  NoticeIcon icon = NoticeIcon::kExclamation;
};

// The text, caption and icon of `notice`. `path` (as the file system names it) is shown where
// the notice names a file: in CP932, or as its bytes when CP932 cannot hold it.
NoticeText ComposeNotice(Notice notice, const std::string& path = {});
// Shows `notice` through `port`.
void Tell(NoticePort& port, Notice notice, const std::string& path = {});

// The program's files, by what was being done with them when a status came back.
enum class FileTask {
  kCreateDataFolder,
  kLoadSettings,
  kLoadQuestionSource,  // the question file env.ini names, at start-up
  kSaveSettings,
  kLoadRecords,
  kSaveRecords,
  kSaveChosenFile,
  kSavePreferences,
};

// The notice `status` of `task` calls for; nothing when it went well.
std::optional<Notice> NoticeFor(FileTask task, const FileStatus& status);
// Shows that notice, when there is one, naming the status's file where the notice names one.
void TellIfFailed(NoticePort& port, FileTask task, const FileStatus& status);

// verselane.conf, which players edit by hand: the notice its load at start-up calls for, from
// its `status` and the name a broken file was set aside under (empty: it could not be, and
// stayed where it was). Nothing when the file was read or is missing.
std::optional<Notice> PreferencesLoadNotice(const FileStatus& status,
                                            const std::string& setAsideAs);
// Shows that notice, when there is one.
void TellPreferencesLoad(NoticePort& port, const FileStatus& status,
                         const std::string& setAsideAs);

// The answer history (history.sqlite3), which the game goes on without when it cannot be used:
// the notice names what is wrong with it and what the game does about it.
enum class HistoryTask {
  kOpen,    // at start-up: nothing is kept this session
  kRecord,  // a write failed later: nothing more is kept
};
NoticeText ComposeHistoryNotice(HistoryTask task, const FileStatus& status);
void TellHistoryFailure(NoticePort& port, HistoryTask task, const FileStatus& status);

}  // namespace verselane
