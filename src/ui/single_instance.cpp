#include "ui/single_instance.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <wx/evtloop.h>
#include <wx/evtloopsrc.h>
#include <wx/timer.h>

#include "ui/activation_token.h"

namespace verselane {
namespace {

// The socket's address: its path, or where that is too long for an address, the same file reached
// through the folder this copy holds open, /proc/self/fd/N/NAME, which is short whatever the
// folder. Never a name in the abstract namespace: such a socket has no owner and no permissions,
// so any user could connect to it.
struct SocketAddress {
  SocketAddress(const std::string& folderPath, int folder, const std::string& name) {
    address.sun_family = AF_UNIX;
    std::string path = folderPath + "/" + name;
    if (path.size() >= sizeof address.sun_path) {
      path = "/proc/self/fd/" + std::to_string(folder) + "/" + name;
    }
    usable = path.size() < sizeof address.sun_path;
    if (!usable) return;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
  }
  const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&address); }

  sockaddr_un address{};
  socklen_t size = 0;
  bool usable = false;
};

// Whether the process at the other end is this user, as the kernel saw it when it connected (or,
// for a listener, when it began listening).
bool PeerIsThisUser(int connection) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
         size == sizeof peer && peer.uid == geteuid();
}

void SayRunningUnguarded(const std::string& why) {
  std::fprintf(stderr, "verselane: %s; running without the check for another copy\n",
               why.c_str());
  std::fflush(stderr);
}

}  // namespace

std::string DefaultLockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') return std::string(runtime) + "/verselane";
  return "/tmp/verselane-" + std::to_string(geteuid());
}

namespace {

// One second copy's request, read as its bytes come in: the GTK main loop (which runs the game)
// is never held up by a copy that writes slowly, in pieces or not at all.
class PendingRequest : public wxEventLoopSourceHandler {
 public:
  using Finished = std::function<void(PendingRequest&)>;
  PendingRequest(int connection, std::chrono::steady_clock::time_point deadline, Finished finished)
      : connection_(connection), deadline_(deadline), finished_(std::move(finished)) {
    source_ = wxEventLoopBase::AddSourceForFD(connection_, this, wxEVENT_SOURCE_INPUT);
  }
  PendingRequest(const PendingRequest&) = delete;
  PendingRequest& operator=(const PendingRequest&) = delete;
  ~PendingRequest() override { Stop(); }

  void OnReadWaiting() override {
    if (done()) return;
    char bytes[256];
    const ssize_t count = read(connection_, bytes, sizeof bytes);
    if (count > 0) {
      line_.Add(std::string_view(bytes, static_cast<std::size_t>(count)));
    } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
      line_.End();
    }
    if (line_.state() != TokenLine::State::kReading) Finish();
  }
  void OnWriteWaiting() override {}
  void OnExceptionWaiting() override {
    if (!done()) Finish();
  }

  // A copy that has not finished its line by the deadline is served without a token.
  void ExpireAt(std::chrono::steady_clock::time_point now) {
    if (!done() && now >= deadline_) Finish();
  }
  bool done() const { return connection_ < 0; }
  std::string token() const { return line_.token(); }

 private:
  // Stops watching and closes at once; the object itself goes later, outside its own callback.
  void Finish() {
    Stop();
    finished_(*this);
  }
  void Stop() {
    delete source_;
    source_ = nullptr;
    if (connection_ >= 0) close(connection_);
    connection_ = -1;
  }

  int connection_;
  std::chrono::steady_clock::time_point deadline_;
  Finished finished_;
  wxEventLoopSource* source_ = nullptr;
  TokenLine line_;
};

}  // namespace

// Accepts each connection and reads its request alongside the others; each finished request
// brings the window forward with the token it carried.
class SingleInstance::Requests : public wxEventLoopSourceHandler, private wxTimer {
 public:
  Requests(int listener, BringForward bringForward, int timeoutMs)
      : listener_(listener), bringForward_(std::move(bringForward)), timeout_(timeoutMs) {}

  void OnReadWaiting() override {
    const int connection = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) return;
    // Only a copy of this user may bring the window forward or hand it a token.
    if (!PeerIsThisUser(connection)) {
      close(connection);
      return;
    }
    RemoveFinished();
    // More copies at once than anyone starts by hand: the surplus is not read.
    if (pending_.size() >= kMaxPending) {
      close(connection);
      return;
    }
    pending_.push_back(std::make_unique<PendingRequest>(
        connection, std::chrono::steady_clock::now() + timeout_,
        [this](PendingRequest& request) {
          if (bringForward_) bringForward_(request.token());
        }));
    if (!IsRunning()) Start(kCheckPeriodMs);
  }
  void OnWriteWaiting() override {}
  void OnExceptionWaiting() override {}

 private:
  static constexpr std::size_t kMaxPending = 8;
  static constexpr int kCheckPeriodMs = 100;

  void Notify() override {
    const auto now = std::chrono::steady_clock::now();
    for (const auto& request : pending_) request->ExpireAt(now);
    RemoveFinished();
    if (pending_.empty()) Stop();
  }
  void RemoveFinished() {
    std::erase_if(pending_, [](const auto& request) { return request->done(); });
  }

  int listener_;
  BringForward bringForward_;
  std::chrono::milliseconds timeout_;
  std::vector<std::unique_ptr<PendingRequest>> pending_;
};

SingleInstance::SingleInstance(std::string folder, std::string name)
    : folderPath_(std::move(folder)),
      lockName_(name + ".lock"),
      socketName_(name + ".socket"),
      lockPath_(folderPath_ + "/" + lockName_),
      socketPath_(folderPath_ + "/" + socketName_) {}

SingleInstance::~SingleInstance() { Release(); }

bool SingleInstance::Check(const std::string& activationToken) {
  if (lock_ >= 0) return true;
  int file = -1;
  if (!OpenFolder() || !OpenLockFile(file)) {
    CloseFolder();
    return true;
  }
  if (flock(file, LOCK_EX | LOCK_NB) == 0) {
    lock_ = file;
    return true;
  }
  const int error = errno;
  close(file);
  bool runs = true;
  if (error != EWOULDBLOCK) {
    SayRunningUnguarded(lockPath_ + " cannot be locked (" + std::strerror(error) + ")");
  } else if (const Reply reply = AskRunningCopy(activationToken); reply == Reply::kOtherUser) {
    // Someone else answers where our copy would: as if no copy ran, and their lock and socket
    // stay as they are.
    SayRunningUnguarded("another user answers on " + socketPath_);
  } else {
    runs = false;
  }
  CloseFolder();
  return runs;
}

bool SingleInstance::OpenFolder() {
  if (mkdir(folderPath_.c_str(), 0700) != 0 && errno != EEXIST) {
    SayRunningUnguarded(folderPath_ + " cannot be made (" + std::strerror(errno) + ")");
    return false;
  }
  folder_ = open(folderPath_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat status {};
  if (folder_ < 0 || fstat(folder_, &status) != 0 || status.st_uid != geteuid() ||
      (status.st_mode & 077) != 0) {
    SayRunningUnguarded(folderPath_ +
                        " is not a folder of this user's own that nobody else may enter");
    return false;
  }
  return true;
}

// The lock file, opened without following a link: a plain file of this user's.
bool SingleInstance::OpenLockFile(int& file) const {
  file = openat(folder_, lockName_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  struct stat status {};
  if (file >= 0 && fstat(file, &status) == 0 && S_ISREG(status.st_mode) &&
      status.st_uid == geteuid()) {
    return true;
  }
  if (file < 0) {
    SayRunningUnguarded(lockPath_ + " cannot be opened (" + std::strerror(errno) + ")");
    return false;
  }
  close(file);
  file = -1;
  SayRunningUnguarded(lockPath_ + " is not a file of this user's own");
  return false;
}

// The request is one line: the token, or nothing when this copy has none. A running copy that
// hangs (its queue of connections full, or not reading) holds this one up for the time-out at
// most, which bounds the connection as well as the sending.
SingleInstance::Reply SingleInstance::AskRunningCopy(const std::string& activationToken) const {
  const SocketAddress address(folderPath_, folder_, socketName_);
  const int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connection < 0 || !address.usable) {
    if (connection >= 0) close(connection);
    return Reply::kNoAnswer;
  }
  const timeval limit{2, 0};
  setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  Reply reply = Reply::kNoAnswer;
  if (connect(connection, address.get(), address.size) == 0) {
    reply = PeerIsThisUser(connection) ? Reply::kAsked : Reply::kOtherUser;
  }
  if (reply == Reply::kAsked) {
    const std::string request =
        (IsUsableActivationToken(activationToken) ? activationToken : std::string()) + "\n";
    [[maybe_unused]] const ssize_t sent = send(connection, request.data(), request.size(),
                                               MSG_NOSIGNAL);
  }
  close(connection);
  return reply;
}

void SingleInstance::Listen(BringForward bringForward, int requestTimeoutMs) {
  if (lock_ < 0 || listener_ >= 0) return;
  // Only the lock holder gets here, and the folder is this user's alone, so a socket file left
  // over is a crashed copy's.
  unlinkat(folder_, socketName_.c_str(), 0);
  const SocketAddress address(folderPath_, folder_, socketName_);
  listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return;
  if (!address.usable || bind(listener_, address.get(), address.size) != 0 ||
      listen(listener_, 4) != 0) {
    close(listener_);
    listener_ = -1;
    return;
  }
  requests_ = std::make_unique<Requests>(listener_, std::move(bringForward), requestTimeoutMs);
  source_ = wxEventLoopBase::AddSourceForFD(listener_, requests_.get(), wxEVENT_SOURCE_INPUT);
}

void SingleInstance::Release() {
  delete source_;
  source_ = nullptr;
  requests_.reset();
  if (listener_ >= 0) {
    close(listener_);
    listener_ = -1;
    unlinkat(folder_, socketName_.c_str(), 0);
  }
  if (lock_ >= 0) {
    close(lock_);  // the lock goes with the file; the file itself stays for the next start
    lock_ = -1;
  }
  CloseFolder();
}

void SingleInstance::CloseFolder() {
  if (folder_ >= 0) close(folder_);
  folder_ = -1;
}

}  // namespace verselane
