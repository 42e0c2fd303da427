#include "ui/dialogs/dialog_table.h"

#include <utility>

namespace verselane {

void DialogTable::Fill(std::vector<int> templateIds, std::vector<Procedure> procedures) {
  templateIds_ = std::move(templateIds);
  procedures_ = std::move(procedures);
  procedures_.resize(templateIds_.size());
}

void DialogTable::Open(int slot, wxWindow* parent) {
  if (slot < 0 || slot >= count() || !procedures_[slot]) return;
  procedures_[slot](parent != nullptr ? parent : owner_);
}

int DialogTable::TemplateId(int slot) const {
  return slot >= 0 && slot < count() ? templateIds_[slot] : 0;
}

}  // namespace verselane
