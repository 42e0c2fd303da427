#include "ui/dialogs/gtk_controls.h"

#include <dlfcn.h>

#include <wx/choice.h>
#include <wx/textctrl.h>

namespace verselane {
namespace {

template <typename Function>
Function Find(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
}

// "notify::popup-shown" of the choice's GtkComboBox.
void OnPopupShown(void* comboBox, void* /*property*/, void* data) {
  using GetProperty = void (*)(void* object, const char* name, ...);
  const auto get = Find<GetProperty>("g_object_get");
  if (get == nullptr) return;
  int shown = 0;  // gboolean
  get(comboBox, "popup-shown", &shown, nullptr);
  auto* choice = static_cast<wxChoice*>(data);
  wxCommandEvent event(shown ? wxEVT_COMBOBOX_DROPDOWN : wxEVT_COMBOBOX_CLOSEUP, choice->GetId());
  event.SetEventObject(choice);
  choice->HandleWindowEvent(event);
}

}  // namespace

void PadMultiLineBox(wxTextCtrl* box) {
  using ChildOf = void* (*)(void* bin);
  using SetMargin = void (*)(void* view, int pixels);
  const auto childOf = Find<ChildOf>("gtk_bin_get_child");
  const auto left = Find<SetMargin>("gtk_text_view_set_left_margin");
  const auto right = Find<SetMargin>("gtk_text_view_set_right_margin");
  const auto top = Find<SetMargin>("gtk_text_view_set_top_margin");
  const auto bottom = Find<SetMargin>("gtk_text_view_set_bottom_margin");
  if (box->GetHandle() == nullptr || !childOf || !left || !right || !top || !bottom) return;
  void* view = childOf(box->GetHandle());  // the scrolled window holds the text view
  if (view == nullptr) return;
  left(view, kTextPaddingX);
  right(view, kTextPaddingX);
  top(view, kTextPaddingY);
  bottom(view, kTextPaddingY);
}

void ReportDropDowns(wxChoice* choice) {
  using Connect = unsigned long (*)(void* instance, const char* signal, void (*handler)(),
                                    void* data, void* destroyData, int flags);
  const auto connect = Find<Connect>("g_signal_connect_data");
  if (choice->GetHandle() == nullptr || connect == nullptr) return;
  connect(choice->GetHandle(), "notify::popup-shown", reinterpret_cast<void (*)()>(&OnPopupShown),
          choice, nullptr, 0);
}

}  // namespace verselane
