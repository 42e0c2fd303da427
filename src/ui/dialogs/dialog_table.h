// A DialogTable opens modal dialogs by slot: each slot holds a template id and the procedure that
// runs that dialog. The game keeps one for the
// results (140), About (149), record list (152) and rank-in (154) dialogs, the settings one for
// the settings (145) and favourite poem (146) dialogs.
#pragma once

#include <functional>
#include <vector>

class wxWindow;

namespace verselane {

class DialogTable {
 public:
  // Runs a dialog modally over `parent`; the dialog carries out what the player chose itself.
  using Procedure = std::function<void(wxWindow* parent)>;

  // `owner` is the window the dialogs are opened over when no other is named.
  void SetOwner(wxWindow* owner) { owner_ = owner; }
  wxWindow* owner() const { return owner_; }

  void Fill(std::vector<int> templateIds, std::vector<Procedure> procedures);

  // Runs the dialog of `slot` over `parent` (the owner when null). A slot outside the table does
  // nothing.
  void Open(int slot, wxWindow* parent = nullptr);

  int TemplateId(int slot) const;
  int count() const { return static_cast<int>(templateIds_.size()); }

 private:
  wxWindow* owner_ = nullptr;
  std::vector<int> templateIds_;
  std::vector<Procedure> procedures_;
};

}  // namespace verselane
