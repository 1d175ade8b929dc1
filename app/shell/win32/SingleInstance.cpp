#include "app/shell/SingleInstance.h"

#include <windows.h>

#include <cstdio>

#include "model/win32/WideText.h"

namespace kr7 {

struct SingleInstance::State {
  std::wstring mutexName;
  HandOff handOff;
  HANDLE mutex = nullptr;
};

SingleInstance::SingleInstance(std::string dataFolder, HandOff handOff) : mState(std::make_unique<State>()) {
  // "Local\" keeps the name to this session; the data folder lies in the
  // user's profile, so the name is the user's too.
  char hash[32];
  std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string>{}(dataFolder));
  mState->mutexName = Widen(std::string("Local\\KR7Control-") + hash);
  mState->handOff = std::move(handOff);
}

SingleInstance::~SingleInstance() {
  if (mState->mutex) CloseHandle(mState->mutex);
}

// Requests reach the first instance's window, not a socket.
int SingleInstance::ListenFd() const { return -1; }

std::optional<std::string> SingleInstance::TakeRequest() { return std::nullopt; }

SingleInstance::Outcome SingleInstance::Acquire(std::string_view openPath) {
  State& state = *mState;
  state.mutex = CreateMutexW(nullptr, FALSE, state.mutexName.c_str());
  if (!state.mutex) return Outcome::kUnavailable;
  // The mutex lives as long as any instance holds a handle: its existence
  // alone says that another instance runs.
  if (GetLastError() != ERROR_ALREADY_EXISTS) return Outcome::kFirst;
  CloseHandle(state.mutex);
  state.mutex = nullptr;
  return state.handOff && state.handOff(InstanceRequest(openPath)) ? Outcome::kPresented
                                                                   : Outcome::kUnavailable;
}

}  // namespace kr7
