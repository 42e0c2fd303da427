// Romaji input in a one-line text control, the answer line's and the rank-in's name field's:
// ASCII letters typed become hiragana in the control's own text around its caret, with the
// letters still pending shown after them, so that what the control shows is its value. Every
// other edit (Backspace, Delete, the caret keys, paste) is the control's own.
#pragma once

class wxKeyEvent;
class wxTextCtrl;

namespace verselane {

// A key that romaji input takes: printable ASCII without Alt or Ctrl, which go on to the menus
// and accelerators.
bool IsRomajiKey(const wxKeyEvent& event);

// Types `key` at the caret of `control`: the letters pending just before it are taken up and
// what they make with it takes their place; a selection is typed over. False when romaji ignores
// the key and nothing changed. The control's value changes without a text event.
bool TypeRomaji(wxTextCtrl* control, char key);

// A pending "n" just before the caret becomes ん and other pending letters go, as before the
// text is taken (Enter, OK); false when none was pending.
bool FinishRomaji(wxTextCtrl* control);

}  // namespace verselane
