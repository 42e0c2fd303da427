// The hundred poems of the anthology as a fixed, read-only table of CP932 records.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace verselane {

// Field indices of a poem record.
enum PoemField : int {
  kFullText = 0,
  kPoet = 1,
  kPoetReading = 2,
  kUpperKimarijiBytes = 3,
  kLowerKimarijiBytes = 4,
  kUpperReading = 5,
  kLowerReading = 6,
  kUpperKanjiOverlay = 7,
  kLowerKanjiOverlay = 8,
  kUpperVariant1 = 9,
  kLowerVariant1 = 10,
  kUpperVariant2 = 11,
  kLowerVariant2 = 12,
};

// A record is one text: its fields joined by ";;", without a separator before the first field or
// after the last; fields are CP932, overlay rows use two backslashes for a continuation cell and
// two spaces for a blank cell.
class PoemCatalogue {
 public:
  // Builds the records from the built-in table (converting it to CP932 once).
  PoemCatalogue();
  // A catalogue of the given CP932 records, one per poem (for tools and tests of the field scan).
  explicit PoemCatalogue(std::vector<std::string> records);

  int poemCount() const { return poemCount_; }
  int fieldBound() const { return fieldBound_; }

  // Copies field `field` of poem `poem` into `text` and returns true. An absent or empty field
  // leaves `text` as it was and still returns true; an index out of range returns false and
  // leaves `text` as it was.
  bool GetPoemField(int poem, int field, std::string& text) const;

  // The same field as a view into the table, without copying: empty when the field is empty or
  // absent or an index is out of range. Valid as long as the catalogue.
  std::string_view FieldView(int poem, int field) const;

  // Number of fields the record of `poem` holds, empty ones included (9 to 13); poem must be in
  // range.
  int FieldCount(int poem) const { return static_cast<int>(fields_[poem].size()); }

  // The whole record of a poem, as stored (for review tools and tests); poem must be in range.
  const std::string& Record(int poem) const { return records_[poem]; }

 private:
  int poemCount_;
  int fieldBound_;
  struct FieldSpan {
    std::size_t offset;
    std::size_t length;
  };

  void IndexFields();

  std::vector<std::string> records_;
  // Where each field of each record lies, found once when the catalogue is built: judging and
  // searching read fields of many poems per keystroke and must not rescan records each time.
  std::vector<std::vector<FieldSpan>> fields_;
};

}  // namespace verselane
