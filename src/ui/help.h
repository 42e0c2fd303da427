// The help: the help book built into the program (assets/help/verselane.htb), shown in a help
// window with contents, index and search.
#pragma once

#include <wx/string.h>

class wxWindow;

namespace verselane {

// Opens the help window on its first page, "01_hajimeni.html", or brings it forward when it is
// open already. The window belongs to `parent` and closes with it. A missing or unreadable book
// shows nothing and reports nothing.
void ShowHelp(wxWindow* parent);

// Closes the help window when it is open.
void CloseHelp();

// Where wx's file systems find the built-in book ("memory:....htb"), for wxHtmlHelpData::AddBook;
// empty when the program holds no book. The first call publishes the book.
wxString HelpBookLocation();

}  // namespace verselane
