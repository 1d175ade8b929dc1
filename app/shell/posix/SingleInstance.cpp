#include "app/shell/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kr7 {

struct SingleInstance::State {
  std::string lockPath;
  std::string socketName;
  int lockFd = -1;
  int listenFd = -1;
};

namespace {

// Abstract socket addresses start with a NUL byte and need no file, so a
// crashed instance leaves nothing behind that could block the next start.
socklen_t MakeAddress(const std::string& name, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  const std::size_t length = std::min(name.size(), sizeof address.sun_path - 1);
  std::memcpy(address.sun_path + 1, name.data(), length);
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

}  // namespace

SingleInstance::SingleInstance(std::string dataFolder, HandOff) : mState(std::make_unique<State>()) {
  mState->lockPath = dataFolder + "/KR7Control.lock";
  char hash[32];
  std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string>{}(dataFolder));
  mState->socketName = std::string("KR7Control-") + std::to_string(getuid()) + "-" + hash;
}

SingleInstance::~SingleInstance() {
  if (mState->listenFd >= 0) close(mState->listenFd);
  if (mState->lockFd >= 0) close(mState->lockFd);  // releases the lock
}

int SingleInstance::ListenFd() const { return mState->listenFd; }

SingleInstance::Outcome SingleInstance::Acquire(std::string_view openPath) {
  State& state = *mState;
  state.lockFd = open(state.lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (state.lockFd >= 0 && flock(state.lockFd, LOCK_EX | LOCK_NB) == 0) {
    sockaddr_un address;
    const socklen_t length = MakeAddress(state.socketName, address);
    state.listenFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (state.listenFd >= 0 &&
        (bind(state.listenFd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
         listen(state.listenFd, 4) != 0)) {
      close(state.listenFd);
      state.listenFd = -1;
    }
    return Outcome::kFirst;
  }
  if (state.lockFd >= 0) {
    close(state.lockFd);
    state.lockFd = -1;
  }
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Outcome::kUnavailable;
  sockaddr_un address;
  const socklen_t length = MakeAddress(state.socketName, address);
  const std::string request = InstanceRequest(openPath);
  bool sent = connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
  for (std::size_t done = 0; sent && done < request.size();) {
    // A first instance that hangs up must not end this one with SIGPIPE.
    const ssize_t wrote = send(fd, request.data() + done, request.size() - done, MSG_NOSIGNAL);
    sent = wrote > 0;
    if (sent) done += static_cast<std::size_t>(wrote);
  }
  close(fd);
  return sent ? Outcome::kPresented : Outcome::kUnavailable;
}

std::optional<std::string> SingleInstance::TakeRequest() {
  if (mState->listenFd < 0) return std::nullopt;
  const int client = accept4(mState->listenFd, nullptr, nullptr, SOCK_CLOEXEC);
  if (client < 0) return std::nullopt;
  // The UI thread reads here: a peer that connects and says nothing must not
  // stall the window for longer than a moment.
  timeval timeout{0, 200000};
  setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  std::string request;
  char chunk[512];
  bool complete = false;
  while (request.size() <= kMaxInstanceRequest) {
    const ssize_t got = read(client, chunk, sizeof chunk);
    if (got <= 0) {
      complete = got == 0;  // the peer closed: the whole request is here
      break;
    }
    request.append(chunk, static_cast<std::size_t>(got));
  }
  close(client);
  if (!complete) return std::nullopt;
  return ParseInstanceRequest(request);
}

}  // namespace kr7
