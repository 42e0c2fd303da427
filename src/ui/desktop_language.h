// wx's own texts (the help window's labels, the file dialogs' messages) in the desktop's language,
// from the translations Debian's wx3.2-i18n installs. The game's texts are its own and stay as
// they are.
#pragma once

#include <wx/translation.h>

namespace verselane {

class DesktopLanguage {
 public:
  // Takes the language from the environment (LC_ALL, LC_MESSAGES, LANG), for as long as it
  // lives. A language the system has no locale for still gets wx's translations; one without a
  // catalogue stays English. Neither is worth an error box.
  DesktopLanguage();
  ~DesktopLanguage();
  DesktopLanguage(const DesktopLanguage&) = delete;
  DesktopLanguage& operator=(const DesktopLanguage&) = delete;

 private:
  wxTranslations* installed_ = nullptr;  // owned by wx while it is the one in use
};

}  // namespace verselane
