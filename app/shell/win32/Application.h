#pragma once
// The Windows program: command line, single instance, start order, the
// message loop and the shutdown order around the editor's main window.

namespace kr7::shell {

int RunEditor();

}  // namespace kr7::shell
