#include "records/record_list.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

#include "base/decimal.h"
#include "base/file_ports.h"
#include "base/notices.h"
#include "base/scramble.h"
#include "base/text_file.h"
#include "records/run_figures.h"

namespace verselane {
namespace {

constexpr int kFieldSeparators = 5;

}  // namespace

std::string FormatRecordLine(const ScoreRecord& record) {
  return record.name + ',' + std::to_string(record.score) + ',' + record.time + ',' + record.rate +
         ',' + record.mode + ',' + record.date;
}

std::string FormatRecordDate(const LocalTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d", time.year - 2000, time.month,
                time.day, time.hour, time.minute);
  return text;
}

RecordList::RecordList(std::string path) : path_(std::move(path)) {}

FileStatus RecordList::LoadRecordList() {
  std::string lines[kSize];
  FileStatus status = ReadFileLines(path_, kLineBufferSize, true, lines, kSize);
  for (int position = 0; status.ok() && position < kSize; ++position) {
    if (!ParseRecordLine(lines[position], position)) status = FileStatus::Corrupt(path_);
  }
  if (!status.ok()) records_.fill(ScoreRecord{});
  return status;
}

FileStatus RecordList::ResetRecordList() {
  records_.fill(ScoreRecord{});
  return SaveRecordList();
}

bool RecordList::ParseRecordLine(std::string_view line, int position) {
  if (position < 0 || position >= kSize || HoldsControlByte(line)) return false;
  ScoreRecord& record = records_[position];
  std::string* const textBefore[kFieldSeparators] = {&record.name, nullptr, &record.time,
                                                     &record.rate, &record.mode};
  int separators = 0;
  std::size_t start = 0;
  for (std::size_t comma = line.find(','); comma != std::string_view::npos;
       comma = line.find(',', start)) {
    const std::string_view field = line.substr(start, comma - start);
    if (separators == 1) {
      record.score = ParseDecimal(field);
    } else if (separators < kFieldSeparators) {
      *textBefore[separators] = field;
    }
    ++separators;
    start = comma + 1;
  }
  const std::string_view date = line.substr(start);
  if (separators != kFieldSeparators || date.empty()) return false;
  record.date = date;
  return true;
}

int RecordList::FindRankPosition(int score) const {
  if (score <= 0 || records_[kSize - 1].score >= score) return -1;
  int position = kSize - 1;
  while (position > 0 && records_[position - 1].score < score) --position;
  return position;
}

void RecordList::InsertRecord(ScoreRecord record) {
  const int position = FindRankPosition(record.score);
  if (position < 0) return;
  for (int below = kSize - 1; below > position; --below) {
    records_[below] = std::move(records_[below - 1]);
  }
  records_[position] = std::move(record);
}

FileStatus RecordList::SaveRecordList() {
  std::string lines[kSize];
  std::size_t bytes = kSize - 1;  // the line ends between the records
  for (int position = 0; position < kSize; ++position) {
    lines[position] = FormatRecordLine(records_[position]);
    bytes += lines[position].size();
  }
  // A longer file would read as corrupt at the next start and cost every record in it; the file
  // on disk is better kept. Names typed here are short enough that only a list loaded with long
  // names can come to this.
  if (bytes > kLineBufferSize - 1) return FileStatus::Corrupt(path_);
  TextFile file(path_);
  if (FileStatus opened = file.Open('w'); !opened.ok()) return opened;
  FileStatus written = file.WriteLines(lines, kSize, true);
  return FirstFailure(std::move(written), file.Close());
}

void LoadRecordListAtStartUp(RecordList& records, NoticePort& notices) {
  const FileStatus loaded = records.LoadRecordList();
  TellIfFailed(notices, FileTask::kLoadRecords, loaded);
  if (!loaded.ok()) {
    // Not told when this fails, as the list holds nothing to lose yet: the next rank-in saves it
    // again and tells the player if that fails.
    static_cast<void>(records.ResetRecordList());
  }
}

std::array<std::string, RecordList::kSize * kRecordListTextsPerRow> RecordListTexts(
    const RecordList& records) {
  std::array<std::string, RecordList::kSize * kRecordListTextsPerRow> texts;
  for (int position = 0; position < RecordList::kSize; ++position) {
    const ScoreRecord& record = records.record(position);
    const std::string row[kRecordListTextsPerRow] = {record.name, std::to_string(record.score),
                                                     record.time, record.rate + '%',
                                                     record.mode, record.date};
    std::copy(std::begin(row), std::end(row), texts.begin() + position * kRecordListTextsPerRow);
  }
  return texts;
}

}  // namespace verselane
