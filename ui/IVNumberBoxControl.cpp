#include "ui/IVNumberBoxControl.h"

#include <algorithm>
#include <cstdio>

#include "ui/DrawText.h"
#include "ui/ICaptionControl.h"
#include "ui/IGraphics.h"
#include "ui/IVectorBase.h"

namespace igraphics {
namespace {
constexpr double kDragUnitsPerPixel = 1.0;
constexpr double kFineDragUnitsPerPixel = 0.1;
constexpr float kLabelGap = 2.f;
}  // namespace

IVNumberBoxControl::IVNumberBoxControl(const Rect& bounds, int paramIdx, IActionFunction action,
                                       std::string_view label, const WidgetStyle& style, bool, double defaultValue,
                                       double minValue, double maxValue, std::string_view format)
    : IControl(bounds, paramIdx, std::move(action)),
      mLabel(label),
      mStyle(style),
      mMin(std::min(minValue, maxValue)),
      mMax(std::max(minValue, maxValue)),
      mFormat(format) {
  if (mMax > mMin) SetValue((std::clamp(defaultValue, mMin, mMax) - mMin) / (mMax - mMin));
}

double IVNumberBoxControl::RangeMin() const {
  const iplug::IParam* param = GetParam();
  return param != nullptr ? param->GetMin() : mMin;
}

double IVNumberBoxControl::RangeMax() const {
  const iplug::IParam* param = GetParam();
  return param != nullptr ? param->GetMax() : mMax;
}

double IVNumberBoxControl::GetRealValue() const {
  if (const iplug::IParam* param = GetParam()) return param->FromNormalized(GetValue());
  return mMin + GetValue() * (mMax - mMin);
}

std::string IVNumberBoxControl::DisplayText() const {
  char buffer[256];
  // The format is fixed by the layout and takes exactly one double.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  std::snprintf(buffer, sizeof buffer, mFormat.c_str(), GetRealValue());
#pragma GCC diagnostic pop
  return buffer;
}

void IVNumberBoxControl::SetRealValueFromUser(double real) {
  const double lo = RangeMin();
  const double hi = RangeMax();
  if (!(hi > lo)) return;
  const double clamped = std::clamp(real, lo, hi);
  const iplug::IParam* param = GetParam();
  const double normalised = param != nullptr ? param->ToNormalized(clamped) : (clamped - lo) / (hi - lo);
  if (normalised != GetValue()) SetValueFromUserInput(normalised);
}

void IVNumberBoxControl::OnMouseDown(float, float, const IMouseMod&) {
  mDragging = true;
  mDragReal = GetRealValue();
}

void IVNumberBoxControl::OnMouseUp(float, float, const IMouseMod&) { mDragging = false; }

void IVNumberBoxControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
  if (!mDragging) return;
  // Upward movement counts up; the unrounded number accumulates so slow
  // drags still reach the next step.
  mDragReal = std::clamp(mDragReal - dY * (mod.Fine() ? kFineDragUnitsPerPixel : kDragUnitsPerPixel), RangeMin(),
                         RangeMax());
  SetRealValueFromUser(mDragReal);
}

void IVNumberBoxControl::OnMouseDblClick(float x, float y, const IMouseMod&) {
  mDragging = false;
  if (GetUI() == nullptr || !FieldRect().Contains(x, y)) return;
  GetUI()->CreateTextEntry(*this, mStyle.ValueText, FieldRect(), DisplayText());
}

void IVNumberBoxControl::OnTextEntryCompletion(std::string_view text, bool accepted) {
  if (!accepted) return;
  if (const auto value = ParseNumber(text)) SetRealValueFromUser(*value);
}

Rect IVNumberBoxControl::FieldRect() const {
  const Rect& r = GetRECT();
  if (mLabel.empty()) return r;
  return {r.L, std::min(r.B, r.T + mStyle.LabelText.Size + kLabelGap), r.R, r.B};
}

void IVNumberBoxControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  const Rect field = FieldRect();
  if (!mLabel.empty()) DrawText(cr, Fonts(), mStyle.LabelText, {r.L, r.T, r.R, field.T}, mLabel);
  DrawWidgetFace(cr, mStyle, field, mDragging, GetMouseIsOver());
  DrawText(cr, Fonts(), mStyle.ValueText, field, DisplayText());
}

}  // namespace igraphics
