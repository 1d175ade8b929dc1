// The program's command line and the state it starts from.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/FileIO.h"
#include "pedal/jack/PedalProgram.h"
#include "pedal/jack/ProgramOptions.h"
#include "tests/pedal/PedalHarness.h"
#include "tests/support/TempFolder.h"

namespace kr7::pedal::test {
namespace {

TEST(PedalProgramOptions, ReadsEveryOption) {
  const std::vector<std::string_view> args = {
      "--state", "/tmp/x", "--bank",   "b.syx", "--serial",         "SN",     "--version", "9",
      "--name",  "pedal2", "--server", "srv",   "--connect-editor", "--trace"};
  const ParsedOptions parsed = ParseProgramOptions(args);
  ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
  const ProgramOptions& options = *parsed.options;
  EXPECT_EQ(options.stateFolder, "/tmp/x");
  EXPECT_EQ(options.bankFile, "b.syx");
  EXPECT_EQ(options.serial, "SN");
  EXPECT_EQ(options.version, 9);
  EXPECT_EQ(options.clientName, "pedal2");
  EXPECT_EQ(options.serverName, "srv");
  EXPECT_TRUE(options.connectEditor);
  EXPECT_TRUE(options.trace);
}

TEST(PedalProgramOptions, DefaultsAndRefusals) {
  const ParsedOptions none = ParseProgramOptions({});
  ASSERT_TRUE(none.options.has_value());
  EXPECT_EQ(none.options->clientName, "kr7-virtual-pedal");
  EXPECT_TRUE(none.options->stateFolder.empty());
  for (const std::vector<std::string_view>& args : std::vector<std::vector<std::string_view>>{
           {"--state"},
           {"--version", "128"},
           {"--version", "x"},
           {"--serial", std::string_view("123456789012345678901234567890123")},
           {"--bogus"}}) {
    EXPECT_FALSE(ParseProgramOptions(args).options.has_value()) << args.front();
  }
}

TEST(PedalProgramOptions, InitialStateTakesBankFolderAndOverrides) {
  kr7::test::TempFolder folder;
  const Bytes bank = BankFile(HandPayload());
  ASSERT_TRUE(WriteFileAtomically(folder / "bank.syx", bank.data(), bank.size()));
  ProgramOptions options;
  options.bankFile = folder / "bank.syx";
  options.serial = "OVERRIDE";
  options.version = 11;
  std::string error;
  const std::optional<PedalState> state = BuildInitialState(options, &error);
  ASSERT_TRUE(state.has_value()) << error;
  EXPECT_EQ(state->presets[64], HandPayload());
  EXPECT_EQ(state->factoryBank[64], HandPayload());
  EXPECT_EQ(state->serial, "OVERRIDE");
  EXPECT_EQ(state->version, 11);

  options.bankFile = folder / "missing.syx";
  EXPECT_FALSE(BuildInitialState(options, &error).has_value());
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace kr7::pedal::test
