// One running copy per user: a lock held on a file (the system drops it when its holder ends, so
// a crash never leaves a copy locked out) and a local socket through which a second copy asks the
// first to bring its window to the front, handing over its activation token (one line).
//
// Both live in a folder of the user's own, made 0700 when missing and checked before use: a
// directory (not a symbolic link), owned by this user, that nobody else may enter. Everything in
// it is then this user's, so nobody else can hold the lock or answer on the socket in its place.
// When the check fails the program runs without the guard, and says so on stderr, rather than
// trust a folder someone else may have laid out. Peers are trusted only when the kernel says they
// are this user (root can still reach the folder): the first copy ignores requests from anyone
// else, and a second copy that finds someone else answering starts as if no copy ran, without
// touching the lock or the socket it found.
#pragma once

#include <functional>
#include <memory>
#include <string>

class wxEventLoopSource;

namespace verselane {

// $XDG_RUNTIME_DIR/verselane (the runtime folder is the user's own, by the XDG rules); without
// XDG_RUNTIME_DIR, /tmp/verselane-UID. Never a place shared with other users.
std::string DefaultLockFolder();

class SingleInstance {
 public:
  // `folder` is the folder of our own (DefaultLockFolder()), made when missing; `name` names the
  // lock and the socket in it ("Marrowfen").
  SingleInstance(std::string folder, std::string name);
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  ~SingleInstance();

  // True when this copy is to run: no other copy of this user runs (this copy then holds the
  // lock), or the guard cannot be trusted here (told on stderr; no lock is held). Otherwise the
  // running copy is asked to come forward, given `activationToken` (if usable), and false is
  // returned.
  bool Check(const std::string& activationToken = {});
  // Calls `bringForward` with the token another copy of this user sent (empty: none, or none
  // usable) whenever one asks, from the event loop. A request is read as it arrives, never waited
  // for: one that stays silent is served without a token after `requestTimeoutMs`. Only the lock
  // holder listens.
  using BringForward = std::function<void(const std::string& activationToken)>;
  void Listen(BringForward bringForward, int requestTimeoutMs = 2000);
  // Gives the lock up.
  void Release();

  const std::string& lockPath() const { return lockPath_; }
  const std::string& socketPath() const { return socketPath_; }

 private:
  class Requests;
  enum class Reply { kAsked, kNoAnswer, kOtherUser };
  bool OpenFolder();
  bool OpenLockFile(int& file) const;
  Reply AskRunningCopy(const std::string& activationToken) const;
  void CloseFolder();

  std::string folderPath_;
  std::string lockName_;
  std::string socketName_;
  std::string lockPath_;
  std::string socketPath_;
  int folder_ = -1;
  int lock_ = -1;
  std::unique_ptr<Requests> requests_;
  int listener_ = -1;
  wxEventLoopSource* source_ = nullptr;
};

}  // namespace verselane
