#pragma once
// The program around the virtual pedal: builds its state from the options,
// puts it on JACK, reads control commands from standard input and keeps the
// state folder up to date, until "quit", end of input followed by a signal,
// SIGINT/SIGTERM, or the JACK server going away.

#include <optional>
#include <string>

#include "pedal/PedalState.h"
#include "pedal/jack/ProgramOptions.h"

namespace kr7::pedal {

// Factory state, then the bank file, then the state folder, then --serial
// and --version. nullopt with a reason when the bank file is unusable.
std::optional<PedalState> BuildInitialState(const ProgramOptions& options, std::string* error);

// Runs until stopped; returns the process exit status.
int RunPedalProgram(const ProgramOptions& options);

}  // namespace kr7::pedal
