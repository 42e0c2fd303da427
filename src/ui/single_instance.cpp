#include "ui/single_instance.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <wx/evtloop.h>
#include <wx/evtloopsrc.h>
#include <wx/timer.h>

#include "ui/activation_token.h"

namespace verselane {
namespace {

// The socket's address: its file, or where the path is too long for one, the same path as a name
// in the abstract namespace (no file), cut to fit in the same way on both sides.
struct SocketAddress {
  explicit SocketAddress(const std::string& path) {
    address.sun_family = AF_UNIX;
    const std::size_t room = sizeof address.sun_path - 1;
    abstract = path.size() > room;
    const std::size_t length = std::min(path.size(), room);
    std::memcpy(address.sun_path + (abstract ? 1 : 0), path.data(), length);
    size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + length + 1);
  }
  const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&address); }

  sockaddr_un address{};
  socklen_t size = 0;
  bool abstract = false;
};

}  // namespace

std::string DefaultLockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') return runtime;
  return "/tmp";
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

SingleInstance::SingleInstance(std::string folder, std::string name) {
  if (folder == "/tmp") name += "-" + std::to_string(getuid());
  lockPath_ = folder + "/" + name + ".lock";
  socketPath_ = folder + "/" + name + ".socket";
}

SingleInstance::~SingleInstance() { Release(); }

bool SingleInstance::Check(const std::string& activationToken) {
  if (lock_ >= 0) return true;
  const int file = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // No lock can be made here: run rather than refuse to start.
  if (file < 0) return true;
  if (flock(file, LOCK_EX | LOCK_NB) == 0) {
    lock_ = file;
    return true;
  }
  close(file);
  AskRunningCopy(activationToken);
  return false;
}

// The request is one line: the token, or nothing when this copy has none. A running copy that
// hangs holds this one up for the send time-out at most.
void SingleInstance::AskRunningCopy(const std::string& activationToken) const {
  const int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connection < 0) return;
  const timeval limit{2, 0};
  setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  const SocketAddress address(socketPath_);
  if (connect(connection, address.get(), address.size) == 0) {
    const std::string request =
        (IsUsableActivationToken(activationToken) ? activationToken : std::string()) + "\n";
    [[maybe_unused]] const ssize_t sent = send(connection, request.data(), request.size(),
                                               MSG_NOSIGNAL);
  }
  close(connection);
}

void SingleInstance::Listen(BringForward bringForward, int requestTimeoutMs) {
  if (lock_ < 0 || listener_ >= 0) return;
  // Only the lock holder gets here, so a socket file left over is a crashed copy's.
  unlink(socketPath_.c_str());
  listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return;
  const SocketAddress address(socketPath_);
  if (bind(listener_, address.get(), address.size) != 0 ||
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
    unlink(socketPath_.c_str());
  }
  if (lock_ >= 0) {
    close(lock_);  // the lock goes with the file; the file itself stays for the next start
    lock_ = -1;
  }
}

}  // namespace verselane
