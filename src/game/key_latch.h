// The one-slot latch through which typed characters reach the game.
#pragma once

namespace verselane {

inline constexpr int kEnterKey = 13;

// Holds the last character typed; a newer one overwrites an older one not yet taken. The game
// takes it once at the start of a tick and clears it at the end, so only the last key of a tick
// counts and a key the current phase does not want is dropped.
class KeyLatch {
 public:
  void Store(int character);
  // The stored character, once; 0 when none is pending.
  int Take();
  void Clear();

 private:
  int character_ = 0;
  bool pending_ = false;
};

}  // namespace verselane
