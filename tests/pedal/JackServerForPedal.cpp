// The integration tests' private JACK server, built into this binary too so
// the pedal's session over JACK runs against the same kind of server.
#include "tests/integration/JackServer.cpp"  // NOLINT(bugprone-suspicious-include)
