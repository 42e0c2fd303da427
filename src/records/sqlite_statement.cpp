#include "records/sqlite_statement.h"

#include "records/sqlite_library.h"

namespace verselane {

void SqliteStatement::Finalize() {
  if (statement_ != nullptr) sqlite_->finalize(statement_);
  statement_ = nullptr;
}

}  // namespace verselane
