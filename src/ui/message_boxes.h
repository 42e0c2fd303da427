// Message boxes: the Yes/No confirmations of the commands, and the notices and error boxes of
// the file and drawing code. They are wx's generic message dialogs: the GTK native one shows no
// icon, and its buttons cannot carry the Japanese labels with access keys.
#pragma once

#include <string>

#include <wx/window.h>

#include "game/desktop_ports.h"
#include "base/file_ports.h"

namespace verselane {

inline constexpr const char* kYesLabel = "はい(&Y)";
inline constexpr const char* kNoLabel = "いいえ(&N)";

// The wx style of a notice box with `icon`.
long NoticeStyle(NoticeIcon icon);

class MessageBoxes : public PromptPort, public NoticePort {
 public:
  // Confirmations and notices are owned by the main window, once there is one.
  void SetOwner(wxWindow* owner) { owner_ = owner; }

  // Yes/No, question icon, No the default button; true for Yes.
  bool Confirm(const std::string& text, const std::string& caption) override;
  // OK only.
  void ShowNotice(const std::string& text, const std::string& caption, NoticeIcon icon) override;

 private:
  wxWindow* owner_ = nullptr;
};

// A start-up error box, "ERROR(<operation>):<what>" with caption "ERROR", for texts written in
// UTF-8 in the window layer itself.
void ShowStartupError(const char* messageUtf8);

}  // namespace verselane
