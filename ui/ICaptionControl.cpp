#include "ui/ICaptionControl.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "ui/DrawText.h"
#include "ui/IGraphics.h"

namespace igraphics {

std::optional<double> ParseNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

ICaptionControl::ICaptionControl(const Rect& bounds, int paramIdx, const TextStyle& style, Colour background)
    : ITextControl(bounds, paramIdx, {}, style, background) {
  SetIgnoreMouse(false);
}

void ICaptionControl::OnAttached() {
  ITextControl::OnAttached();
  UpdateText();
}

void ICaptionControl::SetValue(double normalised) {
  ITextControl::SetValue(normalised);
  UpdateText();
}

void ICaptionControl::UpdateText() {
  if (const iplug::IParam* param = GetParam()) SetStr(param->DisplayTextForValue(param->FromNormalized(GetValue())));
}

IPopupMenu ICaptionControl::MakeMenu() const {
  IPopupMenu menu;
  const iplug::IParam* param = GetParam();
  if (param == nullptr) return menu;
  const double current = param->FromNormalized(GetValue());
  for (int i = 0; i < param->NumDisplayTexts(); ++i) {
    const auto [value, text] = param->DisplayTextAt(i);
    menu.AddItem(text, true, value == current);
  }
  return menu;
}

void ICaptionControl::OnMouseDown(float, float, const IMouseMod&) {
  const iplug::IParam* param = GetParam();
  IGraphics* ui = GetUI();
  if (param == nullptr || ui == nullptr) return;
  if (param->NumDisplayTexts() > 0) {
    ui->CreatePopupMenu(*this, MakeMenu(), GetRECT());
  } else {
    ui->CreateTextEntry(*this, GetTextStyle(), GetRECT(), GetStr());
  }
}

void ICaptionControl::OnPopupMenuSelection(int index) {
  const iplug::IParam* param = GetParam();
  if (param == nullptr || index < 0 || index >= param->NumDisplayTexts()) return;
  SetValueFromUserInput(param->ToNormalized(param->DisplayTextAt(index).first));
}

void ICaptionControl::OnTextEntryCompletion(std::string_view text, bool accepted) {
  const iplug::IParam* param = GetParam();
  if (!accepted || param == nullptr) return;
  // A text that is not a number leaves the parameter as it was.
  if (const auto value = ParseNumber(text)) SetValueFromUserInput(param->ToNormalized(*value));
}

Rect ICaptionControl::TriangleRect() const {
  const iplug::IParam* param = GetParam();
  if (param == nullptr || param->Type() != iplug::IParam::EParamType::kTypeEnum) return {};
  const Rect& r = GetRECT();
  const float size = GetTextStyle().Size;
  const float w = size * 0.5f;
  const float h = size / 3.f;
  const float top = r.MH() - h * 0.5f;
  if (GetTextStyle().Align == EAlign::Far) return {r.L, top, r.L + w, top + h};
  return {r.R - w, top, r.R, top + h};
}

Rect ICaptionControl::TextRect() const {
  const Rect tri = TriangleRect();
  if (tri.Empty()) return GetRECT();
  // A gap as wide as the triangle's half between the two.
  const float clear = tri.W() * 1.5f;
  const Rect& r = GetRECT();
  return GetTextStyle().Align == EAlign::Far ? Rect{r.L + clear, r.T, r.R, r.B} : Rect{r.L, r.T, r.R - clear, r.B};
}

void ICaptionControl::Draw(cairo_t* cr) {
  ITextControl::Draw(cr);
  const Rect tri = TriangleRect();
  if (tri.Empty()) return;
  SetSourceColour(cr, CurrentTextColour());
  cairo_move_to(cr, tri.L, tri.T);
  cairo_line_to(cr, tri.R, tri.T);
  cairo_line_to(cr, tri.MW(), tri.B);
  cairo_close_path(cr);
  cairo_fill(cr);
}

}  // namespace igraphics
