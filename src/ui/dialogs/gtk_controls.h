// What the dialogs' controls need of GTK beyond wxWidgets 3.2: the GTK functions are those of the
// library wx has loaded, looked up at run time; where one is missing the step is left out.
#pragma once

class wxChoice;
class wxTextCtrl;

namespace verselane {

// Room between a multi-line box's frame and its text, which GTK's text view leaves out.
inline constexpr int kTextPaddingX = 4, kTextPaddingY = 3;
void PadMultiLineBox(wxTextCtrl* box);

// A choice control's list opening and closing, as wx reports them for a combo box:
// wxEVT_COMBOBOX_DROPDOWN and wxEVT_COMBOBOX_CLOSEUP, sent to the control.
void ReportDropDowns(wxChoice* choice);

}  // namespace verselane
