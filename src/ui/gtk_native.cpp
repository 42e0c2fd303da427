#include "ui/gtk_native.h"

#include <dlfcn.h>

#include <cstdint>

#include <wx/textctrl.h>
#include <wx/toplevel.h>

namespace verselane {
namespace {

template <typename Function>
Function Find(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
}

// gtk_style_provider_priority: above the theme and the settings, below the user's own CSS.
constexpr unsigned kApplicationPriority = 600;

constexpr const char* kFlatEntryCss =
    "entry, entry:focus { border: none; border-radius: 0; box-shadow: none; outline: none;"
    " background-image: none; padding: 0 1px; min-height: 0; }";

}  // namespace

bool MakeEntryFlat(wxTextCtrl* control) {
  using NewProvider = void* (*)();
  using LoadData = int (*)(void* provider, const char* data, long length, void** error);
  using StyleContextOf = void* (*)(void* widget);
  using AddProvider = void (*)(void* context, void* provider, unsigned priority);
  using Unref = void (*)(void* object);
  const auto newProvider = Find<NewProvider>("gtk_css_provider_new");
  const auto loadData = Find<LoadData>("gtk_css_provider_load_from_data");
  const auto styleContextOf = Find<StyleContextOf>("gtk_widget_get_style_context");
  const auto addProvider = Find<AddProvider>("gtk_style_context_add_provider");
  const auto unref = Find<Unref>("g_object_unref");
  if (control == nullptr || control->GetHandle() == nullptr || !newProvider || !loadData ||
      !styleContextOf || !addProvider || !unref) {
    return false;
  }
  void* provider = newProvider();
  const bool loaded = loadData(provider, kFlatEntryCss, -1, nullptr) != 0;
  if (loaded) addProvider(styleContextOf(control->GetHandle()), provider, kApplicationPriority);
  unref(provider);
  return loaded;
}

// GTK 3's entry chooses its input method by the "im-module" property; its built-in "none" module
// passes keys straight through, and null goes back to the desktop's choice.
bool AllowInputMethod(wxTextCtrl* control, bool allowed) {
  using SetProperty = void (*)(void* object, const char* name, ...);
  const auto set = Find<SetProperty>("g_object_set");
  if (control == nullptr || control->GetHandle() == nullptr || !set) return false;
  set(control->GetHandle(), "im-module", allowed ? nullptr : "gtk-im-context-none", nullptr);
  return true;
}

void RealizeEntry(wxTextCtrl* control) {
  using Realize = void (*)(void* widget);
  const auto realize = Find<Realize>("gtk_widget_realize");
  if (control != nullptr && control->GetHandle() != nullptr && realize) {
    realize(control->GetHandle());
  }
}

void ActivateWindow(wxTopLevelWindow* window) {
  if (window == nullptr) return;
  if (window->IsIconized()) window->Iconize(false);
  using WindowOf = void* (*)(void* widget);
  using Show = void (*)(void* gdkWindow);
  using Focus = void (*)(void* gdkWindow, std::uint32_t timestamp);
  const auto windowOf = Find<WindowOf>("gtk_widget_get_window");
  const auto show = Find<Show>("gdk_window_show");
  const auto focus = Find<Focus>("gdk_window_focus");
  void* gdkWindow = windowOf && window->GetHandle() ? windowOf(window->GetHandle()) : nullptr;
  if (gdkWindow == nullptr || !show || !focus) {
    window->Raise();
    return;
  }
  show(gdkWindow);  // maps and raises
  focus(gdkWindow, 0);  // 0: the X server's current time, never too old
}

}  // namespace verselane
