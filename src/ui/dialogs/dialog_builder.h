// The dialogs are drawn up as lists of controls, each with its kind, text and rectangle in dialog
// units, as they were first designed; BuiltDialog places such a list in a wx dialog: dialog units
// are converted with the dialog's own font (the Japanese default face at 9 points, times the
// player's zoom), and every control gets at least the size it needs (dialog_layout.h). A dialog
// class keeps the controls it works with as members, named in its list with Into().
#pragma once

#include <functional>
#include <vector>

#include <wx/bitmap.h>
#include <wx/dialog.h>

#include "ui/dialogs/dialog_layout.h"
#include "ui/zoomed_window.h"

class wxTextCtrl;

namespace verselane {

enum class ControlKind {
  kText,             // static text, left-aligned
  kTextRight,        // static text, right-aligned; one column of them ends at one x
  kTextCentred,      // static text, centred
  kPicture,          // static bitmap; sized to its bitmap when it has one
  kGroupBox,         // labelled group box around other controls
  kFrame,            // grey frame one unit wide around other controls
  kLine,             // grey line one unit wide or high
  kEtchedLine,       // etched horizontal line
  kEdit,             // single-line edit, bordered
  kReadOnlyEdit,     // single-line edit, read-only
  kNumberEdit,       // single-line edit, digits only, centred
  kCommentBox,       // multi-line edit, read-only, scrolling
  kButton,           // push button
  kDefaultButton,    // the dialog's default push button (Enter)
  kFlatButton,       // push button of a list of links, its label at the left
  kFirstRadio,       // radio button starting a group
  kRadio,            // further radio button of the group
  kCheckBox,         // automatic check box
  kDropList,         // drop-down list, not editable (reports opening and closing as a combo box)
  kUpDown,           // up-down arrows bound to the edit control before it
  kList,             // list box of single choice
};

struct ControlPlace {
  ControlKind kind = ControlKind::kText;
  const char* text = "";  // UTF-8
  // Rectangle in dialog units. A drop-down list gives the height of its closed box.
  int x = 0, y = 0, width = 0, height = 0;
  unsigned anchors = 0;  // LayoutAnchor
  // The widest text the control will show, when its own text is not it (values filled in later,
  // entries that hold a name); the control is made wide enough for it. Several texts are
  // separated by "|", as the entries of a drop-down list or a list box are.
  const char* sizingText = nullptr;
  bool disabled = false;
  // wxID_OK or wxID_CANCEL for the buttons that Enter, Esc and the close box stand for.
  int windowId = wxID_ANY;
  wxBitmap picture;  // what a picture control shows
  std::function<void(wxWindow*)> keep;  // hands the made control to its member

  ControlPlace Anchored(unsigned how) const;
  ControlPlace SizedFor(const char* widest) const;
  ControlPlace Disabled() const;
  ControlPlace WithId(int id) const;
  ControlPlace Showing(const wxBitmap& bitmap) const;
  // The made control is put into `member`.
  template <typename Control>
  ControlPlace Into(Control*& member) const {
    ControlPlace place = *this;
    place.keep = [&member](wxWindow* window) { member = dynamic_cast<Control*>(window); };
    return place;
  }
};

// A control of `kind` showing `text`, at (x, y) and of width × height dialog units.
ControlPlace Place(ControlKind kind, const char* text, int x, int y, int width, int height);

// What the dialog is as a whole.
struct DialogFrame {
  const char* caption = "";  // UTF-8, with its leading blank
  int width = 0, height = 0;  // dialog units
  // A close box in the caption bar, and Esc: both press Cancel. Without it neither ends the
  // dialog.
  bool closable = true;
  // LayoutOptions::tableColumns
  bool tableColumns = false;
};

// Shows `text` in `edit` with the caret at its end; nothing changes when it is there already.
void ShowText(wxTextCtrl* edit, const wxString& text);

// The font of every dialog: the Japanese default face at 9 points, times the zoom.
wxFont DialogFont(double zoom = 1.0);

class BuiltDialog : public wxDialog, public ZoomedWindow {
 public:
  // One control made and placed, as the list gave it; `window` is null for the frames and lines
  // painted on the dialog itself.
  struct Placed {
    ControlPlace place;
    wxWindow* window = nullptr;
  };

  // Finish() was called: the player ended the dialog.
  bool ended() const { return ended_; }

  const DialogFrame& frame() const { return frame_; }
  const std::vector<Placed>& placed() const { return placed_; }
  // The zoom of the window it opened over, or less where the screen is too small for it.
  double zoom() const override { return zoom_; }

 protected:
  BuiltDialog(wxWindow* parent, const DialogFrame& frame);
  // Makes `controls` in this order, which is also the keyboard's, places them at the zoom (or
  // at the largest zoom below it that the screen holds), and centres the dialog on the window it
  // opened over.
  void Build(std::vector<ControlPlace> controls);

  // Ends the dialog with `result`: the modal loop returns it. A dialog shown without a modal loop
  // of its own (a test drives it so) is hidden, and remembers that it ended.
  void Finish(int result);

  // GTK lets no dialog hold the keyboard focus itself: the default button takes it, so that Enter
  // presses it and Esc cancels, or the first control that accepts it in a dialog without one.
  void TakeFocus();

 private:
  // The grey frames and lines, painted on the dialog itself under its controls.
  struct Painted {
    wxRect rect;
    bool outline = false;  // a frame; else a line, filled
  };

  void MakeAndLayOut(std::vector<ControlPlace> controls);
  wxBitmap Zoomed(const wxBitmap& picture) const;
  wxWindow* Make(const ControlPlace& control);
  void Measure(const ControlPlace& control, wxWindow* window, LayoutItem& item);
  void MeasureEdit(const ControlPlace& control, wxWindow* window, const wxString& sizing,
                   LayoutItem& item);
  void LayOut();
  void WidenLinksAlike(std::vector<LayoutItem>& items) const;
  void MoveIntoPlace(const LayoutResult& layout);
  void OnPaint(wxPaintEvent& event);

  DialogFrame frame_;
  double zoom_ = 1.0;
  std::vector<Placed> placed_;
  std::vector<Painted> painted_;
  bool ended_ = false;
};

}  // namespace verselane
