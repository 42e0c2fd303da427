// verselane.conf, the one file players edit by hand: the preferences env.ini has no place for,
// as a key file (settings/key_file.h) of which a save changes only the keys of this program.
//
// Whatever is at its path, loading never blocks or crashes and nothing of the player's is lost:
// - a file it cannot use (a folder, a FIFO, a device, a file over kPreferencesFileLimit, one it
//   may not read) is left as it is, and the preferences are kept for the session only;
// - a broken file (a line that is no key-file line, a value this program does not know) is set
//   aside under a name not yet taken (verselane.conf.broken, then .broken-2 ...), never over an
//   earlier one; when it cannot be set aside it too is left as it is, for the session only.
// A symbolic link (a dotfiles repository) is followed: its target is read, set aside and
// replaced, and the link stays.
#pragma once

#include <cstddef>
#include <string>

#include "base/file_status.h"
#include "base/file_system.h"
#include "settings/key_file.h"
#include "settings/preferences.h"

namespace verselane {

// A preferences file is a few lines; a larger file is not one the player wrote for us.
inline constexpr std::size_t kPreferencesFileLimit = 64 * 1024;

// $XDG_CONFIG_HOME/verselane/verselane.conf, or .config/verselane/verselane.conf in the home
// folder when XDG_CONFIG_HOME is unset or not absolute. The home folder is $HOME, or, when that
// is unset or not absolute, `accountHome` (the password database's). Empty when there is no home
// either: no file is kept. The pointers may be null.
std::string PreferencesPath(const char* xdgConfigHome, const char* home, const char* accountHome);
// PreferencesPath for this process: its environment and its user's entry in the password database.
std::string PreferencesPathOfThisProcess();

class PreferencesFile {
 public:
  // An empty `path`: the preferences are kept for the session only.
  explicit PreferencesFile(std::string path, FileSystem& files = SystemFileSystem())
      : path_(std::move(path)), files_(files) {}

  // Takes the keys the file gives into `preferences` (the others, and all of them when the file
  // is missing or cannot be used, stay as they are). Not found for a missing file, corrupt for a
  // broken one (see setAsideAs), not a regular file, too large, or an I/O error for one that
  // cannot be used.
  [[nodiscard]] FileStatus Load(Preferences& preferences);
  // Writes `preferences` into the file, keeping what else it held: all at once, through a
  // temporary file beside it. A file left as it was by Load is not written (and the status is
  // that of a save with nothing to write).
  [[nodiscard]] FileStatus Save(const Preferences& preferences);
  // Takes the keys the file gives into `preferences` as Load does, but leaves the file and the
  // folder as they are whatever it finds (a look from the command line, also beside a running
  // copy): a broken file is corrupt, and `preferences` stay as they were then.
  [[nodiscard]] FileStatus Peek(Preferences& preferences) const;

  const std::string& path() const { return path_; }
  // After a Load that found the file broken: the name it was set aside under, as a notice shows
  // it (its name alone when beside verselane.conf); empty when it could not be set aside.
  const std::string& setAsideAs() const { return setAsideAs_; }

 private:
  std::string path_;
  FileSystem& files_;
  KeyFile kept_;          // what the file held, for a save to keep
  bool writable_ = true;  // false: the file at path_ is not to be replaced
  std::string setAsideAs_;
};

}  // namespace verselane
