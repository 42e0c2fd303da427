// What the game asks of the desktop, as narrow interfaces: the window layer implements them with
// the real controls, tests with small fakes. Texts crossing these seams are CP932 bytes.
//
// The other way round, the window layer calls GameController::Tick on every 50 ms timer tick,
// KeyLatch::Store with every character typed (in the answer line or the window), and
// CommandHandler::Dispatch with every menu or accelerator command.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/history_outlook.h"
#include "game/recitation.h"
#include "records/answer_history.h"
#include "settings/plan_settings.h"

namespace verselane {

struct GameFrame;
struct PoemCard;
struct Preferences;
struct RunFigures;

// The answer line the player types into, as judging reads it.
class AnswerBoxPort {
 public:
  virtual ~AnswerBoxPort() = default;
  // The whole text typed so far, as CP932 bytes.
  virtual std::string ReadText() = 0;
};

// The answer line as the game and the commands handle it: emptied and shown for each question,
// hidden on Enter and while paused. Typed characters reach the game through the KeyLatch.
class AnswerBoxControlPort : public AnswerBoxPort {
 public:
  virtual void Clear() = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() const = 0;
  // Gives the line the keyboard focus.
  virtual void Focus() = 0;
  // A grey text shown while the line is empty (CP932); empty for none.
  virtual void SetHint(const std::string& text) = 0;
  // On: the line turns romaji typed in ASCII into hiragana itself, and the input method stays
  // closed there. Off: typed text is taken as the input method commits it.
  virtual void SetRomajiInput(bool on) = 0;
};

// Wave sounds, played asynchronously; a new sound replaces the one playing.
enum class SoundId : int {
  kCorrect,
  kWrong,
  kRunFinished,
  kFavouriteHit,
  kFavouriteMissed,
};

class SoundPort {
 public:
  virtual ~SoundPort() = default;
  // A run is starting: its first sound is an answer away, so the device can be readied now
  // (the program holds no sound device while it only waits).
  virtual void Prepare() {}
  virtual void Play(SoundId sound) = 0;
};

// The reader's voice: recitations made ready in the background, then played on the sound
// device (whatever the sound-effects option says).
class VoicePort {
 public:
  virtual ~VoicePort() = default;
  // Whether the synthesiser and its voice are on this machine; without them the voice's options
  // are greyed.
  virtual bool Installed() = 0;
  // Makes `requests` ready in the background, in their order; replaces the list given before
  // (the recitations made so far stay ready) and forgets a failure reported before it.
  virtual void Prepare(std::vector<RecitationRequest> requests) = 0;
  // The recitation of `request` once made; nothing while it is still to come or when it failed.
  // Returns at once.
  virtual std::optional<Recitation> Ready(const RecitationRequest& request) = 0;
  // Starts `recitation` at once, cutting off whatever the voice still says.
  virtual void Play(const Recitation& recitation) = 0;
  virtual void Stop() = 0;
  // Whether making a recitation has failed since the last Prepare: the synthesiser is missing,
  // failed, hung or wrote garbage. Cheap, asked on every tick of a recited run.
  virtual bool Failed() = 0;
  // Tells the player that the voice failed; returns at once (the notice comes after the tick).
  virtual void ReportFailure() = 0;
};

// The input method of the main window.
class InputMethodPort {
 public:
  virtual ~InputMethodPort() = default;
  // Opens the input method when it is closed, so the player can type kana at once.
  virtual void RequestOpen() = 0;
  // Whether an input method that types Japanese answers: IBus offers an engine for Japanese, or
  // Fcitx an input method for it. It may ask the input method (briefly): the game asks when it
  // needs to know, at most once at a start.
  virtual bool OffersJapanese() = 0;
};

// The main window: its menu items, addressed by command id (see menu_state.h), and the window.
class MainWindowPort {
 public:
  virtual ~MainWindowPort() = default;
  // A greyed item, and its accelerator, produce no command.
  virtual void SetMenuItemEnabled(int command, bool enabled) = 0;
  // The check mark of a check item.
  virtual void SetMenuItemChecked(int command, bool checked) = 0;
  // The text of an item (CP932), with its "&" mnemonic.
  virtual void SetMenuItemLabel(int command, const std::string& label) = 0;
  // Shows the game screen at `percent` % of its size; the screen is drawn again by the caller.
  virtual void SetZoom(int percent) = 0;
  // Closes the window; the program then saves its settings and ends.
  virtual void Destroy() = 0;
};

// Questions to the player, in message boxes owned by the main window.
class PromptPort {
 public:
  virtual ~PromptPort() = default;
  // A Yes/No question with the question icon and No as the default button; true for Yes.
  virtual bool Confirm(const std::string& text, const std::string& caption) = 0;
};

// The modal dialogs and the help. Each may run a modal loop; timer ticks keep arriving meanwhile.
class DialogPort {
 public:
  virtual ~DialogPort() = default;
  // The results of the finished run `run`; `closed` is called as they close, with whether the
  // player chose the retry run.
  virtual void OpenResults(const RunFigures& run, std::function<void(bool retry)> closed) = 0;
  virtual void OpenSettings() = 0;
  virtual void OpenRecordList() = 0;
  // The mastery of the hundred poems and the scores of the runs, from `history`.
  virtual void OpenMastery(const HistoryOutlook& history) = 0;
  virtual void OpenAbout() = 0;
  virtual void ShowHelp() = 0;
  // The settings of the daily plan, changed in `settings` when the player chose OK; true then.
  virtual bool EditPlanSettings(PlanSettings& settings) = 0;
  // A poem met for the first time in a run, shown as `card` until the player closes it (Enter);
  // `closed` is called then. Returns at once: the game waits for `closed`.
  virtual void OpenMeeting(const PoemCard& card, std::function<void()> closed) = 0;
};

// The game screen.
class ScreenPort {
 public:
  virtual ~ScreenPort() = default;
  // Paints `frame` into the back buffer and presents it; false when a drawing step failed.
  virtual bool DrawFrame(const GameFrame& frame) = 0;
};

// Where the preferences are kept.
class PreferencesPort {
 public:
  virtual ~PreferencesPort() = default;
  // Keeps `preferences` for the next start; tells the player when they could not be kept.
  virtual void Save(const Preferences& preferences) = 0;
};

// What the memory model holds of each poem, as the daily plan reads it.
struct KeptMemory {
  std::vector<std::optional<MemoryState>> memory;  // by poem index, 0 to 99
  std::string localTime;  // now, "YYYY-MM-DD HH:MM:SS" on the player's clock
};

// The player's history of answers (history.sqlite3), apart from env.ini and record.dat. The game
// is given it when it is made; until the file is opened it keeps nothing and holds no answers.
class HistoryPort {
 public:
  virtual ~HistoryPort() = default;
  // One judged answer, stamped with the time. Returns at once: the timer tick never waits for
  // the disk.
  virtual void RecordAnswer(const AnswerRecord& answer) = 0;
  // A finished run, stamped with the time.
  virtual void RecordRun(const RunRecord& run) = 0;
  // Whether any answer is kept; cheap, asked whenever the menu changes.
  virtual bool HasAnswers() const = 0;
  // Everything kept so far, answers just recorded included, as the mastery window and the poem
  // card show it. Kept in memory and moved by each answer: nothing is read again.
  virtual HistoryOutlook Outlook() = 0;
  // The memory of each poem after every answer kept so far, answers just recorded included, kept
  // in memory and moved by each answer: cheap, read whenever the game comes back to Idle. Nothing
  // when no history is kept (it was never opened, is still being read, or could not be read or
  // written), so no answer of this session could be counted.
  virtual std::optional<KeptMemory> Memory() = 0;
  // Tells the player, once, that answers could no longer be kept; called outside the timer tick.
  virtual void ReportWriteFailure() = 0;
};

}  // namespace verselane
