#include "ui/dialogs/poem_card_dialog.h"

#include <wx/stattext.h>

#include "ui/display_text.h"

namespace verselane {
namespace {

using K = ControlKind;

// The caption is the poem's own.
constexpr DialogFrame kFrame{"", 240, 181};

std::string Utf8(std::string_view sjis) { return ToUtf8(FromSjis(sjis)); }

// Text taken as it is inside a label's markup.
wxString Escaped(wxString text) {
  text.Replace("&", "&amp;");
  text.Replace("<", "&lt;");
  text.Replace(">", "&gt;");
  return text;
}

// The kimariji underlined and bold, so that it reads as marked without colour.
wxString MarkedMarkup(const MarkedReading& reading) {
  return "<u><b>" + Escaped(FromSjis(reading.kimariji)) + "</b></u>" +
         Escaped(FromSjis(reading.rest));
}

// What the texts filled in after building need: the reading with a full-width blank for its
// bold part, the others as they are.
struct Sizing {
  explicit Sizing(const PoemCard& card)
      : poem(Utf8(card.poem)),
        upper(Utf8(card.upper.kimariji + card.upper.rest) + "　"),
        lower(Utf8(card.lower.kimariji + card.lower.rest) + "　"),
        poet(Utf8(card.poet)),
        poetReading(Utf8(card.poetReading) + "（）") {
    for (const std::string& line : card.figures) figures.push_back(Utf8(line));
  }
  const char* Figure(int row) const {
    return row < static_cast<int>(figures.size()) ? figures[row].c_str() : nullptr;
  }
  std::string poem, upper, lower, poet, poetReading;
  std::vector<std::string> figures;
};

}  // namespace

PoemCardDialog::PoemCardDialog(wxWindow* parent, const PoemCard& card)
    : BuiltDialog(parent, kFrame) {
  const Sizing sizing(card);
  std::vector<ControlPlace> controls = {
      Place(K::kText, "", 7, 7, 226, 8).SizedFor(sizing.poem.c_str()).Into(poem_),
      Place(K::kGroupBox, " 読み（下線が決まり字） ", 7, 20, 226, 36),
      Place(K::kText, "上の句", 13, 32, 28, 8),
      Place(K::kText, "", 44, 32, 183, 8).SizedFor(sizing.upper.c_str()).Into(upper_),
      Place(K::kText, "下の句", 13, 43, 28, 8),
      Place(K::kText, "", 44, 43, 183, 8).SizedFor(sizing.lower.c_str()).Into(lower_),
      Place(K::kText, "作者", 13, 62, 28, 8),
      Place(K::kText, "", 44, 62, 189, 8).SizedFor(sizing.poet.c_str()).Into(poet_),
      Place(K::kText, "", 44, 72, 189, 8).SizedFor(sizing.poetReading.c_str()).Into(poetReading_),
      // A poem met for the first time has no figures yet: what to do with it stands there.
      Place(K::kGroupBox, card.meeting ? " はじめての歌 " : " 成績 ", 7, 86, 226, 64),
  };
  for (int row = 0; row < kFigureRows; ++row) {
    controls.push_back(Place(K::kText, "", 13, 98 + 10 * row, 214, 8)
                           .SizedFor(sizing.Figure(row))
                           .Into(figures_[row]));
  }
  controls.push_back(Place(K::kEtchedLine, "", 7, 160, 226, 1));
  controls.push_back(
      Place(K::kDefaultButton, card.meeting ? "次へ" : "閉じる", 159, 165, 74, 14)
          .Anchored(kAnchorRight)
          .WithId(wxID_OK));
  Build(std::move(controls));

  SetTitle(FromSjis(card.caption));
  poem_->SetLabel(FromSjis(card.poem));
  upper_->SetLabelMarkup(MarkedMarkup(card.upper));
  lower_->SetLabelMarkup(MarkedMarkup(card.lower));
  poet_->SetLabel(FromSjis(card.poet));
  poetReading_->SetLabel(Text("（") + FromSjis(card.poetReading) + Text("）"));
  for (std::size_t row = 0; row < card.figures.size() && row < kFigureRows; ++row) {
    figures_[row]->SetLabel(FromSjis(card.figures[row]));
  }
  for (const int id : {wxID_OK, wxID_CANCEL}) {
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_OK); }, id);
  }
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    TakeFocus();
  });
}

std::vector<wxString> PoemCardDialog::FigureTexts() const {
  std::vector<wxString> texts;
  for (wxStaticText* row : figures_) {
    if (!row->GetLabel().empty()) texts.push_back(row->GetLabel());
  }
  return texts;
}

void ShowPoemCard(wxWindow* parent, const PoemCard& card) {
  PoemCardDialog dialog(parent, card);
  static_cast<void>(dialog.ShowModal());
}

}  // namespace verselane
