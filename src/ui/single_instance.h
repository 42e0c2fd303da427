// One running copy per user: a lock held on a file (the system drops it when its holder ends, so
// a crash never leaves a copy locked out) and a local socket through which a second copy asks the
// first to bring its window to the front, handing over its activation token (one line).
#pragma once

#include <functional>
#include <memory>
#include <string>

class wxEventLoopSource;

namespace verselane {

// $XDG_RUNTIME_DIR, which is the user's own; /tmp when it is not set.
std::string DefaultLockFolder();

class SingleInstance {
 public:
  // `name` names the lock ("Marrowfen"); in a folder shared by all users (/tmp) the user id is
  // added, so that each user may run one copy.
  SingleInstance(std::string folder, std::string name);
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  ~SingleInstance();

  // True when no other copy runs; this copy then holds the lock. Otherwise the running copy is
  // asked to come forward, given `activationToken` (if usable), and false is returned.
  bool Check(const std::string& activationToken = {});
  // Calls `bringForward` with the token another copy sent (empty: none, or none usable) whenever
  // one asks, from the event loop. A request is read as it arrives, never waited for: one that
  // stays silent is served without a token after `requestTimeoutMs`.
  using BringForward = std::function<void(const std::string& activationToken)>;
  void Listen(BringForward bringForward, int requestTimeoutMs = 2000);
  // Gives the lock up.
  void Release();

  const std::string& lockPath() const { return lockPath_; }
  const std::string& socketPath() const { return socketPath_; }

 private:
  class Requests;
  void AskRunningCopy(const std::string& activationToken) const;

  std::string lockPath_;
  std::string socketPath_;
  int lock_ = -1;
  std::unique_ptr<Requests> requests_;
  int listener_ = -1;
  wxEventLoopSource* source_ = nullptr;
};

}  // namespace verselane
