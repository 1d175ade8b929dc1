#pragma once
// The virtual KR7: the pedal's side of every conversation the editor holds
// with it, over any transport (JACK MIDI in the program, a direct call in the
// editor's tests).
//
// Receive() takes one complete message from the editor and answers through
// the reply sink as the pedal would: identity, checksums and settings
// blocks, preset dumps, live edits, stores, factory resets, impulse-response
// names, dumps and uploads, the factory and import streams, and the firmware
// loader. The pedal's own actions (a knob turned, another preset stepped to)
// and the fault injection are methods too.
//
// Threading: every public method may be called from any thread; one lock
// guards the state. Replies are collected under the lock and handed to the
// sink after it is released, on the calling thread, so a sink may call
// Receive() again at once (an editor that sends its next request from its
// receive handler) without deadlock. The sink must itself be safe to call
// from every thread that calls into the pedal.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "device/Messages.h"
#include "device/SysExSender.h"
#include "pedal/FaultInjector.h"
#include "pedal/FirmwareReceiver.h"
#include "pedal/HostileMessages.h"
#include "pedal/IrTransferReceiver.h"
#include "pedal/PedalState.h"

namespace kr7::pedal {

using ReplySink = std::function<void(ByteSpan)>;

enum class TraceDirection { FromEditor, ToEditor, DroppedByFault };
using TraceSink = std::function<void(TraceDirection, ByteSpan)>;

// Parts of the state a change touched, for a store that saves only those.
enum StateChange : unsigned {
  kChangePresets = 1u << 0,
  kChangeFactoryBank = 1u << 1,
  kChangeGlobals = 1u << 2,  // active slot, settings, maps, identity
  kChangeIrs = 1u << 3,
  kChangeFirmware = 1u << 4,
};
using StateChangedHook = std::function<void(const PedalState&, unsigned changes)>;

// Reply codes the pedal picks where two codes mean the same to the editor.
inline constexpr std::uint8_t kFactoryWriteOk = kReplyWriteOkAlt;
inline constexpr std::uint8_t kFactoryWriteFail = kReplyWriteFailAlt;
inline constexpr std::uint8_t kImportWriteOk = kReplyWriteOk;
inline constexpr std::uint8_t kImportWriteFail = kReplyWriteFail;

class VirtualPedal {
 public:
  explicit VirtualPedal(PedalState initial);
  VirtualPedal(const VirtualPedal&) = delete;
  VirtualPedal& operator=(const VirtualPedal&) = delete;

  // Where replies go. Without a sink replies are discarded (still traced).
  void SetReplySink(ReplySink sink);
  // Convenience: replies go to sender->SendSysEx; nullptr discards them.
  void SetReplySink(SysExSender* sender);
  void SetTraceSink(TraceSink sink);
  // Called under the lock after every change of the state, on the thread
  // that made it; keep it short or copy what it needs.
  void SetStateChangedHook(StateChangedHook hook);

  // One complete message from the editor.
  void Receive(ByteSpan message);

  // --- The pedal's own actions -------------------------------------------
  // A knob or setting changed at the pedal: preset parameters 0..64 change
  // the edit buffer, 80..90 the settings, 91..106 the controller map; the
  // editor hears a ParameterReport. False (nothing sent) for any other index.
  // The value is kept inside the parameter's range.
  bool TurnKnob(int index, int value);
  // The footswitches: the slot becomes active, its stored preset is loaded
  // into the edit buffer and its dump goes to the editor. False outside 0..127.
  bool StepToPreset(int slot);
  // Steps by delta slots, wrapping around 0..127.
  void StepBy(int delta);

  // --- Faults -------------------------------------------------------------
  void DropNextReplies(int n);
  void CorruptNextChecksum();
  void FailNextWrites(int k);
  // The version byte of the identity block (pedal version × 10).
  void SetVersion(std::uint8_t versionTimesTen);
  // Sends the messages of one hostile kind now (not subject to the faults).
  void SendHostile(HostileKind kind);
  FaultCounts PendingFaults() const;

  // --- Inspection -----------------------------------------------------------
  PedalState Snapshot() const;
  int ActiveSlot() const;
  bool InBulk() const;
  // Messages received that the pedal could not read or does not take.
  int IgnoredCount() const;
  // Replaces the whole state (the transfers in progress are forgotten).
  void ReplaceState(PedalState state);

 private:
  struct Outgoing {
    Bytes bytes;
    bool dropped;
  };
  using Replies = std::vector<Outgoing>;

  // Runs body(replies) under the lock, reports the changes it made, then
  // delivers the replies without the lock.
  template <class Body>
  void Transact(Body&& body);
  void Reply(Replies& out, Bytes message);
  void Changed(unsigned changes) { mPendingChanges |= changes; }

  void Handle(Replies& out, const Dropped& message);
  void Handle(Replies& out, const PresetStore& message);
  void Handle(Replies& out, const PresetSelect& message);
  void Handle(Replies& out, const PresetRequest& message);
  void Handle(Replies& out, const ParameterSet& message);
  void Handle(Replies& out, const GlobalBlock& message);
  void Handle(Replies& out, const GlobalRequest& message);
  void Handle(Replies& out, const FactoryReset& message);
  void Handle(Replies& out, const BulkBegin& message);
  void Handle(Replies& out, const BulkEnd& message);
  void Handle(Replies& out, const EditorClosed& message);
  void Handle(Replies& out, const IrDumpPart& message);
  void Handle(Replies& out, const IrRequest& message);
  void Handle(Replies& out, const IrNamesRequest& message);
  void Handle(Replies& out, const FactoryPresetWrite& message);
  void Handle(Replies& out, const ImportPresetWrite& message);
  void Handle(Replies& out, const FirmwareStart& message);
  void Handle(Replies& out, const FirmwareFirst& message);
  void Handle(Replies& out, const FirmwareData& message);

  void HandleUploadPart(Replies& out, const IrDumpPart& message);
  void HandleImportPart(Replies& out, const IrDumpPart& message);
  void StoreIr(int slot, const IrImage& image);
  void ReplyWithDump(Replies& out, int slot);
  void LoadActiveSlot(int slot);
  void ReplyFirmwareVerdict(Replies& out, FirmwareReceiver::Verdict verdict);

  mutable std::mutex mMutex;
  PedalState mState;
  FaultInjector mFaults;
  IrTransferReceiver mUpload;
  IrTransferReceiver mImport;
  bool mImportFailed = false;
  FirmwareReceiver mFirmware;
  bool mInBulk = false;
  int mIgnored = 0;
  unsigned mPendingChanges = 0;

  ReplySink mSink;
  TraceSink mTrace;
  StateChangedHook mChangedHook;
};

}  // namespace kr7::pedal
