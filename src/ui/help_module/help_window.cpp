// The help window, built as a module of its own that the program loads when the player first
// asks for help: wx's HTML library, which only this window uses, then stays out of the memory
// of a program that is never asked.
#include <wx/html/helpctrl.h>
#include <wx/html/helpfrm.h>
#include <wx/html/helpwnd.h>
#include <wx/html/htmlcell.h>
#include <wx/html/m_templ.h>
#include <wx/display.h>
#include <wx/listbox.h>
#include <wx/log.h>
#include <wx/settings.h>
#include <wx/splitter.h>
#include <wx/treectrl.h>
#include <wx/window.h>

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>

#include "ui/help_module/help_entry.h"

namespace verselane {

// A place where a line may break, drawing nothing: the <wbr> that tools/make-help.py puts where
// a page's source broke a line beside Japanese text. wx's HTML breaks lines only at spaces, and
// Japanese text has none.
class LineBreakCell : public wxHtmlCell {
 public:
  bool IsLinebreakAllowed() const override { return true; }
};

}  // namespace verselane

TAG_HANDLER_BEGIN(VerselaneWordBreak, "WBR")
TAG_HANDLER_PROC(WXUNUSED(tag)) {
  m_WParser->GetContainer()->InsertCell(new verselane::LineBreakCell);
  return false;
}
TAG_HANDLER_END(VerselaneWordBreak)

TAGS_MODULE_BEGIN(VerselaneHelpTags)
TAGS_MODULE_ADD(VerselaneWordBreak)
TAGS_MODULE_END(VerselaneHelpTags)

namespace verselane {
namespace {

constexpr const char* kFirstPage = "01_hajimeni.html";
const wxSize kHelpWindowSize(820, 600);

// A list box that GTK first lays out smaller than its scroll bars complains with a
// Gtk-CRITICAL (gtk_box_gadget_distribute ... GtkScrollbar) from then on: the index and the
// search results start out in notebook pages of 20 × 20 pixels, so they get a size that holds
// both bars before the window shows. Its sizer gives each its real size once shown.
const wxSize kListBoxStartSize(200, 100);

void GiveListBoxesRoomForScrollBars(wxWindow* window) {
  if (auto* list = dynamic_cast<wxListBox*>(window)) {
    wxSize size = list->GetSize();
    size.IncTo(kListBoxStartSize);
    list->SetSize(size);
  }
  for (wxWindow* child : window->GetChildren()) GiveListBoxesRoomForScrollBars(child);
}

// The window's controls and pages at `zoom`: every font grows from the desktop's own by it.
void ZoomHelpFonts(wxWindow* window, double zoom) {
  const wxFont desktop = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  if (auto* page = dynamic_cast<wxHtmlWindow*>(window)) {
    page->SetStandardFonts(static_cast<int>(std::lround(desktop.GetPointSize() * zoom)));
  }
  window->SetFont(desktop.Scaled(static_cast<float>(zoom)));
  // A button or check box keeps the size it was made at until the sizer of its page lays it out,
  // and GTK complains of one smaller than its text: it grows with its font at once.
  if (dynamic_cast<wxControl*>(window) != nullptr && dynamic_cast<wxListBox*>(window) == nullptr &&
      dynamic_cast<wxTreeCtrl*>(window) == nullptr) {
    wxSize size = window->GetSize();
    size.IncTo(window->GetBestSize());
    window->SetSize(size);
  }
  for (wxWindow* child : window->GetChildren()) ZoomHelpFonts(child, zoom);
}

// The help window as the program wants it from its start: at the zoom, with list boxes that
// GTK can lay out. Made before the controller shows it.
class HelpController : public wxHtmlHelpController {
 public:
  HelpController(wxWindow* parent, double zoom)
      : wxHtmlHelpController(wxHF_DEFAULT_STYLE, parent), zoom_(zoom) {}

  // The window open already follows a zoom changed since.
  void Zoom(double zoom) {
    if (zoom == zoom_) return;
    zoom_ = zoom;
    if (wxHtmlHelpFrame* frame = GetFrame()) {
      ZoomHelpFonts(frame, zoom_);
      frame->Layout();
    }
  }

 protected:
  wxHtmlHelpFrame* CreateHelpFrame(wxHtmlHelpData* data) override {
    wxHtmlHelpFrame* frame = wxHtmlHelpController::CreateHelpFrame(data);
    GiveListBoxesRoomForScrollBars(frame);
    ZoomHelpFonts(frame, zoom_);
    // As large as the zoom asks, within the screen.
    const wxRect screen = wxDisplay(frame).GetClientArea();
    wxSize size(static_cast<int>(std::lround(kHelpWindowSize.x * zoom_)),
                static_cast<int>(std::lround(kHelpWindowSize.y * zoom_)));
    size.DecTo(screen.GetSize());
    frame->SetSize(size);
    return frame;
  }

 private:
  double zoom_;
};

// The one help controller of the program; it lives as long as the window it was opened for.
HelpController* g_help = nullptr;
wxWindow* g_helpOwner = nullptr;

// Closes the help window and lets go of the controller; the window is told first, so that it
// does not call back into a controller that is gone.
void ForgetHelp() {
  if (wxHtmlHelpFrame* frame = g_help->GetFrame()) frame->SetController(nullptr);
  if (wxHtmlHelpWindow* window = g_help->GetHelpWindow()) window->SetController(nullptr);
  g_help->Quit();
  delete g_help;
  g_help = nullptr;
  g_helpOwner = nullptr;
}

// The contents open, and wide enough for every title; Esc closes the window, as it closes the
// program's dialogs.
void SetUpHelpFrame(wxHtmlHelpFrame* frame) {
  frame->Bind(wxEVT_CHAR_HOOK, [frame](wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE && !event.HasAnyModifiers()) {
      frame->Close();
      return;
    }
    event.Skip();
  });
  wxHtmlHelpWindow* window = frame->GetHelpWindow();
  wxTreeCtrl* tree = window != nullptr ? window->GetTreeCtrl() : nullptr;
  wxSplitterWindow* splitter = window != nullptr ? window->GetSplitterWindow() : nullptr;
  if (tree == nullptr || splitter == nullptr) return;
  tree->ExpandAll();
  int right = 0;
  wxTreeItemIdValue cookie;
  std::vector<wxTreeItemId> items{tree->GetRootItem()};
  while (!items.empty()) {
    const wxTreeItemId item = items.back();
    items.pop_back();
    if (!item.IsOk()) continue;
    wxRect text;
    if (tree->GetBoundingRect(item, text, true)) right = std::max(right, text.GetRight());
    for (wxTreeItemId child = tree->GetFirstChild(item, cookie); child.IsOk();
         child = tree->GetNextChild(item, cookie)) {
      items.push_back(child);
    }
  }
  // The tree's own left edge within the panel, and room for its frame and a scroll bar.
  const int needed = tree->GetPosition().x + right + 2 * tree->GetCharWidth() +
                     wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, tree);
  if (splitter->GetSashPosition() < needed) splitter->SetSashPosition(needed);
}

void ShowHelp(wxWindow* parent, const wxString& book, double zoom) {
  // A damaged book must stay silent: wx reports unreadable files through its log.
  wxLogNull quiet;
  if (g_help == nullptr) {
    auto* help = new HelpController(parent, zoom);
    help->SetTitleFormat(wxString::FromUTF8(" Verselane ヘルプ - %s"));
    if (!help->AddBook(book)) {
      delete help;
      return;
    }
    g_help = help;
    g_helpOwner = parent;
    if (parent != nullptr) {
      parent->Bind(wxEVT_DESTROY, [parent](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == parent && g_helpOwner == parent) ForgetHelp();
        event.Skip();
      });
    }
  }
  const bool opening = g_help->GetFrame() == nullptr;
  g_help->Zoom(zoom);
  g_help->Display(kFirstPage);
  if (opening) {
    if (wxHtmlHelpFrame* frame = g_help->GetFrame()) {
      frame->CentreOnScreen();
      SetUpHelpFrame(frame);
    }
  }
}

void CloseHelp() {
  if (g_help != nullptr) g_help->Quit();
}

}  // namespace
}  // namespace verselane

// The module's only exported names; both are checked against the types in help_entry.h.
extern "C" __attribute__((visibility("default"))) void verselane_help_show(
    wxWindow* parent, const char* bookLocation, double zoom) {
  verselane::ShowHelp(parent, wxString::FromUTF8(bookLocation), zoom);
}

extern "C" __attribute__((visibility("default"))) void verselane_help_close() {
  verselane::CloseHelp();
}

static_assert(std::is_same_v<decltype(&verselane_help_show), verselane::ShowHelpEntry>);
static_assert(std::is_same_v<decltype(&verselane_help_close), verselane::CloseHelpEntry>);
