// The notices as a running game meets them. One that arises while a run goes (the voice failed,
// the preferences could not be kept, a drawing step failed) is shown with the game paused, as
// the player's Pause leaves it, so that no question is revealed and no time bar runs down behind
// it; the run goes on as it closes. Other notices are shown as they come.
#pragma once

#include <string>

#include "base/file_ports.h"

namespace verselane {

class CommandHandler;
class GameController;

class RunNotices : public NoticePort {
 public:
  // Shows the notices in `shown`, pausing and resuming `game` through `commands`. Only kept here:
  // the three may be made in any order.
  RunNotices(NoticePort& shown, const GameController& game, CommandHandler& commands)
      : shown_(shown), game_(game), commands_(commands) {}

  void ShowNotice(const std::string& text, const std::string& caption, NoticeIcon icon) override;

 private:
  NoticePort& shown_;
  const GameController& game_;
  CommandHandler& commands_;
};

}  // namespace verselane
