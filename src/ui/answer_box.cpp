#include "ui/answer_box.h"

#include <cmath>

#include <wx/font.h>

#include "game/key_latch.h"
#include "ui/font_faces.h"
#include "ui/answer_text.h"
#include "ui/display_text.h"
#include "ui/gtk_native.h"
#include "ui/message_boxes.h"
#include "ui/romaji_field.h"

namespace verselane {
namespace {

bool IsEnter(int code) { return code == WXK_RETURN || code == WXK_NUMPAD_ENTER; }
constexpr int kHintGrey = 170;

}  // namespace

int KeyCharacter(const wxKeyEvent& event) {
  const int unicode = static_cast<int>(event.GetUnicodeKey());
  const int code = unicode != WXK_NONE ? unicode : event.GetKeyCode();
  return IsEnter(code) ? kEnterKey : code;
}

AnswerBox::~AnswerBox() { DestroyControl(); }

wxTextCtrl* AnswerBox::CreateControl(wxWindow* parent, int x, int y, int width, int height) {
  if (control_ != nullptr) return control_;
  place_ = wxRect(x, y, width, height);
  auto* control = new wxTextCtrl();
  control->Hide();  // hidden from the start, until the first question
  const wxRect zoomed = ZoomedPlace();
  if (!control->Create(parent, wxID_ANY, wxString(), zoomed.GetPosition(), zoomed.GetSize(),
                       wxTE_PROCESS_ENTER | wxBORDER_NONE)) {
    delete control;
    ShowStartupError("ERROR(CreateREdit):RichEditの生成に失敗しました");
    return nullptr;
  }
  control_ = control;
  control_->Bind(wxEVT_DESTROY, &AnswerBox::OnDestroy, this);
  return control_;
}

bool AnswerBox::RouteKeys() {
  if (control_ == nullptr || keysRouted_) return false;
  control_->Bind(wxEVT_KEY_DOWN, &AnswerBox::OnKeyDown, this);
  control_->Bind(wxEVT_CHAR, &AnswerBox::OnChar, this);
  control_->Bind(wxEVT_TEXT, &AnswerBox::OnText, this);
  keysRouted_ = true;
  return true;
}

int AnswerBox::Zoomed(int length) const {
  return static_cast<int>(std::lround(length * zoom_));
}

// Edges rounded on their own, as the screen's pixels are: the line meets the panel drawn under it.
wxRect AnswerBox::ZoomedPlace() const {
  return {wxPoint(Zoomed(place_.x), Zoomed(place_.y)),
          wxPoint(Zoomed(place_.x + place_.width) - 1, Zoomed(place_.y + place_.height) - 1)};
}

void AnswerBox::SetZoom(double zoom) {
  zoom_ = zoom;
  if (control_ == nullptr) return;
  control_->SetSize(ZoomedPlace());
  // A font that cannot be made at the new size leaves the line the one it had.
  if (fontPixels_ > 0) static_cast<void>(ApplyFont());
}

bool AnswerBox::SetTextFont(int pixelHeight, const wxString& face) {
  if (control_ == nullptr) return false;
  fontPixels_ = pixelHeight;
  fontFace_ = face;
  if (!ApplyFont()) {
    ShowStartupError("ERROR(SetFontRichEdit):RichEditのFont設定に失敗しました");
    return false;
  }
  return true;
}

bool AnswerBox::ApplyFont() {
  const wxFont font = FontWithCellHeight(fontFace_, kNormalWeight, fontPixels_ * zoom_);
  if (!font.IsOk() || !control_->SetFont(font)) return false;
  WarmUpGlyphs();
  return true;
}

// The first text of a script drawn in a font costs Pango milliseconds: fallback fonts found, the
// face loaded and shaped, each glyph's outline read. Measured once in the line's own Pango context
// as soon as the window is up, the kana and letters a player types show at once from the first
// key on, rather than while the first question is being answered.
void AnswerBox::WarmUpGlyphs() {
  control_->CallAfter([this] {
    if (control_ == nullptr) return;
    wxString typed = wxString::FromUTF8("ー、。abcdefghijklmnopqrstuvwxyz");
    for (wchar_t kana = 0x3041; kana <= 0x3096; ++kana) typed += kana;
    static_cast<void>(control_->GetTextExtent(typed));
  });
}

bool AnswerBox::SetTextColour(int red, int green, int blue) {
  if (control_ == nullptr) return false;
  textColour_ = wxColour(red, green, blue);
  control_->SetForegroundColour(textColour_);
  return true;
}

void AnswerBox::SetBackgroundColour(int red, int green, int blue) {
  if (control_ != nullptr) control_->SetBackgroundColour(wxColour(red, green, blue));
}

void AnswerBox::DestroyControl() {
  if (control_ == nullptr) return;
  wxTextCtrl* control = control_;
  control_ = nullptr;
  control->Unbind(wxEVT_DESTROY, &AnswerBox::OnDestroy, this);
  if (keysRouted_) {
    control->Unbind(wxEVT_KEY_DOWN, &AnswerBox::OnKeyDown, this);
    control->Unbind(wxEVT_CHAR, &AnswerBox::OnChar, this);
    control->Unbind(wxEVT_TEXT, &AnswerBox::OnText, this);
    keysRouted_ = false;
  }
  control->Destroy();
}

// The main window goes first at shut-down and takes the control with it.
void AnswerBox::OnDestroy(wxWindowDestroyEvent& event) {
  if (event.GetEventObject() == control_) {
    control_ = nullptr;
    keysRouted_ = false;
  }
  event.Skip();
}

// The line holds the answer itself, in romaji input too: what it shows is what is judged.
std::string AnswerBox::ReadText() {
  if (control_ == nullptr || hintShown_) return {};
  return AnswerTextToSjis(control_->GetValue().utf8_string());
}

void AnswerBox::Clear() {
  RemoveHint();
  if (control_ == nullptr) return;
  control_->ChangeValue(wxString());
  lastValue_.clear();
}

// GTK shows an entry's placeholder only while the entry has no focus, and the line has the focus
// whenever it is shown: the hint is the line's own text, in grey, until a key comes.
void AnswerBox::SetHint(const std::string& text) {
  RemoveHint();
  if (control_ == nullptr || text.empty() || !control_->IsEmpty()) return;
  hintShown_ = true;
  if (!TintEntryText(control_, true, kHintGrey, kHintGrey, kHintGrey)) {
    control_->SetForegroundColour(wxColour(kHintGrey, kHintGrey, kHintGrey));
  }
  control_->ChangeValue(FromSjis(text));
  control_->SetInsertionPoint(0);
}

void AnswerBox::RemoveHint() {
  if (!hintShown_) return;
  hintShown_ = false;
  if (control_ == nullptr) return;
  control_->ChangeValue(wxString());
  lastValue_.clear();
  if (!TintEntryText(control_, false, 0, 0, 0)) control_->SetForegroundColour(textColour_);
}

void AnswerBox::SetRomajiInput(bool on) {
  romajiOn_ = on;
  AllowInputMethod(control_, !on);
}

void AnswerBox::Show() {
  if (control_ != nullptr) control_->Show();
}

// Keys must still reach the game while the line is hidden (a wrong answer waits for Enter), so
// the focus goes back to the game screen behind it.
void AnswerBox::Hide() {
  if (control_ == nullptr) return;
  if (wxWindow::FindFocus() == control_) control_->GetParent()->SetFocus();
  control_->Hide();
}

bool AnswerBox::IsVisible() const { return control_ != nullptr && control_->IsShown(); }

// GTK selects an entry's whole text as it takes the focus: neither the hint nor an answer taken
// up again after a pause is to be typed over. The caret goes before the hint, after the answer.
void AnswerBox::Focus() {
  if (control_ == nullptr) return;
  control_->SetFocus();
  control_->CallAfter([this] {
    if (control_ == nullptr) return;
    if (hintShown_) {
      control_->SetInsertionPoint(0);
    } else {
      control_->SetInsertionPointEnd();
    }
  });
}

// Enter must come through as a character: the key itself is left to the character handler.
void AnswerBox::OnKeyDown(wxKeyEvent& event) {
  RemoveHint();
  event.Skip();
}

// Enter is the game's alone: the control never sees it (no activation, nothing inserted).
// An Enter that commits an input-method composition never arrives here at all. Alt and Ctrl
// combinations are never romaji: they go on to the menus and accelerators.
void AnswerBox::OnChar(wxKeyEvent& event) {
  const int character = KeyCharacter(event);
  keys_.Store(character);
  if (character == kEnterKey) {
    if (romajiOn_ && FinishRomaji(control_)) lastValue_ = control_->GetValue();
    return;
  }
  if (romajiOn_ && IsRomajiKey(event)) {
    if (TypeRomaji(control_, static_cast<char>(character))) lastValue_ = control_->GetValue();
    return;
  }
  keyInsertPending_ = true;
  control_->CallAfter([this] { keyInsertPending_ = false; });
  event.Skip();
}

// Text the input method commits arrives without key events; its last character reaches the
// latch, which keeps a tick's last key, just as if the characters had been typed one by one.
void AnswerBox::OnText(wxCommandEvent& event) {
  event.Skip();
  if (control_ == nullptr) return;
  const wxString value = control_->GetValue();
  const wxString before = lastValue_;
  lastValue_ = value;
  if (keyInsertPending_) return;
  std::size_t prefix = 0;
  while (prefix < before.length() && prefix < value.length() && before[prefix] == value[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < before.length() - prefix && suffix < value.length() - prefix &&
         before[before.length() - 1 - suffix] == value[value.length() - 1 - suffix]) {
    ++suffix;
  }
  const wxString inserted = value.Mid(prefix, value.length() - prefix - suffix);
  if (!inserted.empty()) keys_.Store(LastCharacter(inserted.utf8_string()));
}

}  // namespace verselane
