// The toolkit's own texts in the desktop's language: GTK's (the file windows' "名前", "キャンセル")
// through the C library's locale, wx's (the help window's labels, the file dialogs' messages)
// from the translations Debian's wx3.2-i18n installs. The game's texts are its own and stay as
// they are, and so do the numbers of the files, read and written with a decimal point whatever
// the locale writes.
#pragma once

#include <string>

#include <wx/translation.h>

namespace verselane {

class DesktopLanguage {
 public:
  // Takes the locale from the environment (LC_ALL, LC_*, LANG), as a desktop program does, all
  // but its numbers (LC_NUMERIC stays "C"), for as long as it lives. A language the system has
  // no locale for still gets wx's translations; one without a catalogue stays English. Neither
  // is worth an error box.
  DesktopLanguage();
  ~DesktopLanguage();
  DesktopLanguage(const DesktopLanguage&) = delete;
  DesktopLanguage& operator=(const DesktopLanguage&) = delete;

 private:
  wxTranslations* installed_ = nullptr;  // owned by wx while it is the one in use
  std::string previousLocale_;            // the C library's, given back at the end
};

}  // namespace verselane
