// The dialogs are described as templates, the way the program's resources describe them: each
// control with its id, kind, text and rectangle in dialog units. TemplateDialog builds a wx
// dialog from one: dialog units are converted with the dialog's own font (the Japanese default
// face at 9 points), and every control gets at least the size it needs (dialog_layout.h).
#pragma once

#include <map>
#include <vector>

#include <wx/bitmap.h>
#include <wx/dialog.h>

namespace verselane {

// Control ids as the templates give them. 1 and 2 are the dialog's OK and Cancel commands,
// which wx knows as wxID_OK and wxID_CANCEL (Enter, Esc and the close box use those); −1 is a
// control no code addresses.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdNone = -1;
// The window id a template id becomes.
int WindowId(int templateId);

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
};

struct ControlTemplate {
  int id = kIdNone;
  ControlKind kind = ControlKind::kText;
  const char* text = "";  // UTF-8
  // Rectangle in dialog units. A drop-down list gives the height of its closed box.
  int x = 0, y = 0, width = 0, height = 0;
  bool disabled = false;
  // The widest text the control will show, when the template's text is not it (values filled in
  // later, entries that hold a name); the control is made wide enough for it. Several texts are
  // separated by "|", as the entries of a drop-down list are.
  const char* sizingText = nullptr;
  unsigned anchors = 0;  // LayoutAnchor
  // The bitmap resource a picture control shows (151, 153, 157); 0 when the program sets it.
  int resource = 0;
};

struct DialogTemplate {
  int id = 0;
  const char* caption = "";  // UTF-8, with its leading blank
  int width = 0, height = 0;  // dialog units
  bool systemMenu = true;      // a close box in the caption bar
  bool tableColumns = false;   // LayoutOptions::tableColumns
  std::vector<ControlTemplate> controls;
};

// The font of every dialog: the Japanese default face at 9 points.
wxFont DialogFont();

class TemplateDialog : public wxDialog {
 public:
  // `pictures` are the bitmaps of the picture controls, by resource number or, for a picture the
  // program sets, by control id. A picture control takes its bitmap's size, as a Windows picture
  // control does, keeping its top left corner.
  TemplateDialog(wxWindow* parent, const DialogTemplate& dialogTemplate,
                 const std::map<int, wxBitmap>& pictures = {});

  // The control with template id `id`; null for an id the template does not have.
  wxWindow* Item(int id) const;
  template <typename Control>
  Control* ItemAs(int id) const {
    return dynamic_cast<Control*>(Item(id));
  }
  int templateId() const { return templateId_; }

  // Ends the dialog, its modal loop returning `result`. A dialog that is shown without a modal
  // loop of its own (a test drives it so) is hidden, and remembers that it ended.
  void EndDialog(int result);
  bool ended() const { return ended_; }
  int endResult() const { return endResult_; }

  // The dialog takes the keyboard focus, as its Windows model does, so that Enter presses the
  // default button and Esc cancels. A GTK dialog cannot hold the focus itself: the default button
  // takes it, or the first control that accepts it in a dialog without one.
  void TakeFocus();

 private:
  void CreateControls(const DialogTemplate& dialogTemplate,
                      const std::map<int, wxBitmap>& pictures);
  void LayOut(const DialogTemplate& dialogTemplate, const std::map<int, wxBitmap>& pictures);
  void OnPaint(wxPaintEvent& event);

  int templateId_;
  std::map<int, wxWindow*> items_;
  // The grey frames and lines are painted on the dialog itself, under its controls.
  std::vector<wxRect> greyRects_;
  std::vector<bool> frameKinds_;  // for each of greyRects_: a frame (outline), else a line
  std::vector<wxWindow*> created_;  // in template order; null for painted frames and lines
  bool ended_ = false;
  int endResult_ = 0;
};

}  // namespace verselane
