#include "ui/dialogs/dialog_builder.h"

#include <algorithm>
#include <cmath>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/listbox.h>
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
#include "ui/zoomed_window.h"

namespace verselane {
namespace {

// The dialogs were designed with a 9-point font; the face stands in for "ＭＳ Ｐゴシック".
constexpr int kDialogFontPoints = 9;
// A dialog made again to fit the screen aims a little below its size: the controls' own pixels
// do not shrink with the font.
constexpr double kFittingMargin = 0.97;

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

ControlPlace ControlPlace::Anchored(unsigned how) const {
  ControlPlace place = *this;
  place.anchors = how;
  return place;
}

ControlPlace ControlPlace::SizedFor(const char* widest) const {
  ControlPlace place = *this;
  place.sizingText = widest;
  return place;
}

ControlPlace ControlPlace::Disabled() const {
  ControlPlace place = *this;
  place.disabled = true;
  return place;
}

ControlPlace ControlPlace::WithId(int id) const {
  ControlPlace place = *this;
  place.windowId = id;
  return place;
}

ControlPlace ControlPlace::Showing(const wxBitmap& bitmap) const {
  ControlPlace place = *this;
  place.picture = bitmap;
  return place;
}

ControlPlace Place(ControlKind kind, const char* text, int x, int y, int width, int height) {
  ControlPlace place;
  place.kind = kind;
  place.text = text;
  place.x = x;
  place.y = y;
  place.width = width;
  place.height = height;
  return place;
}

void ShowText(wxTextCtrl* edit, const wxString& text) {
  if (edit->GetValue() == text) return;
  edit->ChangeValue(text);
  edit->SetInsertionPointEnd();
}

wxFont DialogFont(double zoom) {
  static const wxString face = FontFaces().japaneseDefault();
  return wxFont(wxFontInfo(kDialogFontPoints * zoom).FaceName(face));
}

// The dialog's font sets its dialog units, so the font alone makes every place and size grow
// with the zoom; only the pictures have sizes of their own.
BuiltDialog::BuiltDialog(wxWindow* parent, const DialogFrame& frame)
    : frame_(frame), zoom_(ZoomOf(parent)) {
  const long style = frame.closable ? wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX : wxCAPTION;
  Create(parent, wxID_ANY, Text(frame.caption), wxDefaultPosition, wxDefaultSize, style);
  SetFont(DialogFont(zoom_));
  Bind(wxEVT_PAINT, &BuiltDialog::OnPaint, this);
  // The close box and Esc press Cancel, which every closable dialog handles; a dialog without a
  // close box is ended by none of them.
  const bool closable = frame.closable;
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
}

void BuiltDialog::Build(std::vector<ControlPlace> controls) {
  MakeAndLayOut(controls);
  // A dialog the screen cannot hold at the zoom is made again at the largest zoom it can.
  const wxRect screen = wxDisplay(GetParent() != nullptr ? GetParent() : this).GetClientArea();
  const wxSize size = GetSize();
  if (zoom_ > 1.0 && (size.x > screen.width || size.y > screen.height)) {
    const double fits = std::min(static_cast<double>(screen.width) / size.x,
                                 static_cast<double>(screen.height) / size.y);
    zoom_ = std::max(1.0, zoom_ * fits * kFittingMargin);
    for (const Placed& placed : placed_) {
      if (placed.window != nullptr) placed.window->Destroy();
    }
    placed_.clear();
    SetFont(DialogFont(zoom_));
    MakeAndLayOut(controls);
  }
  CentreOnParent();
}

void BuiltDialog::MakeAndLayOut(std::vector<ControlPlace> controls) {
  for (ControlPlace& control : controls) {
    control.picture = Zoomed(control.picture);
    wxWindow* window = Make(control);
    if (window != nullptr && control.disabled) window->Enable(false);
    if (control.keep) control.keep(window);
    placed_.push_back({std::move(control), window});
  }
  LayOut();
}

// A picture made for ScaleOf(parent) has the pixels of its size at the zoom; it is shown at that
// size, its pixels one to one on the desktop. Any other picture is scaled to it.
wxBitmap BuiltDialog::Zoomed(const wxBitmap& picture) const {
  if (!picture.IsOk() || zoom_ == 1.0) return picture;
  const double desktop = GetContentScaleFactor();
  const wxSize shown = picture.GetLogicalSize();
  const wxSize pixels(static_cast<int>(std::lround(shown.x * zoom_ * desktop)),
                      static_cast<int>(std::lround(shown.y * zoom_ * desktop)));
  wxImage image = picture.ConvertToImage();
  if (image.GetSize() != pixels) image.Rescale(pixels.x, pixels.y, wxIMAGE_QUALITY_HIGH);
  return wxBitmap(image, -1, desktop);
}

void BuiltDialog::TakeFocus() {
  if (auto* button = dynamic_cast<wxWindow*>(GetDefaultItem())) {
    button->SetFocus();
  } else {
    SetFocus();
  }
}

void BuiltDialog::Finish(int result) {
  ended_ = true;
  SetReturnCode(result);
  EndDialog(result);
}

wxWindow* BuiltDialog::Make(const ControlPlace& control) {
  const wxWindowID id = control.windowId;
  const wxString text = Text(control.text);
  switch (control.kind) {
    case ControlKind::kText:
      return new wxStaticText(this, id, text, wxDefaultPosition, wxDefaultSize,
                              wxST_NO_AUTORESIZE | wxALIGN_LEFT);
    case ControlKind::kTextRight:
      return new wxStaticText(this, id, text, wxDefaultPosition, wxDefaultSize,
                              wxST_NO_AUTORESIZE | wxALIGN_RIGHT);
    case ControlKind::kTextCentred:
      return new wxStaticText(this, id, text, wxDefaultPosition, wxDefaultSize,
                              wxST_NO_AUTORESIZE | wxALIGN_CENTRE_HORIZONTAL);
    case ControlKind::kPicture:
      return new wxStaticBitmap(this, id, control.picture);
    case ControlKind::kGroupBox:
      return new wxStaticBox(this, id, text);
    case ControlKind::kFrame:
    case ControlKind::kLine:
      return nullptr;
    case ControlKind::kEtchedLine:
      return new wxStaticLine(this, id, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
    case ControlKind::kEdit:
      return new wxTextCtrl(this, id, text);
    case ControlKind::kReadOnlyEdit:
      return new wxTextCtrl(this, id, text, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
    case ControlKind::kNumberEdit: {
      auto* edit = new wxTextCtrl(this, id, text, wxDefaultPosition, wxDefaultSize, wxTE_CENTRE);
      AcceptDigitsOnly(edit);
      return edit;
    }
    case ControlKind::kCommentBox: {
      auto* box = new wxTextCtrl(this, id, text, wxDefaultPosition, wxDefaultSize,
                                 wxTE_MULTILINE | wxTE_READONLY);
      PadMultiLineBox(box);
      return box;
    }
    case ControlKind::kButton:
      return new wxButton(this, id, text);
    case ControlKind::kDefaultButton: {
      auto* button = new wxButton(this, id, text);
      button->SetDefault();
      return button;
    }
    case ControlKind::kFlatButton:
      // A button that looks like one; its label starts at the left, so that a column of ">>"
      // links starts at one x whatever blanks end the labels.
      return new wxButton(this, id, text, wxDefaultPosition, wxDefaultSize, wxBU_LEFT);
    case ControlKind::kFirstRadio:
      return new wxRadioButton(this, id, text, wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    case ControlKind::kRadio:
      return new wxRadioButton(this, id, text);
    case ControlKind::kCheckBox:
      return new wxCheckBox(this, id, text);
    case ControlKind::kDropList: {
      // A choice, not a read-only combo box: one Tab stop, and no entry showing a stale text.
      auto* list = new wxChoice(this, id);
      ReportDropDowns(list);
      return list;
    }
    case ControlKind::kUpDown:
      return new UpDownControl(this, id, wxDefaultPosition, wxDefaultSize);
    case ControlKind::kList:
      return new wxListBox(this, id, wxDefaultPosition, wxDefaultSize, 0, nullptr, wxLB_SINGLE);
  }
  return nullptr;
}

// The room `window` needs, made as `control`, into `item`.
void BuiltDialog::Measure(const ControlPlace& control, wxWindow* window, LayoutItem& item) {
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
    case ControlKind::kPicture:
      // A picture drawn for a desktop at a scale has more pixels than it takes up.
      if (control.picture.IsOk()) {
        const wxSize size = control.picture.GetLogicalSize();
        item.rect.width = size.x;
        item.rect.height = size.y;
      }
      break;
    case ControlKind::kEdit:
    case ControlKind::kReadOnlyEdit:
    case ControlKind::kNumberEdit:
    case ControlKind::kCommentBox:
      MeasureEdit(control, window, sizing, item);
      break;
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
    case ControlKind::kList: {
      // As wide as its widest entry; as tall as designed.
      auto* list = static_cast<wxListBox*>(window);
      if (!sizing.empty()) list->Append(wxSplit(sizing, '|', '\0'));
      item.minWidth = list->GetBestSize().x;
      list->Clear();
      break;
    }
    case ControlKind::kUpDown:
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

void BuiltDialog::MeasureEdit(const ControlPlace& control, wxWindow* window,
                              const wxString& sizing, LayoutItem& item) {
  // An entry's own best width is a default of the toolkit, not a need: the designed width stands
  // unless the text it is made for needs more.
  item.minHeight = window->GetBestSize().y;
  if (control.kind == ControlKind::kCommentBox) {
    // Its two lines and their padding, without a scroll bar; the frame's two pixels above and
    // below.
    wxClientDC dc(window);
    dc.SetFont(window->GetFont());
    const int lines = dc.GetMultiLineTextExtent(Text("あ\nあ")).y;
    item.minHeight = std::max(item.minHeight, lines + 2 * kTextPaddingY + 4);
  }
  // The sizing text may list several texts, separated by "|": the widest counts. Measured before
  // the box is on the screen, a long text comes out a little narrower than the box then draws it
  // (by 8 pixels in 470): one character more keeps its end in sight.
  int widest = 0;
  for (const wxString& text : wxSplit(sizing, '|', '\0')) {
    widest = std::max(widest, window->GetTextExtent(text).x);
  }
  if (widest > 0) {
    widest += window->GetTextExtent(Text("あ")).x;
    item.minWidth = static_cast<wxControl*>(window)->GetSizeFromTextSize(widest).x;
  }
}

void BuiltDialog::LayOut() {
  std::vector<LayoutItem> items(placed_.size());
  for (std::size_t i = 0; i < placed_.size(); ++i) {
    const ControlPlace& control = placed_[i].place;
    const wxPoint at = ConvertDialogToPixels(wxPoint(control.x, control.y));
    const wxSize size = ConvertDialogToPixels(wxSize(control.width, control.height));
    LayoutItem& item = items[i];
    item.rect = {at.x, at.y, std::max(size.x, 1), std::max(size.y, 1)};
    item.role = RoleOf(control.kind);
    item.anchors = control.anchors;
    if (control.kind == ControlKind::kTextRight) item.anchors |= kEndsAligned;
    if (placed_[i].window == nullptr) continue;
    Measure(control, placed_[i].window, item);
    // Up-down arrows are bound to the edit before them: they take the right end of its rectangle.
    if (control.kind == ControlKind::kUpDown && i > 0) {
      LayoutRect& buddy = items[i - 1].rect;
      buddy.width = std::max(1, buddy.width - item.rect.width);
      item.rect = {buddy.right(), buddy.y, item.rect.width, buddy.height};
    }
  }
  WidenLinksAlike(items);

  LayoutOptions options;
  options.tableColumns = frame_.tableColumns;
  const wxSize client = ConvertDialogToPixels(wxSize(frame_.width, frame_.height));
  const LayoutResult layout = LayOutDialog(items, client.x, client.y, options);
  MoveIntoPlace(layout);
  SetClientSize(layout.clientWidth, layout.clientHeight);
}

// A list of links is as wide as its widest, so that its labels start at one x.
void BuiltDialog::WidenLinksAlike(std::vector<LayoutItem>& items) const {
  int linkWidth = 0;
  for (std::size_t i = 0; i < placed_.size(); ++i) {
    if (placed_[i].place.kind == ControlKind::kFlatButton) {
      linkWidth = std::max(linkWidth, items[i].minWidth);
    }
  }
  for (std::size_t i = 0; i < placed_.size(); ++i) {
    if (placed_[i].place.kind == ControlKind::kFlatButton) items[i].minWidth = linkWidth;
  }
}

void BuiltDialog::MoveIntoPlace(const LayoutResult& layout) {
  painted_.clear();
  for (std::size_t i = 0; i < placed_.size(); ++i) {
    const ControlKind kind = placed_[i].place.kind;
    LayoutRect rect = layout.rects[i];
    if (kind == ControlKind::kUpDown && i > 0) {
      // Beside the edit it steps, as tall as the edit.
      const LayoutRect& buddy = layout.rects[i - 1];
      rect = {buddy.right(), buddy.y, rect.width, buddy.height};
    }
    if (IsPainted(kind)) {
      painted_.push_back({wxRect(rect.x, rect.y, rect.width, rect.height),
                          kind == ControlKind::kFrame});
      continue;
    }
    if (placed_[i].window != nullptr) {
      placed_[i].window->SetSize(rect.x, rect.y, rect.width, rect.height);
    }
  }
}

void BuiltDialog::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxColour grey = wxSystemSettings::GetColour(wxSYS_COLOUR_3DSHADOW);
  dc.SetPen(wxPen(grey));
  for (const Painted& painted : painted_) {
    if (painted.outline) {
      dc.SetBrush(*wxTRANSPARENT_BRUSH);
    } else {
      dc.SetBrush(wxBrush(grey));
    }
    dc.DrawRectangle(painted.rect);
  }
}

}  // namespace verselane
