#include "ui/desktop_language.h"

#include <clocale>
#include <cstdlib>
#include <string>

#include <wx/log.h>

namespace verselane {
namespace {

// The language the environment asks messages in, as gettext reads it: "ja_JP" from
// "ja_JP.UTF-8", the first of LANGUAGE's list beside a real locale; empty for the C locale.
wxString LanguageFromEnvironment() {
  std::string name;
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') {
      name = value;
      break;
    }
  }
  if (name.empty() || name == "C" || name.rfind("C.", 0) == 0 || name == "POSIX") return {};
  if (const char* preferred = std::getenv("LANGUAGE"); preferred != nullptr && preferred[0]) {
    name = preferred;
    name = name.substr(0, name.find(':'));
  }
  return wxString::FromUTF8(name.substr(0, name.find_first_of(".@")));
}

}  // namespace

// wxGTK keeps GTK from setting the C library's locale (gtk_disable_setlocale), so it is set here,
// before the first window: GTK translates its texts through it. The numbers stay in the C
// locale, which wx's own number fields and every printf of the program assume. wx's
// translations are installed alone, with the language named: a wxLocale would search every
// installed catalogue for the best language, a few milliseconds of each start; in the C locale
// nothing is loaded at all.
DesktopLanguage::DesktopLanguage() {
  if (const char* current = std::setlocale(LC_ALL, nullptr)) previousLocale_ = current;
  std::setlocale(LC_ALL, "");  // a locale the system lacks leaves the C one as it was
  std::setlocale(LC_NUMERIC, "C");
  wxLogNull quiet;
  installed_ = new wxTranslations;
  wxTranslations::Set(installed_);  // wx owns it from here
  const wxString language = LanguageFromEnvironment();
  if (language.empty()) return;
  installed_->SetLanguage(language);
  installed_->AddStdCatalog();
}

DesktopLanguage::~DesktopLanguage() {
  if (wxTranslations::Get() == installed_) wxTranslations::Set(nullptr);
  if (!previousLocale_.empty()) std::setlocale(LC_ALL, previousLocale_.c_str());
}

}  // namespace verselane
