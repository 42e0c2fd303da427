// The short name of how a run was played, stored with a record and printed in a result file.
#pragma once

#include <string>

#include "settings/types.h"

namespace verselane {

// "普通", "逆順" or "詠人" (CP932), with "*" appended when answers stopping after the kimariji
// were accepted.
std::string ModeLabel(QuestionMode mode, bool acceptOmission);

}  // namespace verselane
