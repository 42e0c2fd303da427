#include "ui/desktop_language.h"

#include <wx/log.h>

namespace verselane {

DesktopLanguage::DesktopLanguage() {
  wxLogNull quiet;
  locale_.Init(wxLANGUAGE_DEFAULT);
}

}  // namespace verselane
