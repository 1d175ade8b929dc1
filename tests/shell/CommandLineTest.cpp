#include "app/shell/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace kr7 {
namespace {

TEST(CommandLine, ParsesOptionsAndOneFile) {
  struct Case {
    std::vector<std::string_view> args;
    StartAction action;
    std::string file;
  };
  const Case cases[] = {
      {{}, StartAction::kRun, ""},
      {{"song.r3p"}, StartAction::kRun, "song.r3p"},
      {{"--version"}, StartAction::kVersion, ""},
      {{"-V", "x.r3p"}, StartAction::kVersion, ""},
      {{"x.r3b", "--help"}, StartAction::kHelp, ""},
      {{"--", "--odd.r3p"}, StartAction::kRun, "--odd.r3p"},
      {{"--bogus"}, StartAction::kBadUsage, ""},
      {{"a.r3p", "b.r3p"}, StartAction::kBadUsage, ""},
  };
  for (const Case& c : cases) {
    const StartRequest request = ParseCommandLine(c.args);
    EXPECT_EQ(request.action, c.action) << (c.args.empty() ? "" : c.args[0]);
    EXPECT_EQ(request.file, c.file);
    EXPECT_EQ(request.error.empty(), c.action != StartAction::kBadUsage);
  }
  EXPECT_EQ(VersionText(), "KR7Control " + std::string(kProgramVersion) + "\n");
}

TEST(CommandLine, TellsTheFileTypesByExtension) {
  EXPECT_EQ(KindOfFile("/home/a/Lead.r3p"), OpenedFileKind::kPreset);
  EXPECT_EQ(KindOfFile("BANK.R3B"), OpenedFileKind::kBank);
  EXPECT_EQ(KindOfFile("/x.r3p/readme"), OpenedFileKind::kUnknown);
  EXPECT_EQ(KindOfFile(".r3p"), OpenedFileKind::kUnknown);
  EXPECT_EQ(KindOfFile("preset.wav"), OpenedFileKind::kUnknown);
}

}  // namespace
}  // namespace kr7
