#include "catalogue/poem_catalogue.h"

#include <string_view>
#include <utility>

#include "catalogue/poem_table.h"
#include "base/shift_jis.h"

namespace verselane {
namespace {

constexpr int kFieldBound = 15;
constexpr std::string_view kSeparator = ";;";

// In the table a continuation cell is written "〃" so that rows stay readable; stored, it is the
// two backslash bytes the matcher looks for.
std::string OverlayRow(const char* utf8) {
  std::string row = SjisLiteral(utf8);
  static const std::string ditto = SjisLiteral("〃");
  for (std::size_t cell = 0; cell < CellCount(row); ++cell) {
    if (CellAt(row, cell) == ditto) row.replace(cell * kCellBytes, kCellBytes, kContinuationCell);
  }
  return row;
}

std::string BuildRecord(const PoemEntry& entry) {
  std::string record = SjisLiteral(entry.fullText);
  auto append = [&record](const std::string& field) {
    record += kSeparator;
    record += field;
  };
  append(SjisLiteral(entry.poet));
  append(SjisLiteral(entry.poetReading));
  append(std::to_string(entry.upperKimarijiBytes));
  append(std::to_string(entry.lowerKimarijiBytes));
  append(SjisLiteral(entry.upperReading));
  append(SjisLiteral(entry.lowerReading));
  for (const char* overlay : entry.overlays) {
    if (overlay == nullptr) break;
    append(OverlayRow(overlay));
  }
  return record;
}

// Splits a record at its separators. They are taken left to right without overlap: ";;;;" is
// two separators around an empty field, and in ";;;" the third ';' already belongs to the next
// field.
std::vector<std::string_view> SplitFields(std::string_view record) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t pos = 1; pos < record.size(); ++pos) {
    if (record[pos] != ';' || record[pos - 1] != ';' || pos - 1 < start) continue;
    fields.push_back(record.substr(start, pos - 1 - start));
    start = pos + 1;
  }
  fields.push_back(record.substr(start));
  return fields;
}

}  // namespace

PoemCatalogue::PoemCatalogue() : poemCount_(kPoemTableSize), fieldBound_(kFieldBound) {
  records_.reserve(kPoemTableSize);
  for (const PoemEntry& entry : kPoemTable) records_.push_back(BuildRecord(entry));
  IndexFields();
}

PoemCatalogue::PoemCatalogue(std::vector<std::string> records)
    : poemCount_(static_cast<int>(records.size())),
      fieldBound_(kFieldBound),
      records_(std::move(records)) {
  IndexFields();
}

void PoemCatalogue::IndexFields() {
  fields_.clear();
  for (const std::string& record : records_) {
    std::vector<FieldSpan>& spans = fields_.emplace_back();
    for (std::string_view field : SplitFields(record)) {
      spans.push_back({static_cast<std::size_t>(field.data() - record.data()), field.size()});
    }
  }
}

std::string_view PoemCatalogue::FieldView(int poem, int field) const {
  if (poem < 0 || poem >= poemCount_ || field < 0 || field >= FieldCount(poem)) return {};
  const FieldSpan span = fields_[poem][field];
  return std::string_view(records_[poem]).substr(span.offset, span.length);
}

bool PoemCatalogue::GetPoemField(int poem, int field, std::string& text) const {
  if (poem < 0 || poem >= poemCount_ || field < 0 || field >= fieldBound_) return false;
  // An absent or empty field leaves the caller's text as it was.
  const std::string_view value = FieldView(poem, field);
  if (!value.empty()) text.assign(value);
  return true;
}

}  // namespace verselane
