#include "records/mode_label.h"

#include "base/shift_jis.h"

namespace verselane {
namespace {

const std::string& ModeName(QuestionMode mode) {
  static const std::string kNormal = SjisLiteral("普通");
  static const std::string kReverse = SjisLiteral("逆順");
  static const std::string kPoet = SjisLiteral("詠人");
  switch (mode) {
    case QuestionMode::Reverse: return kReverse;
    case QuestionMode::Poet: return kPoet;
    default: return kNormal;
  }
}

}  // namespace

std::string ModeLabel(QuestionMode mode, bool acceptOmission) {
  std::string label = ModeName(mode);
  if (acceptOmission) label += '*';
  return label;
}

}  // namespace verselane
