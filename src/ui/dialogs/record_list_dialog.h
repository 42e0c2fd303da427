// " 記録一覧": the five best results, a row each: name, score, time, rate, mode and date.
#pragma once

#include <array>

#include "records/record_list.h"
#include "ui/dialogs/dialog_builder.h"

class wxStaticText;

namespace verselane {

class RecordListDialog : public BuiltDialog {
 public:
  RecordListDialog(wxWindow* parent, const RecordList& records);
  // The text of column `column` (0 to 5) in row `row` (0 to 4).
  wxStaticText* field(int row, int column) const {
    return fields_[row * kRecordListTextsPerRow + column];
  }

 private:
  std::vector<ControlPlace> Grid();

  std::array<wxStaticText*, RecordList::kSize * kRecordListTextsPerRow> fields_{};
};

// Shows the record list over `parent` until it is closed.
void ShowRecordList(wxWindow* parent, const RecordList& records);

}  // namespace verselane
