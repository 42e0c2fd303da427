// Things the desktop needs that wxWidgets 3.2 cannot ask of GTK through its own API. The GTK
// functions are those of the GTK library wx has already loaded, looked up at run time, so the
// build needs no GTK development files; where one is missing the step is left out.
#pragma once

#include <string>

class wxTextCtrl;
class wxTopLevelWindow;

namespace verselane {

// The answer line as a plain white strip that sits flush in the panel drawn under it: no frame,
// no focus ring, no inner padding (the theme's would show as a blue box around the line).
bool MakeEntryFlat(wxTextCtrl* control);

// Lets the input method into `control` (on), or keeps it out so every key arrives as it is typed
// (off), whatever input method the desktop runs.
bool AllowInputMethod(wxTextCtrl* control, bool allowed);

// Shows the text of `control` in the colour red, green, blue (each 0 to 255), or, with `tinted`
// false, in the entry's own colour again. A Pango attribute of the text: wx's foreground colour
// restyles the entry through CSS instead, its font resolved and its text laid out anew, which
// held the first key after the hint back by milliseconds.
bool TintEntryText(wxTextCtrl* control, bool tinted, int red, int green, int blue);

// Has fontconfig read its configuration on a thread of its own from now on (Pango does that
// when its font map is first made): the first font the program asks for waits until it is done,
// some 25 ms, and meanwhile the program can read its files and build its window.
void StartFontSetUp();

// Makes the toolkit's side of `control` now, its input method context included, rather than when
// it is first shown: an input method such as Fcitx 5 learns that the field has the focus only
// once that context is made, and asked to open it before, it opens another.
void RealizeEntry(wxTextCtrl* control);

// Raises `window` and gives it the keyboard focus now, as the player's click on it would, on
// behalf of a program started with `activationToken` (empty: none).
// On X11, wx's Raise() presents the window with the time of this program's last input event,
// which the X server ignores when another program has had the focus since: the window is
// focused with the server's current time instead, and the token ends the launcher's startup
// notification. A Wayland compositor moves the focus only for a token it issued, and the token
// of the copy the player just started is such a one.
void ActivateWindow(wxTopLevelWindow* window, const std::string& activationToken);

// On a Wayland display, has every window the program shows from now on carry `appId` (which
// must outlive the program's windows) as its app_id, the name a dock or GNOME Shell matches it
// to the desktop file by; GTK would send the program's name. X11 and its WM_CLASS are left as
// they are.
void NameWindowsOnWayland(const char* appId);

// Whether the program's display lets a window be drawn on at any time (X11), rather than only
// when the toolkit paints it (Wayland, where GTK draws each window in its frame cycle).
bool DrawsOutsidePaint();

}  // namespace verselane
