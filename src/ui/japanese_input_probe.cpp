#include "ui/japanese_input_probe.h"

#include <cstdlib>
#include <memory>
#include <string>

#include <gio/gio.h>

namespace verselane {
namespace {

struct ObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
struct VariantUnref {
  void operator()(GVariant* variant) const { g_variant_unref(variant); }
};
using Connection = std::unique_ptr<GDBusConnection, ObjectUnref>;
using Variant = std::unique_ptr<GVariant, VariantUnref>;

// IBus listens on a bus of its own, whose address only IBus knows how to find for a display.
std::string IBusAddress() {
  if (const char* address = std::getenv("IBUS_ADDRESS"); address != nullptr && *address != '\0') {
    return address;
  }
  gchar* argv[] = {const_cast<gchar*>("ibus"), const_cast<gchar*>("address"), nullptr};
  gchar* output = nullptr;
  gint status = 0;
  if (!g_spawn_sync(nullptr, argv, nullptr,
                    static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL),
                    nullptr, nullptr, &output, nullptr, &status, nullptr)) {
    return {};
  }
  std::string address = output != nullptr ? output : "";
  g_free(output);
  while (!address.empty() && (address.back() == '\n' || address.back() == ' ')) address.pop_back();
  // "(null)" when no IBus runs for this display.
  return address.find(':') == std::string::npos ? std::string() : address;
}

Variant Call(GDBusConnection* bus, const char* name, const char* path, const char* interface,
             const char* method, GVariant* arguments, const char* replyType, int timeoutMs) {
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_sync(
      bus, name, path, interface, method, arguments, G_VARIANT_TYPE(replyType),
      G_DBUS_CALL_FLAGS_NO_AUTO_START, timeoutMs, nullptr, &error);
  g_clear_error(&error);
  return Variant(reply);
}

std::string_view Text(GVariant* tuple, gsize index) {
  Variant child(g_variant_get_child_value(tuple, index));
  if (!g_variant_is_of_type(child.get(), G_VARIANT_TYPE_STRING)) return {};
  // The text lives as long as the tuple that holds it.
  return g_variant_get_string(child.get(), nullptr);
}

// Each engine is an IBusEngineDesc serialised as (type name, attachments, name, long name,
// description, language, ...).
bool AnyJapaneseEngine(GVariant* engines) {
  GVariantIter iterator;
  g_variant_iter_init(&iterator, engines);
  GVariant* boxed = nullptr;
  while (g_variant_iter_next(&iterator, "v", &boxed)) {
    Variant engine(boxed);
    if (g_variant_is_of_type(engine.get(), G_VARIANT_TYPE_TUPLE) &&
        g_variant_n_children(engine.get()) > 5 &&
        IsJapaneseInputMethod(Text(engine.get(), 2), Text(engine.get(), 5))) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool IsJapaneseInputMethod(std::string_view name, std::string_view language) {
  if (name.starts_with("xkb:") || name.starts_with("keyboard-")) return false;
  return language == "ja" || language.starts_with("ja_") || language.starts_with("ja-");
}

bool IBusOffersJapanese(int timeoutMs) {
  const std::string address = IBusAddress();
  if (address.empty()) return false;
  GError* error = nullptr;
  Connection bus(g_dbus_connection_new_for_address_sync(
      address.c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, &error));
  g_clear_error(&error);
  if (!bus) return false;
  const Variant reply =
      Call(bus.get(), "org.freedesktop.IBus", "/org/freedesktop/IBus",
           "org.freedesktop.DBus.Properties", "Get",
           g_variant_new("(ss)", "org.freedesktop.IBus", "Engines"), "(v)", timeoutMs);
  g_dbus_connection_close_sync(bus.get(), nullptr, nullptr);
  if (!reply) return false;
  const Variant engines(g_variant_get_child_value(reply.get(), 0));
  Variant list(g_variant_get_variant(engines.get()));
  return g_variant_is_of_type(list.get(), G_VARIANT_TYPE("av")) && AnyJapaneseEngine(list.get());
}

bool FcitxOffersJapanese(int timeoutMs) {
  GError* error = nullptr;
  Connection bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
  g_clear_error(&error);
  if (!bus) return false;
  const Variant reply = Call(bus.get(), "org.fcitx.Fcitx5", "/controller",
                             "org.fcitx.Fcitx.Controller1", "AvailableInputMethods", nullptr,
                             "(a(ssssssb))", timeoutMs);
  if (!reply) return false;
  const Variant methods(g_variant_get_child_value(reply.get(), 0));
  GVariantIter iterator;
  g_variant_iter_init(&iterator, methods.get());
  const gchar* name = nullptr;
  const gchar* language = nullptr;
  // (unique name, name, native name, icon, label, language code, configurable)
  while (g_variant_iter_next(&iterator, "(&s&s&s&s&s&sb)", &name, nullptr, nullptr, nullptr,
                             nullptr, &language, nullptr)) {
    if (IsJapaneseInputMethod(name, language)) return true;
  }
  return false;
}

}  // namespace verselane
