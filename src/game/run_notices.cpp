#include "game/run_notices.h"

#include "game/command_handler.h"
#include "game/game_controller.h"

namespace verselane {

void RunNotices::ShowNotice(const std::string& text, const std::string& caption,
                            NoticeIcon icon) {
  const bool paused = game_.playState() == PlayState::Running;
  if (paused) commands_.Pause();
  shown_.ShowNotice(text, caption, icon);
  // Only the pause of this notice is taken back: a notice over the player's own pause, or over
  // the results, leaves the game as it was.
  if (paused && game_.playState() == PlayState::Paused) commands_.Start();
}

}  // namespace verselane
