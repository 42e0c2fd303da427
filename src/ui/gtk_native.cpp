#include "ui/gtk_native.h"

#include <cstdint>

#include <wx/textctrl.h>
#include <wx/toplevel.h>

#include "base/native_symbols.h"

namespace verselane {
namespace {

template <typename Function>
Function Find(const char* name) {
  Function function = nullptr;
  FindSymbol(RTLD_DEFAULT, name, function);
  return function;
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

bool TintEntryText(wxTextCtrl* control, bool tinted, int red, int green, int blue) {
  using SetAttributes = void (*)(void* entry, void* attributes);
  using NewList = void* (*)();
  using NewForeground = void* (*)(std::uint16_t red, std::uint16_t green, std::uint16_t blue);
  using Insert = void (*)(void* list, void* attribute);
  using Unref = void (*)(void* list);
  const auto setAttributes = Find<SetAttributes>("gtk_entry_set_attributes");
  const auto newList = Find<NewList>("pango_attr_list_new");
  const auto newForeground = Find<NewForeground>("pango_attr_foreground_new");
  const auto insert = Find<Insert>("pango_attr_list_insert");
  const auto unref = Find<Unref>("pango_attr_list_unref");
  if (control == nullptr || control->GetHandle() == nullptr || !setAttributes || !newList ||
      !newForeground || !insert || !unref) {
    return false;
  }
  if (!tinted) {
    setAttributes(control->GetHandle(), nullptr);
    return true;
  }
  // Pango's colour channels are 16 bits: 255 becomes 65535.
  auto channel = [](int value) { return static_cast<std::uint16_t>(value * 257); };
  void* list = newList();
  insert(list, newForeground(channel(red), channel(green), channel(blue)));
  setAttributes(control->GetHandle(), list);
  unref(list);
  return true;
}

void StartFontSetUp() {
  using DefaultFontMap = void* (*)();
  if (const auto fontMap = Find<DefaultFontMap>("pango_cairo_font_map_get_default")) fontMap();
}

void RealizeEntry(wxTextCtrl* control) {
  using Realize = void (*)(void* widget);
  const auto realize = Find<Realize>("gtk_widget_realize");
  if (control != nullptr && control->GetHandle() != nullptr && realize) {
    realize(control->GetHandle());
  }
}

namespace {

using Focus = void (*)(void* gdkWindow, std::uint32_t timestamp);

bool IsWaylandDisplay(void* gdkDisplay) {
  using TypeOf = unsigned long (*)();
  using IsA = int (*)(void* instance, unsigned long type);
  const auto waylandDisplayType = Find<TypeOf>("gdk_wayland_display_get_type");
  const auto isA = Find<IsA>("g_type_check_instance_is_a");
  return gdkDisplay != nullptr && waylandDisplayType && isA &&
         isA(gdkDisplay, waylandDisplayType()) != 0;
}

// GDK activates the window through xdg-activation with the display's startup-notification id,
// which it uses up; without one it asks for a token of its own, which the compositor refuses
// while another program has the focus.
void ActivateOnWayland(void* gdkDisplay, void* gdkWindow, Focus focus,
                       const std::string& activationToken) {
  using SetStartupId = void (*)(void* gdkDisplay, const char* startupId);
  const auto setStartupId =
      Find<SetStartupId>("gdk_wayland_display_set_startup_notification_id");
  if (!activationToken.empty() && setStartupId) setStartupId(gdkDisplay, activationToken.c_str());
  focus(gdkWindow, 0);
}

void ActivateOnX11(wxTopLevelWindow* window, void* gdkWindow, Focus focus,
                   const std::string& activationToken) {
  using Show = void (*)(void* gdkWindow);
  using SetStartupId = void (*)(void* gdkWindow, const char* startupId);
  using Complete = void (*)(const char* startupId);
  const auto show = Find<Show>("gdk_window_show");
  const auto setStartupId = Find<SetStartupId>("gdk_window_set_startup_id");
  const auto complete = Find<Complete>("gdk_notify_startup_complete_with_id");
  if (window->IsIconized()) window->Iconize(false);
  if (!show) {
    window->Raise();
    return;
  }
  if (!activationToken.empty() && setStartupId) setStartupId(gdkWindow, activationToken.c_str());
  show(gdkWindow);  // maps and raises
  focus(gdkWindow, 0);  // 0: the X server's current time, never too old
  if (!activationToken.empty() && complete) complete(activationToken.c_str());
}

}  // namespace

bool DrawsOutsidePaint() {
  using DefaultDisplay = void* (*)();
  const auto defaultDisplay = Find<DefaultDisplay>("gdk_display_get_default");
  static const bool x11 = defaultDisplay && !IsWaylandDisplay(defaultDisplay());
  return x11;
}

namespace {

// GLib's signal emission hook: the values are the emission's, the instance first.
using EmissionHook = int (*)(void* hint, unsigned count, const void* values, void* data);

// What NameMappedToplevel needs, looked up once: GTK maps every widget of a window as it shows it.
struct WaylandNaming {
  using ObjectOf = void* (*)(const void* value);
  using IsToplevel = int (*)(void* widget);
  using WindowOf = void* (*)(void* widget);
  using TypeOfWindow = int (*)(void* gdkWindow);
  using SetAppId = void (*)(void* gdkWindow, const char* appId);
  ObjectOf objectOf = Find<ObjectOf>("g_value_get_object");
  IsToplevel isToplevel = Find<IsToplevel>("gtk_widget_is_toplevel");
  WindowOf windowOf = Find<WindowOf>("gtk_widget_get_window");
  TypeOfWindow typeOfWindow = Find<TypeOfWindow>("gdk_window_get_window_type");
  SetAppId setAppId = Find<SetAppId>("gdk_wayland_window_set_application_id");  // GTK 3.24.22
  const char* appId = nullptr;

  bool complete() const { return objectOf && isToplevel && windowOf && typeOfWindow && setAppId; }
};

// GdkWindowType's GDK_WINDOW_TOPLEVEL: a window of its own on the desktop, not a menu's or a
// tooltip's (GDK_WINDOW_TEMP) nor an offscreen one.
constexpr int kGdkToplevelWindow = 1;

// GDK gives a window its Wayland toplevel when the window is mapped, named after the program,
// and a new one each time it is shown again, so the name is replaced after every map (the hook
// runs after GTK's own handler, which shows the window).
int NameMappedToplevel(void* /*hint*/, unsigned /*count*/, const void* values, void* data) {
  const auto* naming = static_cast<const WaylandNaming*>(data);
  void* widget = naming->objectOf(values);
  if (widget == nullptr || naming->isToplevel(widget) == 0) return 1;
  void* gdkWindow = naming->windowOf(widget);
  if (gdkWindow != nullptr && naming->typeOfWindow(gdkWindow) == kGdkToplevelWindow) {
    naming->setAppId(gdkWindow, naming->appId);
  }
  return 1;  // stays for the next map
}

}  // namespace

void NameWindowsOnWayland(const char* appId) {
  using DefaultDisplay = void* (*)();
  using TypeOf = unsigned long (*)();
  using ClassRef = void* (*)(unsigned long type);
  using Lookup = unsigned (*)(const char* name, unsigned long type);
  using AddHook = unsigned long (*)(unsigned signal, unsigned detail, EmissionHook hook,
                                    void* data, void (*destroy)(void*));
  const auto defaultDisplay = Find<DefaultDisplay>("gdk_display_get_default");
  const auto widgetType = Find<TypeOf>("gtk_widget_get_type");
  const auto classRef = Find<ClassRef>("g_type_class_ref");
  const auto lookup = Find<Lookup>("g_signal_lookup");
  const auto addHook = Find<AddHook>("g_signal_add_emission_hook");
  static WaylandNaming naming;
  if (appId == nullptr || naming.appId != nullptr || !naming.complete() || !defaultDisplay ||
      !widgetType || !classRef || !lookup || !addHook || !IsWaylandDisplay(defaultDisplay())) {
    return;
  }
  classRef(widgetType());  // a signal is known once its class is made; kept for good
  const unsigned mapSignal = lookup("map", widgetType());
  if (mapSignal == 0) return;
  naming.appId = appId;
  addHook(mapSignal, 0, NameMappedToplevel, &naming, nullptr);
}

void ActivateWindow(wxTopLevelWindow* window, const std::string& activationToken) {
  if (window == nullptr) return;
  using WindowOf = void* (*)(void* widget);
  using DisplayOf = void* (*)(void* gdkWindow);
  const auto windowOf = Find<WindowOf>("gtk_widget_get_window");
  const auto displayOf = Find<DisplayOf>("gdk_window_get_display");
  const auto focus = Find<Focus>("gdk_window_focus");
  void* gdkWindow = windowOf && window->GetHandle() ? windowOf(window->GetHandle()) : nullptr;
  if (gdkWindow == nullptr || !displayOf || !focus) {
    window->Raise();
    return;
  }
  void* gdkDisplay = displayOf(gdkWindow);
  if (IsWaylandDisplay(gdkDisplay)) {
    ActivateOnWayland(gdkDisplay, gdkWindow, focus, activationToken);
  } else {
    ActivateOnX11(window, gdkWindow, focus, activationToken);
  }
}

}  // namespace verselane
