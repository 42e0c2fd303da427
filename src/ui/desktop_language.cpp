#include "ui/desktop_language.h"

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

// wx's translations alone, with the language named. A wxLocale would set the C library's locale,
// which GTK has already set to the desktop's, and would search every installed catalogue for the
// best language, a few milliseconds of each start; in the C locale nothing is loaded at all.
DesktopLanguage::DesktopLanguage() {
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
}

}  // namespace verselane
