#include "model/IParam.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace iplug {

namespace {

// Counts the decimal digits a step needs, so that 0.1 shows one digit and 1
// none; a step that never becomes whole (1/3) stops at the limit.
int PrecisionOfStep(double step) {
  int digits = 0;
  while (digits < IParam::kMaxDisplayPrecision && step != std::floor(step)) {
    ++digits;
    step *= 10.0;
  }
  return digits;
}

}  // namespace

IParam::IParam() = default;

void IParam::InitBase(EParamType type, std::string_view name, double defaultValue,
                      double minValue, double maxValue, double step, std::string_view label,
                      int flags, std::string_view group) {
  if (mType == EParamType::kTypeNone) {
    mType = type;
  }
  mName = name;
  mLabel = label;
  mGroup = group;
  mMin = minValue;
  // The range always spans at least one step, so positions never divide by 0
  // for any positive step.
  mMax = std::max(minValue + step, maxValue);
  mStep = step;
  mFlags = flags;
  mDisplayPrecision = PrecisionOfStep(step);
  mDefault = defaultValue;
  Set(defaultValue);
}

void IParam::InitInt(std::string_view name, int defaultValue, int minValue, int maxValue,
                     std::string_view label, int flags, std::string_view group) {
  InitBase(EParamType::kTypeInt, name, defaultValue, minValue, maxValue, 1.0, label,
           flags | kFlagStepped, group);
}

void IParam::InitEnum(std::string_view name, int defaultValue, int numValues,
                      std::string_view label, int flags, std::string_view group) {
  InitBase(EParamType::kTypeEnum, name, defaultValue, 0.0, numValues - 1, 1.0, label,
           flags | kFlagStepped, group);
}

void IParam::InitEnum(std::string_view name, int defaultValue,
                      std::initializer_list<std::string_view> texts, std::string_view label,
                      int flags, std::string_view group) {
  InitEnum(name, defaultValue, std::span<const std::string_view>(texts.begin(), texts.size()),
           label, flags, group);
}

void IParam::InitEnum(std::string_view name, int defaultValue,
                      std::span<const std::string_view> texts, std::string_view label, int flags,
                      std::string_view group) {
  InitEnum(name, defaultValue, static_cast<int>(texts.size()), label, flags, group);
  int value = 0;
  for (std::string_view text : texts) {
    SetDisplayText(value++, text);
  }
}

void IParam::InitEnum(std::string_view name, int defaultValue,
                      const std::vector<std::string>& texts, std::string_view label, int flags,
                      std::string_view group) {
  InitEnum(name, defaultValue, static_cast<int>(texts.size()), label, flags, group);
  int value = 0;
  for (const std::string& text : texts) {
    SetDisplayText(value++, text);
  }
}

void IParam::InitDouble(std::string_view name, double defaultValue, double minValue,
                        double maxValue, double step, std::string_view label, int flags,
                        std::string_view group) {
  InitBase(EParamType::kTypeDouble, name, defaultValue, minValue, maxValue, step, label, flags,
           group);
}

void IParam::SetDisplayText(double value, std::string_view text) {
  for (auto& entry : mDisplayTexts) {
    if (entry.first == value) {
      entry.second = text;
      return;
    }
  }
  mDisplayTexts.emplace_back(value, std::string(text));
}

std::pair<double, std::string_view> IParam::DisplayTextAt(int i) const {
  if (i < 0 || i >= NumDisplayTexts()) {
    return {0.0, {}};
  }
  const auto& entry = mDisplayTexts[static_cast<std::size_t>(i)];
  return {entry.first, entry.second};
}

const char* IParam::DisplayTextFor(double value) const {
  for (const auto& entry : mDisplayTexts) {
    if (entry.first == value) {
      return entry.second.c_str();
    }
  }
  return nullptr;
}

double IParam::Constrain(double value) const {
  if (std::isnan(value)) {
    return mMin;
  }
  if (IsStepped() && mStep > 0.0) {
    value = std::round(value / mStep) * mStep;  // half away from zero
  }
  return std::clamp(value, mMin, std::max(mMin, mMax));
}

double IParam::FromNormalized(double normalised) const {
  return Constrain(mMin + normalised * (mMax - mMin));
}

double IParam::ToNormalized(double value) const {
  const double range = mMax - mMin;
  if (!(range > 0.0)) {
    return 0.0;
  }
  return std::clamp((Constrain(value) - mMin) / range, 0.0, 1.0);
}

double IParam::RawToNormalized(int raw) const {
  const double range = mMax - mMin;
  if (!(range > 0.0)) {
    return 0.0;
  }
  return (raw - mMin) / range;
}

void IParam::Set(double value) { mValue.store(Constrain(value), std::memory_order_relaxed); }

std::string IParam::DisplayTextForValue(double value) const {
  if (const char* text = DisplayTextFor(value)) {
    return text;
  }
  char buffer[64];
  if (mDisplayPrecision > 0) {
    std::snprintf(buffer, sizeof buffer, "%.*f", mDisplayPrecision, value);
  } else {
    // Clamp before converting so an out-of-range double cannot overflow int.
    const double rounded = std::clamp(std::round(value), -2147483648.0, 2147483647.0);
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(rounded));
  }
  return buffer;
}

std::string IParam::DisplayLabelForValue(double value) const {
  if (DisplayTextFor(std::trunc(value)) != nullptr) {
    return {};
  }
  return mLabel;
}

}  // namespace iplug
