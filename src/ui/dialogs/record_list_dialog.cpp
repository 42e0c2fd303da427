#include "ui/dialogs/record_list_dialog.h"

#include <wx/stattext.h>

#include "ui/dialogs/dialog_pictures.h"
#include "ui/display_text.h"

namespace verselane {
namespace {

using K = ControlKind;

constexpr DialogFrame kFrame{" 記録一覧", 246, 131, true, true};

struct Heading {
  const char* text;
  int x, width;
};
// Centred over their columns.
constexpr Heading kHeadings[] = {{"名前", 41, 16},   {"得点", 77, 16}, {"時間", 107, 16},
                                 {"正答率", 133, 23}, {"形式", 163, 16}, {"記録日時", 198, 30}};

struct Column {
  ControlKind kind;
  int x, width;
  const char* placeholder;
  const char* sizing;
};
constexpr Column kColumns[] = {{K::kText, 27, 42, "noname", nullptr},
                               {K::kTextRight, 74, 22, "100000", "102000"},
                               {K::kText, 103, 24, "00:00:00", nullptr},
                               {K::kTextRight, 137, 15, "100%", nullptr},
                               {K::kText, 163, 15, "普通", "普通*"},
                               {K::kText, 189, 46, "05/06/23 12:00", nullptr}};

constexpr const char* kRowNumbers[] = {"01", "02", "03", "04", "05"};

}  // namespace

RecordListDialog::RecordListDialog(wxWindow* parent, const RecordList& records)
    : BuiltDialog(parent, kFrame) {
  Build(Grid());
  const auto texts = RecordListTexts(records);
  for (std::size_t field = 0; field < texts.size(); ++field) {
    fields_[field]->SetLabel(FromSjis(texts[field]));
  }
  for (const int id : {wxID_OK, wxID_CANCEL}) {
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_OK); }, id);
  }
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    TakeFocus();
  });
}

std::vector<ControlPlace> RecordListDialog::Grid() {
  std::vector<ControlPlace> controls = {
      Place(K::kPicture, "", 7, 6, 20, 20).Showing(AssetBitmap("icon-153.png", ScaleOf(GetParent()))),
      Place(K::kFrame, "", 24, 27, 215, 75),
  };
  for (const Heading& heading : kHeadings) {
    controls.push_back(Place(K::kText, heading.text, heading.x, 16, heading.width, 8));
  }
  // Grid lines between the rows and between the columns: the frame's 75 units make five rows of
  // 15, each with its texts 3 units from either line, so that rows stay even and their texts
  // centred however much the texts grow.
  for (const int y : {42, 57, 72, 87}) controls.push_back(Place(K::kLine, "", 24, y, 215, 1));
  for (const int x : {71, 99, 132, 157, 183}) {
    controls.push_back(Place(K::kLine, "", x, 27, 1, 75));
  }
  for (int row = 0; row < RecordList::kSize; ++row) {
    const int y = 30 + 15 * row;
    controls.push_back(Place(K::kText, kRowNumbers[row], 12, y, 10, 9));
    for (int column = 0; column < kRecordListTextsPerRow; ++column) {
      const Column& c = kColumns[column];
      controls.push_back(Place(c.kind, c.placeholder, c.x, y, c.width, 9)
                             .SizedFor(c.sizing)
                             .Into(fields_[row * kRecordListTextsPerRow + column]));
    }
  }
  controls.push_back(
      Place(K::kDefaultButton, "閉じる", 175, 110, 64, 14).Anchored(kAnchorRight).WithId(wxID_OK));
  return controls;
}

void ShowRecordList(wxWindow* parent, const RecordList& records) {
  RecordListDialog dialog(parent, records);
  static_cast<void>(dialog.ShowModal());
}

}  // namespace verselane
