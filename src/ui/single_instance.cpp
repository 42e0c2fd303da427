#include "ui/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include <wx/evtloop.h>
#include <wx/evtloopsrc.h>

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

// Accepts each connection, reads nothing of importance and brings the window forward.
class SingleInstance::Requests : public wxEventLoopSourceHandler {
 public:
  Requests(int listener, std::function<void()> bringForward)
      : listener_(listener), bringForward_(std::move(bringForward)) {}
  void OnReadWaiting() override {
    const int connection = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) return;
    close(connection);
    if (bringForward_) bringForward_();
  }
  void OnWriteWaiting() override {}
  void OnExceptionWaiting() override {}

 private:
  int listener_;
  std::function<void()> bringForward_;
};

SingleInstance::SingleInstance(std::string folder, std::string name) {
  if (folder == "/tmp") name += "-" + std::to_string(getuid());
  lockPath_ = folder + "/" + name + ".lock";
  socketPath_ = folder + "/" + name + ".socket";
}

SingleInstance::~SingleInstance() { Release(); }

bool SingleInstance::Check() {
  if (lock_ >= 0) return true;
  const int file = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // No lock can be made here: run rather than refuse to start.
  if (file < 0) return true;
  if (flock(file, LOCK_EX | LOCK_NB) == 0) {
    lock_ = file;
    return true;
  }
  close(file);
  AskRunningCopy();
  return false;
}

void SingleInstance::AskRunningCopy() const {
  const int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connection < 0) return;
  const SocketAddress address(socketPath_);
  if (connect(connection, address.get(), address.size) == 0) {
    const char request = '\n';
    [[maybe_unused]] const ssize_t sent = write(connection, &request, 1);
  }
  close(connection);
}

void SingleInstance::Listen(std::function<void()> bringForward) {
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
  requests_ = std::make_unique<Requests>(listener_, std::move(bringForward));
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
