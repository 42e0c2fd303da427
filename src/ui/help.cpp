#include "ui/help.h"

#include <wx/dynload.h>
#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/fs_mem.h>
#include <wx/image.h>
#include <wx/stdpaths.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "ui/assets.h"
#include "ui/help_module/help_entry.h"
#include "ui/zoomed_window.h"

#ifndef VERSELANE_HELP_MODULE_DIR
#define VERSELANE_HELP_MODULE_DIR "../lib/verselane"
#endif

namespace verselane {
namespace {

constexpr const char* kBookAsset = "help/verselane.htb";
// The book's name in wx's in-memory file system, where the help window reads it from.
constexpr const char* kBookFile = "verselane-help.htb";
constexpr const char* kFirstPage = "01_hajimeni.html";

struct HelpModule {
  wxString path;
  ShowHelpEntry show = nullptr;
  CloseHelpEntry close = nullptr;
};

// Beside the program as built, then where installing puts it (VERSELANE_HELP_MODULE_DIR is
// relative to the program's folder).
std::vector<wxString> HelpModulePlaces() {
  const wxFileName program(wxStandardPaths::Get().GetExecutablePath());
  const wxString folder = program.GetPath();
  return {wxFileName(folder, kHelpModuleFile).GetFullPath(),
          wxFileName(folder + "/" + VERSELANE_HELP_MODULE_DIR, kHelpModuleFile).GetFullPath()};
}

// Empty until help is first asked for; holds no entry points when loading failed.
std::optional<HelpModule> g_helpModule;

// Loaded through wx's plug-in manager, which starts the wx modules of the libraries it brings in
// (the HTML library's tag handlers, the window's own), as wx starts those linked with the
// program. A module that cannot be found or loaded is told once on the error output, with the
// places looked in, and the help stays closed.
HelpModule* LoadHelpModule() {
  if (g_helpModule) return g_helpModule->show != nullptr ? &*g_helpModule : nullptr;
  g_helpModule.emplace();
  const std::vector<wxString> places = HelpModulePlaces();
  for (const wxString& place : places) {
    if (!wxFileName::FileExists(place)) continue;
    wxPluginLibrary* library =
        wxPluginManager::LoadLibrary(place, wxDL_NOW | wxDL_VERBATIM | wxDL_QUIET);
    if (library == nullptr) continue;
    bool found = false;  // asked for, so that wx logs no error box of its own
    auto show = reinterpret_cast<ShowHelpEntry>(library->GetSymbol(kShowHelpEntry, &found));
    auto close = reinterpret_cast<CloseHelpEntry>(library->GetSymbol(kCloseHelpEntry, &found));
    if (show != nullptr && close != nullptr) {
      *g_helpModule = HelpModule{place, show, close};
      return &*g_helpModule;
    }
    wxPluginManager::UnloadLibrary(place);
  }
  std::fprintf(stderr,
               "verselane: the help cannot be shown: %s could not be loaded from %s or %s\n",
               kHelpModuleFile, places[0].utf8_str().data(), places[1].utf8_str().data());
  return nullptr;
}

}  // namespace

wxString HelpBookLocation() {
  static bool published = false;
  const wxString location = "memory:" + wxString(kBookFile);
  if (published) return location;
  std::optional<AssetData> book = FindAsset(kBookAsset);
  if (!book || book->size == 0) return wxString();
  if (!wxFileSystem::HasHandlerForPath(location)) wxFileSystem::AddHandler(new wxMemoryFSHandler);
  if (!wxFileSystem::HasHandlerForPath(location + "#zip:" + kFirstPage)) {
    wxFileSystem::AddHandler(new wxArchiveFSHandler);
  }
  // The pages show a picture of the game screen.
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxMemoryFSHandler::AddFileWithMimeType(kBookFile, book->data, book->size, "application/zip");
  published = true;
  return location;
}

void ShowHelp(wxWindow* parent) {
  const wxString book = HelpBookLocation();
  if (book.empty()) return;
  HelpModule* module = LoadHelpModule();
  if (module == nullptr) return;
  module->show(parent, book.utf8_str(), ZoomOf(parent));
}

// Never loads the module only to close a window it has not opened.
void CloseHelp() {
  if (g_helpModule && g_helpModule->close != nullptr) g_helpModule->close();
}

void UnloadHelp() {
  if (g_helpModule && g_helpModule->show != nullptr) {
    wxPluginManager::UnloadLibrary(g_helpModule->path);
  }
  g_helpModule.reset();
}

}  // namespace verselane
