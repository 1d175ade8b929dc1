#include "app/shell/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace kr7 {
namespace {

// "present\n" alone, or followed by the path to open up to the end of the
// stream (a path may hold any byte but NUL).
constexpr std::string_view kPresentRequest = "present\n";
// Far more than PATH_MAX: a longer request is not one of ours.
constexpr std::size_t kMaxRequest = 8192;

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

std::optional<std::string> ParseInstanceRequest(std::string_view request) {
  if (request.size() > kMaxRequest || !request.starts_with(kPresentRequest) ||
      request.find('\0') != std::string_view::npos)
    return std::nullopt;
  return std::string(request.substr(kPresentRequest.size()));
}

SingleInstance::SingleInstance(std::string dataFolder)
    : mLockPath(dataFolder + "/KR7Control.lock") {
  char hash[32];
  std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string>{}(dataFolder));
  mSocketName = std::string("KR7Control-") + std::to_string(getuid()) + "-" + hash;
}

SingleInstance::~SingleInstance() {
  if (mListenFd >= 0) close(mListenFd);
  if (mLockFd >= 0) close(mLockFd);  // releases the lock
}

SingleInstance::Outcome SingleInstance::Acquire(std::string_view openPath) {
  mLockFd = open(mLockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (mLockFd >= 0 && flock(mLockFd, LOCK_EX | LOCK_NB) == 0) {
    sockaddr_un address;
    const socklen_t length = MakeAddress(mSocketName, address);
    mListenFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (mListenFd >= 0 &&
        (bind(mListenFd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
         listen(mListenFd, 4) != 0)) {
      close(mListenFd);
      mListenFd = -1;
    }
    return Outcome::kFirst;
  }
  if (mLockFd >= 0) {
    close(mLockFd);
    mLockFd = -1;
  }
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Outcome::kUnavailable;
  sockaddr_un address;
  const socklen_t length = MakeAddress(mSocketName, address);
  std::string request(kPresentRequest);
  request += openPath;
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
  if (mListenFd < 0) return std::nullopt;
  const int client = accept4(mListenFd, nullptr, nullptr, SOCK_CLOEXEC);
  if (client < 0) return std::nullopt;
  // The UI thread reads here: a peer that connects and says nothing must not
  // stall the window for longer than a moment.
  timeval timeout{0, 200000};
  setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  std::string request;
  char chunk[512];
  bool complete = false;
  while (request.size() <= kMaxRequest) {
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
