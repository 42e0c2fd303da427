// The poem card: one poem whole (as written, both phrases' readings with the kimariji marked, the
// poet and the poet's reading) and the player's figures for it, over the window that opened it.
// What it shows comes whole from the core (PoemCard); the card only lays it out.
#pragma once

#include <string>
#include <vector>

#include "game/poem_card.h"
#include "ui/dialogs/dialog_builder.h"

class wxStaticText;

namespace verselane {

class PoemCardDialog : public BuiltDialog {
 public:
  PoemCardDialog(wxWindow* parent, const PoemCard& card);

  wxStaticText* poem() const { return poem_; }
  wxStaticText* upper() const { return upper_; }
  wxStaticText* lower() const { return lower_; }
  wxStaticText* poet() const { return poet_; }
  wxStaticText* poetReading() const { return poetReading_; }
  // The lines of figures, as many as the card has (the rows after them stay empty).
  std::vector<wxString> FigureTexts() const;

  static constexpr int kFigureRows = 5;

 private:
  wxStaticText* poem_ = nullptr;
  wxStaticText* upper_ = nullptr;
  wxStaticText* lower_ = nullptr;
  wxStaticText* poet_ = nullptr;
  wxStaticText* poetReading_ = nullptr;
  wxStaticText* figures_[kFigureRows] = {};
};

// Shows the card over `parent` until it is closed.
void ShowPoemCard(wxWindow* parent, const PoemCard& card);

}  // namespace verselane
