// The Wayland script test's hands: a virtual keyboard on the compositor's seat, and a launcher's
// request for an activation token.
//
// It keeps one keymap for its whole run. A client that sends a new keymap with every call (as
// wtype does) makes GTK load a new keymap each time, and GTK then fires no accelerators or key
// bindings. Commands come one a line on stdin; each is answered with one line on stdout once the
// compositor has taken it: "ok", the token, or "error: WHY".
//   type TEXT   types the ASCII TEXT
//   key COMBO   presses a combination: ctrl+s, alt+y, shift+Tab, Return, Escape
//   token       asks for an activation token, as a launcher does for the program it starts
//
// Usage: e2e-wayland-keyboard (WAYLAND_DISPLAY names the compositor)
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "xdg-activation-v1-client-protocol.h"

namespace {

struct Globals {
  wl_seat* seat = nullptr;
  zwp_virtual_keyboard_manager_v1* keyboards = nullptr;
  xdg_activation_v1* activation = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t) {
  auto* globals = static_cast<Globals*>(data);
  const auto is = [interface](const wl_interface& wanted) {
    return std::strcmp(interface, wanted.name) == 0;
  };
  if (is(wl_seat_interface) && globals->seat == nullptr) {
    globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  } else if (is(zwp_virtual_keyboard_manager_v1_interface)) {
    globals->keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
        wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
  } else if (is(xdg_activation_v1_interface)) {
    globals->activation = static_cast<xdg_activation_v1*>(
        wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
  }
}
void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};

// A US layout: every ASCII character has a key, at level 1 or with Shift at level 2.
class Keymap {
 public:
  Keymap() {
    context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
    keymap_ = context_ ? xkb_keymap_new_from_names(context_, &names, XKB_KEYMAP_COMPILE_NO_FLAGS)
                       : nullptr;
  }
  ~Keymap() {
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
  }
  bool ok() const { return keymap_ != nullptr; }

  // The keymap's text in a sealed memory file, as the protocol hands keymaps over; its size.
  std::pair<int, std::uint32_t> File() const {
    char* text = xkb_keymap_get_as_string(keymap_, XKB_KEYMAP_FORMAT_TEXT_V1);
    const std::size_t size = std::strlen(text) + 1;
    const int fd = memfd_create("verselane-e2e-keymap", MFD_CLOEXEC);
    const bool written = fd >= 0 && write(fd, text, size) == static_cast<ssize_t>(size);
    std::free(text);
    if (!written) return {-1, 0};
    return {fd, static_cast<std::uint32_t>(size)};
  }

  std::uint32_t Mask(const char* modifier) const {
    const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap_, modifier);
    return index == XKB_MOD_INVALID ? 0 : 1u << index;
  }

  // The key that gives `symbol`, and whether it needs Shift.
  std::optional<std::pair<xkb_keycode_t, bool>> Find(xkb_keysym_t symbol) const {
    for (xkb_level_index_t level = 0; level < 2; ++level) {
      for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap_);
           code <= xkb_keymap_max_keycode(keymap_); ++code) {
        const xkb_keysym_t* symbols = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap_, code, 0, level, &symbols);
        if (count == 1 && symbols[0] == symbol) return std::make_pair(code, level == 1);
      }
    }
    return std::nullopt;
  }

 private:
  xkb_context* context_ = nullptr;
  xkb_keymap* keymap_ = nullptr;
};

class Keyboard {
 public:
  Keyboard(wl_display* display, const Globals& globals, const Keymap& keymap)
      : display_(display), keymap_(keymap), globals_(globals) {
    keyboard_ = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(globals.keyboards,
                                                                        globals.seat);
    const auto [fd, size] = keymap.File();
    if (fd < 0) return;
    zwp_virtual_keyboard_v1_keymap(keyboard_, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, size);
    ready_ = wl_display_roundtrip(display_) >= 0;
    close(fd);
  }
  bool ready() const { return ready_; }

  std::string Type(const std::string& text) {
    for (const char c : text) {
      const auto key = keymap_.Find(xkb_utf32_to_keysym(static_cast<unsigned char>(c)));
      if (!key) return std::string("error: no key types '") + c + "'";
      if (!Press(key->first, key->second ? keymap_.Mask(XKB_MOD_NAME_SHIFT) : 0)) {
        return "error: the compositor is gone";
      }
    }
    return "ok";
  }

  // "ctrl+alt+Delete": modifiers, then the key by its keysym name.
  std::string Combo(const std::string& combo) {
    std::uint32_t mask = 0;
    std::istringstream parts(combo);
    std::string part, last;
    while (std::getline(parts, part, '+')) {
      if (!last.empty()) {
        const std::uint32_t modifier = ModifierMask(last);
        if (modifier == 0) return "error: no modifier " + last;
        mask |= modifier;
      }
      last = part;
    }
    xkb_keysym_t symbol = xkb_keysym_from_name(last.c_str(), XKB_KEYSYM_NO_FLAGS);
    if (symbol == XKB_KEY_NoSymbol) {
      symbol = xkb_keysym_from_name(last.c_str(), XKB_KEYSYM_CASE_INSENSITIVE);
    }
    const auto key = keymap_.Find(symbol);
    if (!key) return "error: no key " + last;
    if (key->second) mask |= keymap_.Mask(XKB_MOD_NAME_SHIFT);
    return Press(key->first, mask) ? "ok" : "error: the compositor is gone";
  }

  std::string Token() {
    if (globals_.activation == nullptr) return "error: the compositor offers no xdg_activation_v1";
    std::string token;
    static const xdg_activation_token_v1_listener listener{
        [](void* data, xdg_activation_token_v1*, const char* issued) {
          *static_cast<std::string*>(data) = issued;
        }};
    xdg_activation_token_v1* request = xdg_activation_v1_get_activation_token(globals_.activation);
    xdg_activation_token_v1_add_listener(request, &listener, &token);
    xdg_activation_token_v1_commit(request);
    while (token.empty() && wl_display_dispatch(display_) >= 0) {
    }
    xdg_activation_token_v1_destroy(request);
    return token.empty() ? "error: no token came" : token;
  }

 private:
  std::uint32_t ModifierMask(const std::string& name) const {
    if (name == "ctrl" || name == "control") return keymap_.Mask(XKB_MOD_NAME_CTRL);
    if (name == "alt") return keymap_.Mask(XKB_MOD_NAME_ALT);
    if (name == "shift") return keymap_.Mask(XKB_MOD_NAME_SHIFT);
    return 0;
  }

  // Down and up, with the modifiers held around it, at a typist's pace.
  bool Press(xkb_keycode_t code, std::uint32_t mask) {
    const std::uint32_t evdev = code - 8;  // xkb key codes are evdev's plus 8
    if (mask != 0) zwp_virtual_keyboard_v1_modifiers(keyboard_, mask, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(keyboard_, Now(), evdev, WL_KEYBOARD_KEY_STATE_PRESSED);
    zwp_virtual_keyboard_v1_key(keyboard_, Now(), evdev, WL_KEYBOARD_KEY_STATE_RELEASED);
    if (mask != 0) zwp_virtual_keyboard_v1_modifiers(keyboard_, 0, 0, 0, 0);
    const bool delivered = wl_display_roundtrip(display_) >= 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    return delivered;
  }
  static std::uint32_t Now() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }

  wl_display* display_;
  const Keymap& keymap_;
  const Globals& globals_;
  zwp_virtual_keyboard_v1* keyboard_ = nullptr;
  bool ready_ = false;
};

std::string Run(Keyboard& keyboard, const std::string& line) {
  const std::size_t space = line.find(' ');
  const std::string command = line.substr(0, space);
  const std::string argument = space == std::string::npos ? "" : line.substr(space + 1);
  if (command == "type") return keyboard.Type(argument);
  if (command == "key") return keyboard.Combo(argument);
  if (command == "token") return keyboard.Token();
  return "error: unknown command " + command;
}

}  // namespace

int main() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    std::cerr << "e2e-wayland-keyboard: cannot connect to the compositor\n";
    return 1;
  }
  Globals globals;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &globals);
  wl_display_roundtrip(display);
  if (globals.seat == nullptr || globals.keyboards == nullptr) {
    std::cerr << "e2e-wayland-keyboard: the compositor offers no seat or no virtual keyboard\n";
    return 1;
  }
  const Keymap keymap;
  Keyboard keyboard(display, globals, keymap);
  if (!keymap.ok() || !keyboard.ready()) {
    std::cerr << "e2e-wayland-keyboard: the keymap could not be made or sent\n";
    return 1;
  }
  std::cout << "ready" << std::endl;
  for (std::string line; std::getline(std::cin, line);) std::cout << Run(keyboard, line) << std::endl;
  wl_display_disconnect(display);
  return 0;
}
