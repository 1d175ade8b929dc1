#include <exception>

#include "app/shell/gtk/Application.h"

int main(int argc, char** argv) {
  try {
    return kr7::shell::RunEditor(argc, argv);
  } catch (...) {
    // A library failing during start or in the loop ends the program quietly.
    return 1;
  }
}
