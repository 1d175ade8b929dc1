// kr7-virtual-pedal: a KR7 pedal on JACK MIDI for trying the editor and for
// its end-to-end tests. Options and commands: pedal/ProgramOptions.h and
// pedal/ControlCommands.h.

#include <cstdio>
#include <string_view>
#include <vector>

#include "pedal/jack/PedalProgram.h"
#include "pedal/jack/ProgramOptions.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const kr7::pedal::ParsedOptions parsed = kr7::pedal::ParseProgramOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "kr7-virtual-pedal: %s\n%s", parsed.error.c_str(),
                 kr7::pedal::ProgramUsage().data());
    return 2;
  }
  if (parsed.options->help) {
    std::fputs(kr7::pedal::ProgramUsage().data(), stdout);
    return 0;
  }
  return kr7::pedal::RunPedalProgram(*parsed.options);
}
