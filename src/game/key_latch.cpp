#include "game/key_latch.h"

namespace verselane {

void KeyLatch::Store(int character) {
  character_ = character;
  pending_ = true;
}

int KeyLatch::Take() {
  if (!pending_) return 0;
  pending_ = false;
  return character_;
}

void KeyLatch::Clear() {
  character_ = 0;
  pending_ = false;
}

}  // namespace verselane
