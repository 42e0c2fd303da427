#include "ui/dialogs/dialog_template.h"


#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/arrstr.h>

#include "ui/dialogs/dialog_layout.h"
#include "ui/dialogs/gtk_controls.h"
#include "ui/display_text.h"
#include "ui/dialogs/up_down_control.h"
#include "ui/font_faces.h"

namespace verselane {
namespace {

// Template fonts are given in points; the face stands in for "ＭＳ Ｐゴシック".
constexpr int kDialogFontPoints = 9;

bool IsPainted(ControlKind kind) { return kind == ControlKind::kFrame || kind == ControlKind::kLine; }

LayoutRole RoleOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kGroupBox:
    case ControlKind::kFrame:
      return LayoutRole::kContainer;
    case ControlKind::kLine:
    case ControlKind::kEtchedLine:
      return LayoutRole::kRule;
    default:
      return LayoutRole::kControl;
  }
}

// An edit control accepting digits only, as the count box does; editing keys pass.
void AcceptDigitsOnly(wxTextCtrl* edit) {
  edit->Bind(wxEVT_CHAR, [](wxKeyEvent& event) {
    const wxChar typed = event.GetUnicodeKey();
    if (typed == WXK_NONE || typed < WXK_SPACE || typed == WXK_DELETE || event.HasAnyModifiers() ||
        (typed >= '0' && typed <= '9')) {
      event.Skip();
    }
  });
}

}  // namespace

int WindowId(int templateId) {
  switch (templateId) {
    case kIdOk: return wxID_OK;
    case kIdCancel: return wxID_CANCEL;
    case kIdNone: return wxID_ANY;
    default: return templateId;
  }
}

wxFont DialogFont() {
  static const wxString face = FontFaces().japaneseDefault();
  return wxFont(wxFontInfo(kDialogFontPoints).FaceName(face));
}

TemplateDialog::TemplateDialog(wxWindow* parent, const DialogTemplate& dialogTemplate,
                               const std::map<int, wxBitmap>& pictures)
    : templateId_(dialogTemplate.id) {
  const long style = dialogTemplate.systemMenu ? wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX : wxCAPTION;
  Create(parent, wxID_ANY, Text(dialogTemplate.caption), wxDefaultPosition, wxDefaultSize, style);
  SetFont(DialogFont());
  CreateControls(dialogTemplate, pictures);
  LayOut(dialogTemplate, pictures);
  Bind(wxEVT_PAINT, &TemplateDialog::OnPaint, this);
  // The close box and Esc send the dialog's Cancel command (2), which every dialog with a close
  // box handles; a dialog without one is closed by none of them.
  const bool closable = dialogTemplate.systemMenu;
  if (!closable) SetEscapeId(wxID_NONE);
  Bind(wxEVT_CLOSE_WINDOW, [this, closable](wxCloseEvent& event) {
    if (!closable) {
      if (event.CanVeto()) event.Veto();
      return;
    }
    wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
    cancel.SetEventObject(this);
    ProcessWindowEvent(cancel);
  });
  CentreOnScreen();
}

wxWindow* TemplateDialog::Item(int id) const {
  const auto found = items_.find(id);
  return found == items_.end() ? nullptr : found->second;
}

void TemplateDialog::TakeFocus() {
  if (auto* button = dynamic_cast<wxWindow*>(GetDefaultItem())) {
    button->SetFocus();
  } else {
    SetFocus();
  }
}

void TemplateDialog::EndDialog(int result) {
  ended_ = true;
  endResult_ = result;
  if (IsModal()) {
    EndModal(result);
  } else {
    Hide();
  }
}

void TemplateDialog::CreateControls(const DialogTemplate& dialogTemplate,
                                    const std::map<int, wxBitmap>& pictures) {
  for (const ControlTemplate& control : dialogTemplate.controls) {
    const wxWindowID id = WindowId(control.id);
    const wxString text = Text(control.text);
    wxWindow* window = nullptr;
    switch (control.kind) {
      case ControlKind::kText:
        window = new wxStaticText(this, id, text, wxDefaultPosition, wxDefaultSize,
                                  wxST_NO_AUTORESIZE | wxALIGN_LEFT);
        break;
      case ControlKind::kTextRight:
        window = new wxStaticText(this, id, text, wxDefaultPosition, wxDefaultSize,
                                  wxST_NO_AUTORESIZE | wxALIGN_RIGHT);
        break;
      case ControlKind::kTextCentred:
        window = new wxStaticText(this, id, text, wxDefaultPosition, wxDefaultSize,
                                  wxST_NO_AUTORESIZE | wxALIGN_CENTRE_HORIZONTAL);
        break;
      case ControlKind::kPicture: {
        const auto picture = pictures.find(control.resource != 0 ? control.resource : control.id);
        window = new wxStaticBitmap(this, id,
                                    picture != pictures.end() ? picture->second : wxNullBitmap);
        break;
      }
      case ControlKind::kGroupBox:
        window = new wxStaticBox(this, id, text);
        break;
      case ControlKind::kFrame:
      case ControlKind::kLine:
        break;
      case ControlKind::kEtchedLine:
        window = new wxStaticLine(this, id, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
        break;
      case ControlKind::kEdit:
        window = new wxTextCtrl(this, id, text);
        break;
      case ControlKind::kReadOnlyEdit:
        window = new wxTextCtrl(this, id, text, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
        break;
      case ControlKind::kNumberEdit: {
        auto* edit = new wxTextCtrl(this, id, text, wxDefaultPosition, wxDefaultSize, wxTE_CENTRE);
        AcceptDigitsOnly(edit);
        window = edit;
        break;
      }
      case ControlKind::kCommentBox: {
        auto* box = new wxTextCtrl(this, id, text, wxDefaultPosition, wxDefaultSize,
                                   wxTE_MULTILINE | wxTE_READONLY);
        PadMultiLineBox(box);
        window = box;
        break;
      }
      case ControlKind::kButton:
        window = new wxButton(this, id, text);
        break;
      case ControlKind::kDefaultButton: {
        auto* button = new wxButton(this, id, text);
        button->SetDefault();
        window = button;
        break;
      }
      case ControlKind::kFlatButton:
        // A button that looks like one; its label starts at the left, so that a column of
        // ">>" links starts at one x whatever blanks end the labels.
        window = new wxButton(this, id, text, wxDefaultPosition, wxDefaultSize, wxBU_LEFT);
        break;
      case ControlKind::kFirstRadio:
        window = new wxRadioButton(this, id, text, wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
        break;
      case ControlKind::kRadio:
        window = new wxRadioButton(this, id, text);
        break;
      case ControlKind::kCheckBox:
        window = new wxCheckBox(this, id, text);
        break;
      case ControlKind::kDropList: {
        // A choice, not a read-only combo box: one Tab stop, and no entry showing a stale text.
        auto* list = new wxChoice(this, id);
        ReportDropDowns(list);
        window = list;
        break;
      }
      case ControlKind::kUpDown:
        window = new UpDownControl(this, id, wxDefaultPosition, wxDefaultSize);
        break;
    }
    if (window != nullptr && control.disabled) window->Enable(false);
    if (window != nullptr && control.id != kIdNone) items_[control.id] = window;
    created_.push_back(window);
  }
}

void TemplateDialog::LayOut(const DialogTemplate& dialogTemplate,
                            const std::map<int, wxBitmap>& pictures) {
  const std::vector<ControlTemplate>& controls = dialogTemplate.controls;
  std::vector<LayoutItem> items(controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ControlTemplate& control = controls[i];
    const wxPoint at = ConvertDialogToPixels(wxPoint(control.x, control.y));
    const wxSize size = ConvertDialogToPixels(wxSize(control.width, control.height));
    LayoutItem& item = items[i];
    item.rect = {at.x, at.y, std::max(size.x, 1), std::max(size.y, 1)};
    item.role = RoleOf(control.kind);
    item.anchors = control.anchors;
    if (control.kind == ControlKind::kTextRight) item.anchors |= kEndsAligned;
    wxWindow* window = created_[i];
    if (window == nullptr) continue;
    // A size measured as the control was made may predate the dialog's font.
    window->InvalidateBestSize();
    const wxString sizing = control.sizingText != nullptr ? Text(control.sizingText) : wxString();
    switch (control.kind) {
      case ControlKind::kText:
      case ControlKind::kTextRight:
      case ControlKind::kTextCentred: {
        // A label that keeps its size measures its text by the font alone; GTK wants a little
        // more room for it, which a label sized to its text shows.
        const wxString shown = sizing.empty() ? Text(control.text) : sizing;
        auto* label = static_cast<wxStaticText*>(window);
        label->SetLabel(shown);
        auto* probe = new wxStaticText(this, wxID_ANY, shown);
        const wxSize best = label->GetBestSize();
        const wxSize wanted = probe->GetBestSize();
        probe->Destroy();
        label->SetLabel(Text(control.text));
        item.minWidth = std::max(best.x, wanted.x);
        item.minHeight = std::max(best.y, wanted.y);
        break;
      }
      case ControlKind::kPicture: {
        const auto picture = pictures.find(control.resource != 0 ? control.resource : control.id);
        // A picture drawn for a desktop at a scale has more pixels than it takes up.
        if (picture != pictures.end() && picture->second.IsOk()) {
          const wxSize size = picture->second.GetLogicalSize();
          item.rect.width = size.x;
          item.rect.height = size.y;
        }
        break;
      }
      case ControlKind::kEdit:
      case ControlKind::kReadOnlyEdit:
      case ControlKind::kNumberEdit:
      case ControlKind::kCommentBox: {
        // An entry's own best width is a default of the toolkit, not a need: the template's
        // width stands unless the text it is made for needs more.
        item.minHeight = window->GetBestSize().y;
        if (control.kind == ControlKind::kCommentBox) {
          // Its two lines and their padding, without a scroll bar; the frame's two pixels above
          // and below.
          wxClientDC dc(window);
          dc.SetFont(window->GetFont());
          const int lines = dc.GetMultiLineTextExtent(Text("あ\nあ")).y;
          item.minHeight = std::max(item.minHeight, lines + 2 * kTextPaddingY + 4);
        }
        // The sizing text may list several texts, separated by "|": the widest counts. Measured
        // before the box is on the screen, a long text comes out a little narrower than the box
        // then draws it (by 8 pixels in 470): one character more keeps its end in sight.
        int widest = 0;
        for (const wxString& text : wxSplit(sizing, '|', '\0')) {
          widest = std::max(widest, window->GetTextExtent(text).x);
        }
        if (widest > 0) {
          widest += window->GetTextExtent(Text("あ")).x;
          item.minWidth = static_cast<wxControl*>(window)->GetSizeFromTextSize(widest).x;
        }
        break;
      }
      case ControlKind::kDropList: {
        // The sizing text lists the longest entries, separated by "|".
        auto* list = static_cast<wxChoice*>(window);
        if (!sizing.empty()) list->Append(wxSplit(sizing, '|', '\0'));
        const wxSize best = list->GetBestSize();
        list->Clear();
        item.minWidth = best.x;
        item.minHeight = best.y;
        break;
      }
      case ControlKind::kUpDown:
        // Bound to the edit before it: it takes the right end of the edit's rectangle.
        if (i > 0) {
          LayoutRect& buddy = items[i - 1].rect;
          buddy.width = std::max(1, buddy.width - item.rect.width);
          item.rect = {buddy.right(), buddy.y, item.rect.width, buddy.height};
        }
        item.minWidth = window->GetBestSize().x;
        break;
      case ControlKind::kGroupBox:
      case ControlKind::kFrame:
      case ControlKind::kLine:
        break;
      case ControlKind::kEtchedLine:
        item.minHeight = window->GetBestSize().y;
        break;
      default: {
        const wxSize best = window->GetBestSize();
        item.minWidth = best.x;
        item.minHeight = best.y;
        break;
      }
    }
  }
  // A list of links is as wide as its widest, so that its labels start at one x.
  int linkWidth = 0;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].kind == ControlKind::kFlatButton) {
      linkWidth = std::max(linkWidth, items[i].minWidth);
    }
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].kind == ControlKind::kFlatButton) items[i].minWidth = linkWidth;
  }

  LayoutOptions options;
  options.tableColumns = dialogTemplate.tableColumns;
  const wxSize client = ConvertDialogToPixels(wxSize(dialogTemplate.width, dialogTemplate.height));
  const LayoutResult layout = LayOutDialog(items, client.x, client.y, options);

  for (std::size_t i = 0; i < controls.size(); ++i) {
    LayoutRect rect = layout.rects[i];
    if (controls[i].kind == ControlKind::kUpDown && i > 0) {
      // Beside the edit it steps, as tall as the edit.
      const LayoutRect& buddy = layout.rects[i - 1];
      rect = {buddy.right(), buddy.y, rect.width, buddy.height};
    }
    if (IsPainted(controls[i].kind)) {
      greyRects_.emplace_back(rect.x, rect.y, rect.width, rect.height);
      continue;
    }
    if (created_[i] != nullptr) created_[i]->SetSize(rect.x, rect.y, rect.width, rect.height);
  }
  frameKinds_.clear();
  for (const ControlTemplate& control : controls) {
    if (IsPainted(control.kind)) frameKinds_.push_back(control.kind == ControlKind::kFrame);
  }
  SetClientSize(layout.clientWidth, layout.clientHeight);
}

void TemplateDialog::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxColour grey = wxSystemSettings::GetColour(wxSYS_COLOUR_3DSHADOW);
  dc.SetPen(wxPen(grey));
  for (std::size_t i = 0; i < greyRects_.size(); ++i) {
    const wxRect& rect = greyRects_[i];
    if (frameKinds_[i]) {
      dc.SetBrush(*wxTRANSPARENT_BRUSH);
    } else {
      dc.SetBrush(wxBrush(grey));
    }
    dc.DrawRectangle(rect);
  }
}

}  // namespace verselane
