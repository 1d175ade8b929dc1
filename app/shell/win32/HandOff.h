#pragma once
// A later start's side of the single instance on Windows: the running
// editor's window is brought to the front and handed the request (the file
// to open, see InstanceRequest) with WM_COPYDATA.

#include <string>

namespace kr7::shell {

// True when a running editor took the request.
bool HandToRunningEditor(const std::string& request);

}  // namespace kr7::shell
