#pragma once
// The standalone program from start to exit: single instance, host, main
// window, the message loop and the shutdown order.

namespace kr7::shell {

// Returns the process exit code. Exceptions from the libraries propagate to
// the caller, which turns them into exit code 1.
int RunEditor(int argc, char** argv);

}  // namespace kr7::shell
