#include "records/record_list.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

#include "base/shift_jis.h"
#include "records/run_figures.h"
#include "base/scramble.h"
#include "base/decimal.h"
#include "base/file_ports.h"

namespace verselane {
namespace {

constexpr const char* kUnreadableNotice =
    "NOTICE(LoadRecordList):\n記録一覧ファイルが読み込めませんでした\n"
    "初期値を設定してファイルを新規生成します";
constexpr const char* kCorruptNotice =
    "NOTICE(LoadRecordList):\n記録一覧ファイルが破損しています\n"
    "初期値を設定してファイルを新規生成します";

constexpr int kFieldSeparators = 5;

void Notify(NoticePort& notices, const char* utf8) {
  notices.ShowNotice(SjisLiteral(utf8), "Notice", NoticeIcon::kExclamation);
}

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

RecordList::RecordList(std::string path) : file_(std::move(path)) {}

void RecordList::LoadRecordList(NoticePort& notices) {
  if (!file_.Open('r')) {
    Notify(notices, kUnreadableNotice);
    ResetRecordList();
    return;
  }
  file_.SetLineBufferSize(kLineBufferSize);
  std::string lines[kSize];
  bool intact = file_.ReadLines(lines, kSize, true);
  for (int position = 0; intact && position < kSize; ++position) {
    intact = ParseRecordLine(lines[position], position);
  }
  file_.Close();
  if (!intact) {
    Notify(notices, kCorruptNotice);
    ResetRecordList();
  }
}

bool RecordList::ResetRecordList() {
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

bool RecordList::SaveRecordList() {
  std::string lines[kSize];
  std::size_t bytes = kSize - 1;  // the line ends between the records
  for (int position = 0; position < kSize; ++position) {
    lines[position] = FormatRecordLine(records_[position]);
    bytes += lines[position].size();
  }
  // A longer file would read as corrupt at the next start and cost every record in it; the file
  // on disk is better kept. Names typed here are short enough that only a list loaded with long
  // names can come to this.
  if (bytes > kLineBufferSize - 1) return false;
  if (!file_.Open('w')) return false;
  file_.WriteLines(lines, kSize, true);
  return file_.Close() == 0;
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
