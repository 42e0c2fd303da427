#include "ui/main_frame.h"

namespace verselane {

namespace {

// Captions begin with one blank, like every caption of the program.
constexpr const char* kTitle = " Verselane";

// A fixed window: it can be moved, minimised and closed, never resized or maximised.
constexpr long kFrameStyle = wxDEFAULT_FRAME_STYLE & ~(wxRESIZE_BORDER | wxMAXIMIZE_BOX);

}  // namespace

MainFrame::MainFrame() : wxFrame(nullptr, wxID_ANY, wxString::FromUTF8(kTitle), wxDefaultPosition,
                                 wxDefaultSize, kFrameStyle) {
  SetClientSize(kClientWidth, kClientHeight);
  // Some window managers still offer a resize handle; pinning min and max keeps the size.
  const wxSize size = GetSize();
  SetMinSize(size);
  SetMaxSize(size);
  Centre();
}

}  // namespace verselane
