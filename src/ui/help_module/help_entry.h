// What the program and the help window's module agree on: the module's file name and its two
// entry points, looked up by name once the module is loaded.
#pragma once

class wxWindow;

namespace verselane {

inline constexpr const char* kHelpModuleFile = "verselane-help.so";

// Opens the help window on the book at `bookLocation` (a location in wx's file systems, UTF-8),
// or brings it forward when it is open already; its texts are shown at `zoom` (1 for 100 %).
using ShowHelpEntry = void (*)(wxWindow* parent, const char* bookLocation, double zoom);
inline constexpr const char* kShowHelpEntry = "verselane_help_show";
// Closes the help window when it is open.
using CloseHelpEntry = void (*)();
inline constexpr const char* kCloseHelpEntry = "verselane_help_close";

}  // namespace verselane
