// A scripted session over JACK MIDI: the virtual pedal on its ports, and a
// test client playing the editor's part with the message builders. The
// messages cross a private JACK server both ways, so what is checked here is
// what the editor would see on its MIDI input.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "pedal/jack/JackMidiEndpoint.h"
#include "tests/support/JackServer.h"
#include "tests/support/MessageInbox.h"
#include "tests/pedal/PedalHarness.h"

extern char** environ;

namespace kr7::pedal::test {
namespace {

constexpr auto kServerStartTimeout = std::chrono::seconds(5);
constexpr auto kReplyTimeout = std::chrono::seconds(3);
// Dozens of 256-frame periods: a reply that has not come by then is not coming.
constexpr auto kSilence = std::chrono::milliseconds(300);
constexpr std::uint16_t kUploadSlot = 33;

// The editor's side: queues whatever the pedal sends.
class EditorClient {
 public:
  bool Open(const std::string& name, const std::string& server) {
    return mEndpoint.Open(
        {name, server},
        [this](ByteSpan message) { mReceived.Push(message); },
        nullptr);
  }
  void Close() { mEndpoint.Close(); }

  bool Send(const Bytes& message) { return mEndpoint.Send(message); }

  std::optional<Bytes> Next(std::chrono::milliseconds timeout = kReplyTimeout) {
    return mReceived.Pop(timeout);
  }

  // Sends a request and returns the first reply.
  std::optional<Bytes> Ask(const Bytes& request) { return Send(request) ? Next() : std::nullopt; }

  JackMidiEndpoint& Endpoint() { return mEndpoint; }

 private:
  // Before the endpoint, whose thread fills it until the endpoint is gone.
  kr7::test::MessageInbox mReceived;
  JackMidiEndpoint mEndpoint;
};

// What the editor's receive rules make of a pedal message.
PedalMessage Read(const Bytes& message, bool connected = true) {
  return Recognise(message, RecognitionContext{connected, false});
}

class PedalJackSession : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sServer = std::make_unique<jacktest::JackServer>();
    sServerUp = sServer->Start(kServerStartTimeout);
  }
  static void TearDownTestSuite() { sServer.reset(); }

  void SetUp() override {
    ASSERT_TRUE(sServerUp) << "no JACK server could be started (is jackd installed?)";
    const std::string suffix = std::to_string(getpid());
    std::string error;
    ASSERT_TRUE(pedalEndpoint.Open(
        {"kr7-pedal-" + suffix, sServer->Name()},
        [this](ByteSpan message) { pedal.Receive(message); }, &error))
        << error;
    pedal.SetReplySink([this](ByteSpan message) { pedalEndpoint.Send(message); });
    ASSERT_TRUE(editor.Open("kr7-editor-" + suffix, sServer->Name()));
    ASSERT_TRUE(editor.Endpoint().Connect(editor.Endpoint().OutPortFullName(),
                                          pedalEndpoint.InPortFullName()));
    ASSERT_TRUE(
        pedalEndpoint.Connect(pedalEndpoint.OutPortFullName(), editor.Endpoint().InPortFullName()));
  }

  void TearDown() override {
    editor.Close();
    pedal.SetReplySink(ReplySink{});
    pedalEndpoint.Close();
  }

  inline static std::unique_ptr<jacktest::JackServer> sServer;
  inline static bool sServerUp = false;

  VirtualPedal pedal{MakeFactoryState()};
  JackMidiEndpoint pedalEndpoint;
  EditorClient editor;
};

TEST_F(PedalJackSession, PortsCarryTheDocumentedNames) {
  EXPECT_EQ(pedalEndpoint.InPortFullName(), pedalEndpoint.ClientName() + ":in");
  EXPECT_EQ(pedalEndpoint.OutPortFullName(), pedalEndpoint.ClientName() + ":out");
}

TEST_F(PedalJackSession, EditorConversationFromHandshakeToFirmware) {
  // Identity: read as the editor reads it before it is connected.
  const std::optional<Bytes> identity = editor.Ask(build::GlobalRequest(kGlobalIdentity));
  ASSERT_TRUE(identity.has_value());
  const PedalMessage identityRead = Read(*identity, false);
  const auto* id = std::get_if<GlobalBlock>(&identityRead);
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(id->type, kGlobalIdentity);
  EXPECT_EQ(id->formatByte, 12);
  EXPECT_TRUE(id->checksumOk);

  // Preset checksums, then a fetch of several presets, one request per reply.
  const std::optional<Bytes> sums = editor.Ask(build::GlobalRequest(kGlobalPresetChecksums));
  ASSERT_TRUE(sums.has_value());
  const PedalMessage sumsRead = Read(*sums);
  const auto* checksums = std::get_if<GlobalBlock>(&sumsRead);
  ASSERT_NE(checksums, nullptr);
  ASSERT_TRUE(checksums->checksumOk);
  ASSERT_TRUE(editor.Send(build::BulkBegin()));
  for (std::uint8_t slot : {3, 7, 64, 127}) {
    const std::optional<Bytes> dump = editor.Ask(build::PresetRequest(slot));
    ASSERT_TRUE(dump.has_value()) << "slot " << int(slot);
    const PedalMessage dumpRead = Read(*dump);
    const auto* preset = std::get_if<PresetDump>(&dumpRead);
    ASSERT_NE(preset, nullptr) << MessageName(*dump);
    EXPECT_EQ(preset->slot, slot);
    EXPECT_TRUE(preset->checksumOk);
    // The dump's checksum is the one the checksum block announced.
    EXPECT_EQ((*dump)[264], checksums->At(8 + 2 * slot));
    EXPECT_EQ((*dump)[265], checksums->At(9 + 2 * slot));
  }

  // Settings, then the active preset, as the session loads them.
  const std::optional<Bytes> settings = editor.Ask(build::GlobalRequest(kGlobalSettings));
  ASSERT_TRUE(settings.has_value());
  ASSERT_TRUE(editor.Send(build::BulkEnd()));
  const std::uint8_t active = (*settings)[8];
  const std::optional<Bytes> current = editor.Ask(build::PresetRequest(active));
  ASSERT_TRUE(current.has_value());
  EXPECT_EQ((*current)[7], active);

  // A live edit goes unanswered and lands in the edit buffer.
  ASSERT_TRUE(editor.Send(build::ParameterSet(5, 99)));  // "Drive"
  EXPECT_FALSE(editor.Next(kSilence).has_value());
  EXPECT_EQ(PayloadValue(pedal.Snapshot().editBuffer, kParamDrive), 99);
  // The pedal's own knob reaches the editor.
  ASSERT_TRUE(pedal.TurnKnob(kParamHigh, 12));
  const std::optional<Bytes> report = editor.Next();
  ASSERT_TRUE(report.has_value());
  const PedalMessage reportRead = Read(*report);
  const auto* knob = std::get_if<ParameterReport>(&reportRead);
  ASSERT_NE(knob, nullptr);
  EXPECT_EQ(knob->index, kParamHigh);
  EXPECT_EQ(knob->value, 12);

  // An impulse-response upload, paced the editor's way.
  const IrImage image = DeterministicIr("JACK CAB", 4);
  const std::vector<Bytes> parts = build::SplitIrTransfer(kUploadSlot, Pack(image));
  const std::optional<Bytes> ready = editor.Ask(parts.front());
  ASSERT_TRUE(ready.has_value());
  EXPECT_EQ(*ready, ShortReplyBytes(0x63));  // IrReadyAck
  for (std::size_t i = 1; i + 1 < parts.size(); ++i) ASSERT_TRUE(editor.Send(parts[i]));
  const std::optional<Bytes> stored = editor.Ask(parts.back());
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(*stored, ShortReplyBytes(0x61));  // IrStoredAck
  EXPECT_EQ(pedal.Snapshot().irs[kUploadSlot], image);

  // A firmware transfer: no reply per message, one verdict at the end.
  Bytes firmware(3000);
  for (std::size_t i = 0; i < firmware.size(); ++i) firmware[i] = static_cast<std::uint8_t>(i);
  const std::optional<Bytes> loaderReady = editor.Ask(build::FirmwareStart());
  ASSERT_TRUE(loaderReady.has_value());
  EXPECT_EQ(*loaderReady, (Bytes{0xF0, 0x00, 0x51, 0x21, 0x02, 0x12, 0xF7}));  // FirmwareReady
  const std::vector<Bytes> chunks = build::SplitFirmwareTransfer(Pack(firmware));
  for (const Bytes& chunk : chunks) ASSERT_TRUE(editor.Send(chunk));
  const std::optional<Bytes> verdict = editor.Next();
  ASSERT_TRUE(verdict.has_value());
  EXPECT_EQ(*verdict, (Bytes{0xF0, 0x00, 0x51, 0x21, 0x02, 0x14, 0xF7}));  // FirmwareDone
  EXPECT_EQ(pedal.Snapshot().firmware, firmware);
  EXPECT_FALSE(editor.Next(kSilence).has_value());  // and nothing else
}

TEST_F(PedalJackSession, IrDumpArrivesWholeAndInOrder) {
  ASSERT_TRUE(editor.Send(build::IrRequest(260)));
  std::vector<Bytes> parts;
  for (int i = 0; i < 11; ++i) {
    std::optional<Bytes> part = editor.Next();
    ASSERT_TRUE(part.has_value()) << "part " << i;
    parts.push_back(std::move(*part));
  }
  EXPECT_EQ(parts.front()[5], kCmdIrDumpBegin);
  EXPECT_EQ(parts.back()[5], kCmdIrDumpEnd);
  EXPECT_EQ(parts, build::SplitIrTransfer(260, Pack(*pedal.Snapshot().irs[260])));
}

TEST_F(PedalJackSession, FaultsShowOnTheWire) {
  pedal.DropNextReplies(1);
  ASSERT_TRUE(editor.Send(build::GlobalRequest(kGlobalIdentity)));
  EXPECT_FALSE(editor.Next(kSilence).has_value());
  pedal.CorruptNextChecksum();
  const std::optional<Bytes> dump = editor.Ask(build::PresetRequest(2));
  ASSERT_TRUE(dump.has_value());
  const PedalMessage dumpRead = Read(*dump);
  const auto* preset = std::get_if<PresetDump>(&dumpRead);
  ASSERT_NE(preset, nullptr);
  EXPECT_FALSE(preset->checksumOk);
}

// The program itself, found beside the tests' build folder.
std::string ProgramPath() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  for (std::filesystem::path dir = self.parent_path(); !dir.empty() && dir != dir.root_path();
       dir = dir.parent_path()) {
    const std::filesystem::path candidate = dir / "kr7-virtual-pedal";
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate.string();
  }
  return {};
}

TEST_F(PedalJackSession, ProgramAnswersAndTakesCommandsFromStandardInput) {
  const std::string program = ProgramPath();
  if (program.empty()) GTEST_SKIP() << "kr7-virtual-pedal is not built";
  const std::string name = "kr7-program-" + std::to_string(getpid());
  // Only the program answers from here on.
  ASSERT_TRUE(editor.Endpoint().Disconnect(editor.Endpoint().OutPortFullName(),
                                           pedalEndpoint.InPortFullName()));
  int commands[2];
  ASSERT_EQ(pipe(commands), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, commands[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, commands[1]);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args = {program,         "--name",   name,          "--server",
                                   sServer->Name(), "--serial", "FROM-PROGRAM"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(commands[0]);

  // Its ports appear once it has joined the server.
  bool connected = false;
  for (int attempt = 0; attempt < 50 && !connected; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    connected = editor.Endpoint().Connect(editor.Endpoint().OutPortFullName(), name + ":in") &&
                editor.Endpoint().Connect(name + ":out", editor.Endpoint().InPortFullName());
  }
  ASSERT_TRUE(connected);
  const std::optional<Bytes> identity = editor.Ask(build::GlobalRequest(kGlobalIdentity));
  ASSERT_TRUE(identity.has_value());
  EXPECT_EQ(std::string(identity->begin() + 232, identity->begin() + 244), "FROM-PROGRAM");

  const std::string script = "knob 3 55\nquit\n";
  ASSERT_EQ(write(commands[1], script.data(), script.size()), static_cast<ssize_t>(script.size()));
  close(commands[1]);
  const std::optional<Bytes> report = editor.Next();
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(*report, (Bytes{0xF0, 0x00, 0x51, 0x21, 0x03, 0x51, 0x0C, 0x03, 0x37, 0xF7}));
  int status = 0;
  for (int attempt = 0; attempt < 50 && waitpid(pid, &status, WNOHANG) == 0; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (waitpid(pid, &status, WNOHANG) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    FAIL() << "the program did not stop on quit";
  }
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace kr7::pedal::test
