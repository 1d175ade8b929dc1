#pragma once
// One entry of the editor's parameter table.
//
// A parameter holds its current value in parameter units (for this program
// almost always a stepped integer 0..127) and converts between that value and
// the normalised position 0..1 that controls and the pedal's raw 7-bit values
// go through. Everything but the value is shaped once by an Init* call while
// the table is being built and is read-only afterwards, so any thread may read
// the texts and ranges; the value itself is a std::atomic<double> because the
// audio thread (pedal input) and the UI thread (controls) both set it.
//
// A record that was never initialised keeps a neutral state: type none, empty
// texts, range 0..1, step 1, default and value 0, not stepped.

#include <atomic>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace iplug {

class IParam {
 public:
  enum class EParamType { kTypeNone, kTypeBool, kTypeInt, kTypeEnum, kTypeDouble };

  // Flag bits accepted by the Init* calls.
  static constexpr int kFlagsNone = 0;
  static constexpr int kFlagStepped = 2;  // values snap to a multiple of the step

  // The display precision stops counting here even for steps like 1/3.
  static constexpr int kMaxDisplayPrecision = 6;

  IParam();
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  // --- Shaping (table construction only; not thread-safe) -----------------
  // The type is taken only while it is still none, so a second Init* keeps
  // the first kind. The value is set to the default, rounded and clamped.

  // Stepped integer min..max, step 1.
  void InitInt(std::string_view name, int defaultValue, int minValue, int maxValue,
               std::string_view label = {}, int flags = kFlagsNone, std::string_view group = {});

  // List of numValues entries (0..numValues-1), stepped, step 1, without
  // texts; add them with SetDisplayText.
  void InitEnum(std::string_view name, int defaultValue, int numValues,
                std::string_view label = {}, int flags = kFlagsNone, std::string_view group = {});

  // List whose texts become the value texts of 0..texts.size()-1 in order.
  void InitEnum(std::string_view name, int defaultValue,
                std::initializer_list<std::string_view> texts,
                std::string_view label = {}, int flags = kFlagsNone, std::string_view group = {});
  void InitEnum(std::string_view name, int defaultValue, const std::vector<std::string>& texts,
                std::string_view label = {}, int flags = kFlagsNone, std::string_view group = {});
  void InitEnum(std::string_view name, int defaultValue, std::span<const std::string_view> texts,
                std::string_view label = {}, int flags = kFlagsNone, std::string_view group = {});

  // Real value; stepped only when flags contains kFlagStepped.
  void InitDouble(std::string_view name, double defaultValue, double minValue, double maxValue,
                  double step, std::string_view label = {}, int flags = kFlagsNone,
                  std::string_view group = {});

  // Adds (or replaces) the text shown instead of the number for exactly value.
  void SetDisplayText(double value, std::string_view text);

  // --- Description (read-only after construction) --------------------------
  EParamType Type() const { return mType; }
  const std::string& Name() const { return mName; }
  const std::string& Label() const { return mLabel; }  // the raw label
  const std::string& Group() const { return mGroup; }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  double GetRange() const { return mMax - mMin; }
  double GetStep() const { return mStep; }
  double GetDefault() const { return mDefault; }
  int DisplayPrecision() const { return mDisplayPrecision; }
  int Flags() const { return mFlags; }
  bool IsStepped() const { return (mFlags & kFlagStepped) != 0; }
  int NumDisplayTexts() const { return static_cast<int>(mDisplayTexts.size()); }
  // Entry i of the value texts in insertion order; {0, ""} outside the list.
  std::pair<double, std::string_view> DisplayTextAt(int i) const;
  // The value text for exactly value, or nullptr.
  const char* DisplayTextFor(double value) const;

  // --- Conversions (pure; any thread) --------------------------------------
  // Rounds half away from zero to the step when stepped, then clamps.
  double Constrain(double value) const;
  // min + n * (max - min), then Constrain.
  double FromNormalized(double normalised) const;
  // Constrain, then (v - min) / (max - min) clamped to 0..1.
  double ToNormalized(double value) const;
  // Position of a raw 7-bit pedal value: (raw - min) / (max - min), not
  // clamped, so FromNormalized of it yields raw clamped to the range.
  double RawToNormalized(int raw) const;

  // --- Value (atomic; any thread) ------------------------------------------
  double Value() const { return mValue.load(std::memory_order_relaxed); }
  int Int() const { return static_cast<int>(Value()); }  // truncation
  double GetNormalized() const { return ToNormalized(Value()); }
  void Set(double value);  // stores Constrain(value)
  void SetNormalized(double normalised) { Set(FromNormalized(normalised)); }
  void SetFromRaw(int raw) { SetNormalized(RawToNormalized(raw)); }
  void SetToDefault() { Set(mDefault); }

  // The exact value text if there is one, else the value rounded half away
  // from zero as "%d" (precision 0) or "%.*f" (precision above 0).
  std::string DisplayText() const { return DisplayTextForValue(Value()); }
  std::string DisplayTextForValue(double value) const;
  // Empty when a value text matches the integer part of the value, else the
  // parameter's label.
  std::string DisplayLabel() const { return DisplayLabelForValue(Value()); }
  std::string DisplayLabelForValue(double value) const;

 private:
  void InitBase(EParamType type, std::string_view name, double defaultValue, double minValue,
                double maxValue, double step, std::string_view label, int flags,
                std::string_view group);

  EParamType mType = EParamType::kTypeNone;
  std::string mName;
  std::string mLabel;
  std::string mGroup;
  std::atomic<double> mValue{0.0};
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mDefault = 0.0;
  int mDisplayPrecision = 0;
  int mFlags = kFlagsNone;
  std::vector<std::pair<double, std::string>> mDisplayTexts;
};

}  // namespace iplug
