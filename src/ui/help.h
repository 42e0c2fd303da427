// The help: the help book built into the program (assets/help/verselane.htb), shown in a help
// window with contents, index and search. The window is a module of its own
// (ui/help_module/help_window.cpp, verselane-help.so), loaded when help is first asked for.
#pragma once

#include <wx/string.h>

class wxWindow;

namespace verselane {

// Opens the help window on its first page, "01_hajimeni.html", or brings it forward when it is
// open already, at the zoom of `parent` (ZoomOf). The window belongs to `parent` and closes with
// it. A missing or unreadable book
// shows nothing and reports nothing; a missing module shows nothing and says so on stderr.
void ShowHelp(wxWindow* parent);

// Closes the help window when it is open.
void CloseHelp();

// Lets go of the help window's module, once every window is gone and before wx cleans up: the
// wx modules its libraries brought in are stopped here by the plug-in manager that started
// them (wx's own clean-up would find them started by someone else). Nothing when not loaded.
void UnloadHelp();

// Where wx's file systems find the built-in book ("memory:....htb"), for wxHtmlHelpData::AddBook;
// empty when the program holds no book. The first call publishes the book.
wxString HelpBookLocation();

}  // namespace verselane
