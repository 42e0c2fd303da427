// The pictures the dialogs show, built into the program.
#pragma once

#include <wx/bitmap.h>

class wxWindow;

namespace verselane {

// A picture built into the program ("bitmap-141.png"); an invalid bitmap when there is none. For
// a window drawn at `scale` (the desktop's), the version drawn at that size where there is one,
// marked with its factor so that GTK shows it at the 1x size with all its pixels.
wxBitmap AssetBitmap(const char* name, double scale = 1.0);
// Frame `frame` (0 to 6) of the results' portrait strip: 45 × 45 pixels at 1x.
wxBitmap Portrait(int frame, double scale = 1.0);
// The scale a picture for `window` is drawn at: the desktop's times the program's zoom; 1 for
// none. The dialog builder shows such a picture at its 1x size times the zoom.
double ScaleOf(const wxWindow* window);

}  // namespace verselane
