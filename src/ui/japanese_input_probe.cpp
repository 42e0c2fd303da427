#include "ui/japanese_input_probe.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/native_symbols.h"

namespace verselane {
namespace {

// GLib and GIO, which GTK has loaded, called by name like the rest of GTK (ui/gtk_native.cpp).
// Errors are not asked for: every failure comes back as a null result.
struct Gio {
  using Object = void*;
  using Variant = void*;
  int (*spawnSync)(const char* folder, char** argv, char** envp, int flags, void* setUp,
                   void* data, char** output, char** errors, int* status, void** error) = nullptr;
  Object (*connectToAddress)(const char* address, int flags, void* observer, void* cancellable,
                             void** error) = nullptr;
  Object (*busGet)(int busType, void* cancellable, void** error) = nullptr;
  Variant (*call)(Object bus, const char* name, const char* path, const char* interface,
                  const char* method, Variant arguments, const char* replyType, int flags,
                  int timeoutMs, void* cancellable, void** error) = nullptr;
  int (*close)(Object bus, void* cancellable, void** error) = nullptr;
  void (*unref)(Object object) = nullptr;
  void (*free)(void* memory) = nullptr;
  Variant (*newVariant)(const char* format, ...) = nullptr;
  void (*unrefVariant)(Variant variant) = nullptr;
  std::size_t (*childCount)(Variant variant) = nullptr;
  Variant (*child)(Variant variant, std::size_t index) = nullptr;
  Variant (*unbox)(Variant variant) = nullptr;
  const char* (*text)(Variant variant, std::size_t* length) = nullptr;
  const char* (*typeOf)(Variant variant) = nullptr;

  bool Load() {
    return FindSymbol(RTLD_DEFAULT, "g_spawn_sync", spawnSync) &&
           FindSymbol(RTLD_DEFAULT, "g_dbus_connection_new_for_address_sync", connectToAddress) &&
           FindSymbol(RTLD_DEFAULT, "g_bus_get_sync", busGet) &&
           FindSymbol(RTLD_DEFAULT, "g_dbus_connection_call_sync", call) &&
           FindSymbol(RTLD_DEFAULT, "g_dbus_connection_close_sync", close) &&
           FindSymbol(RTLD_DEFAULT, "g_object_unref", unref) &&
           FindSymbol(RTLD_DEFAULT, "g_free", free) &&
           FindSymbol(RTLD_DEFAULT, "g_variant_new", newVariant) &&
           FindSymbol(RTLD_DEFAULT, "g_variant_unref", unrefVariant) &&
           FindSymbol(RTLD_DEFAULT, "g_variant_n_children", childCount) &&
           FindSymbol(RTLD_DEFAULT, "g_variant_get_child_value", child) &&
           FindSymbol(RTLD_DEFAULT, "g_variant_get_variant", unbox) &&
           FindSymbol(RTLD_DEFAULT, "g_variant_get_string", text) &&
           FindSymbol(RTLD_DEFAULT, "g_variant_get_type_string", typeOf);
  }
};

// GLib's values of the flags and types used here.
constexpr int kSpawnSearchPath = 1 << 2;
constexpr int kSpawnStderrToDevNull = 1 << 4;
constexpr int kConnectAsClientToABus = (1 << 0) | (1 << 3);
constexpr int kSessionBus = 2;
constexpr int kCallNoAutoStart = 1 << 0;

bool IsType(const Gio& gio, Gio::Variant variant, const char* type) {
  return variant != nullptr && std::strcmp(gio.typeOf(variant), type) == 0;
}

// The text of child `index` of `tuple`, or "" when it is none.
std::string ChildText(const Gio& gio, Gio::Variant tuple, std::size_t index) {
  if (gio.childCount(tuple) <= index) return {};
  Gio::Variant child = gio.child(tuple, index);
  std::string text = IsType(gio, child, "s") ? gio.text(child, nullptr) : "";
  gio.unrefVariant(child);
  return text;
}

// Whether any child of `list` (unboxed first when `boxed`) is a tuple naming a Japanese input
// method: its name at `nameAt`, its language at `languageAt`.
bool AnyJapanese(const Gio& gio, Gio::Variant list, bool boxed, std::size_t nameAt,
                 std::size_t languageAt) {
  bool found = false;
  const std::size_t count = gio.childCount(list);
  for (std::size_t i = 0; i < count && !found; ++i) {
    Gio::Variant item = gio.child(list, i);
    Gio::Variant entry = boxed ? gio.unbox(item) : item;
    found = gio.typeOf(entry)[0] == '(' &&
            IsJapaneseInputMethod(ChildText(gio, entry, nameAt), ChildText(gio, entry, languageAt));
    if (boxed) gio.unrefVariant(entry);
    gio.unrefVariant(item);
  }
  return found;
}

// IBus listens on a bus of its own, whose address only IBus knows how to find for a display.
std::string IBusAddress(const Gio& gio) {
  if (const char* address = std::getenv("IBUS_ADDRESS"); address != nullptr && *address != '\0') {
    return address;
  }
  char program[] = "ibus";
  char command[] = "address";
  char* argv[] = {program, command, nullptr};
  char* output = nullptr;
  int status = 0;
  if (!gio.spawnSync(nullptr, argv, nullptr, kSpawnSearchPath | kSpawnStderrToDevNull, nullptr,
                     nullptr, &output, nullptr, &status, nullptr)) {
    return {};
  }
  std::string address = output != nullptr ? output : "";
  gio.free(output);
  while (!address.empty() && (address.back() == '\n' || address.back() == ' ')) address.pop_back();
  // "(null)" when no IBus runs for this display.
  return address.find(':') == std::string::npos ? std::string() : address;
}

}  // namespace

bool IsJapaneseInputMethod(std::string_view name, std::string_view language) {
  if (name.starts_with("xkb:") || name.starts_with("keyboard-")) return false;
  return language == "ja" || language.starts_with("ja_") || language.starts_with("ja-");
}

// The engines are IBusEngineDesc values, each serialised as (type name, attachments, name, long
// name, description, language, ...), in the bus's property "Engines".
bool IBusOffersJapanese(int timeoutMs) {
  Gio gio;
  if (!gio.Load()) return false;
  const std::string address = IBusAddress(gio);
  if (address.empty()) return false;
  Gio::Object bus =
      gio.connectToAddress(address.c_str(), kConnectAsClientToABus, nullptr, nullptr, nullptr);
  if (bus == nullptr) return false;
  Gio::Variant reply = gio.call(
      bus, "org.freedesktop.IBus", "/org/freedesktop/IBus", "org.freedesktop.DBus.Properties",
      "Get", gio.newVariant("(ss)", "org.freedesktop.IBus", "Engines"), "(v)", kCallNoAutoStart,
      timeoutMs, nullptr, nullptr);
  gio.close(bus, nullptr, nullptr);
  gio.unref(bus);
  if (reply == nullptr) return false;
  Gio::Variant boxed = gio.child(reply, 0);
  Gio::Variant engines = gio.unbox(boxed);
  const bool found = IsType(gio, engines, "av") && AnyJapanese(gio, engines, true, 2, 5);
  gio.unrefVariant(engines);
  gio.unrefVariant(boxed);
  gio.unrefVariant(reply);
  return found;
}

// Each input method is (unique name, name, native name, icon, label, language code,
// configurable). Fcitx is never started through the bus for this.
bool FcitxOffersJapanese(int timeoutMs) {
  Gio gio;
  if (!gio.Load()) return false;
  Gio::Object bus = gio.busGet(kSessionBus, nullptr, nullptr);
  if (bus == nullptr) return false;
  Gio::Variant reply = gio.call(bus, "org.fcitx.Fcitx5", "/controller",
                                "org.fcitx.Fcitx.Controller1", "AvailableInputMethods", nullptr,
                                "(a(ssssssb))", kCallNoAutoStart, timeoutMs, nullptr, nullptr);
  gio.unref(bus);
  if (reply == nullptr) return false;
  Gio::Variant methods = gio.child(reply, 0);
  const bool found = AnyJapanese(gio, methods, false, 0, 5);
  gio.unrefVariant(methods);
  gio.unrefVariant(reply);
  return found;
}

}  // namespace verselane
