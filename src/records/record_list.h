// The five best results of all runs, kept in record.dat. Loading and saving return their
// FileStatus; the caller tells the player (LoadRecordListAtStartUp below at start-up, the
// rank-in after its save).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/file_status.h"

namespace verselane {

class NoticePort;
struct LocalTime;

// One stored result. Texts are CP932; a default record fills a place nobody has earned yet.
struct ScoreRecord {
  std::string name = "noname";  // never holds ","
  int score = 0;
  std::string time = "00:00:00";  // the run's clock
  std::string rate = "0";         // correct rate in percent, without "%"
  std::string mode = "-";         // the run's ModeLabel
  std::string date = "00/00/00 00:00";
};

// A record as one line of record.dat: its six fields in order, joined by ",".
std::string FormatRecordLine(const ScoreRecord& record);
// "%02d/%02d/%02d %02d:%02d" of the year − 2000, month, day, hour and minute.
std::string FormatRecordDate(const LocalTime& time);

class RecordList {
 public:
  static constexpr int kSize = 5;
  // record.dat is read in pieces of at most 300 bytes: a longer file reads as corrupt.
  static constexpr int kLineBufferSize = 301;

  // `path` names record.dat with its folder, the data folder in the program.
  explicit RecordList(std::string path);
  RecordList(const RecordList&) = delete;
  RecordList& operator=(const RecordList&) = delete;

  // Reads the list from the file. When it cannot be read or is corrupt, the list is the default
  // one instead and the status says why; the file stays as it is until ResetRecordList.
  [[nodiscard]] FileStatus LoadRecordList();
  // Sets all five records to the default and writes the file anew.
  [[nodiscard]] FileStatus ResetRecordList();
  // Fills the record at `position` from one line of the file. True when the line has exactly
  // five "," and a non-empty date and no control byte; fields before a failure stay filled.
  bool ParseRecordLine(std::string_view line, int position);
  // The place (0 to 4) a score would take, below every equal score, or −1 when it is not
  // positive or not above the fifth.
  int FindRankPosition(int score) const;
  // Puts `record` at the place its score earns, pushing the ones below down and the fifth out.
  void InsertRecord(ScoreRecord record);
  // Writes the five records to the file. A list too long to be read back is not written: it
  // would be corrupt. The list in memory stands either way.
  [[nodiscard]] FileStatus SaveRecordList();

  const ScoreRecord& record(int position) const { return records_[position]; }
  // record.dat, as the file system names it.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::array<ScoreRecord, kSize> records_;
};

// The start-up's record list, told through `notices` when it failed and then written anew with
// the defaults, as the notice says.
void LoadRecordListAtStartUp(RecordList& records, NoticePort& notices);

// What the record list dialog shows: six texts per place, best first (name, score, time,
// rate with "%", mode, date), row by row.
inline constexpr int kRecordListTextsPerRow = 6;
std::array<std::string, RecordList::kSize * kRecordListTextsPerRow> RecordListTexts(
    const RecordList& records);

}  // namespace verselane
