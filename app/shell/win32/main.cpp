#include <exception>

#include "app/shell/win32/Application.h"

int main() {
  try {
    return kr7::shell::RunEditor();
  } catch (...) {
    // A library failing during start or in the loop ends the program quietly.
    return 1;
  }
}
