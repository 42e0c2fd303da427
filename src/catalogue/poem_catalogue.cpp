#include "catalogue/poem_catalogue.h"

#include <string_view>
#include <utility>

#include "catalogue/poem_table.h"
#include "catalogue/shift_jis.h"

namespace verselane {
namespace {

constexpr int kFieldBound = 15;
constexpr std::string_view kSeparator = ";;";

// In the table a continuation cell is written "〃" so that rows stay readable; stored, it is the
// two backslash bytes the matcher looks for.
std::string OverlayRow(const char* utf8) {
  std::string row = SjisLiteral(utf8);
  const std::string ditto = SjisLiteral("〃");
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

// Calls visit(index, field) for each field in order until it returns false. Separators are taken
// left to right without overlap: ";;;;" is two separators around an empty field, and in ";;;"
// the third ';' already belongs to the next field.
template <typename Visit>
void ScanFields(std::string_view record, Visit&& visit) {
  int index = 0;
  std::size_t start = 0;
  for (std::size_t pos = 1; pos < record.size(); ++pos) {
    if (record[pos] != ';' || record[pos - 1] != ';' || pos - 1 < start) continue;
    if (!visit(index++, record.substr(start, pos - 1 - start))) return;
    start = pos + 1;
  }
  visit(index, record.substr(start));
}

}  // namespace

PoemCatalogue::PoemCatalogue() : poemCount_(kPoemTableSize), fieldBound_(kFieldBound) {
  records_.reserve(kPoemTableSize);
  for (const PoemEntry& entry : kPoemTable) records_.push_back(BuildRecord(entry));
}

PoemCatalogue::PoemCatalogue(std::vector<std::string> records)
    : poemCount_(static_cast<int>(records.size())),
      fieldBound_(kFieldBound),
      records_(std::move(records)) {}

bool PoemCatalogue::GetPoemField(int poem, int field, std::string& text) const {
  if (poem < 0 || poem >= poemCount_ || field < 0 || field >= fieldBound_) return false;
  ScanFields(records_[poem], [&](int index, std::string_view value) {
    if (index != field) return true;
    if (!value.empty()) text.assign(value);
    return false;
  });
  return true;
}

int PoemCatalogue::FieldCount(int poem) const {
  int count = 0;
  ScanFields(records_[poem], [&count](int, std::string_view) { return ++count, true; });
  return count;
}

}  // namespace verselane
