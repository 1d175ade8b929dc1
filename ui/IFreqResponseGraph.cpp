#include "ui/IFreqResponseGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ui/DrawText.h"

namespace igraphics {
namespace {
constexpr Colour kGridColour{255, 120, 120, 120};
constexpr Colour kReadoutTextColour{255, 0, 0, 0};
constexpr float kLabelSize = 18.f;
constexpr float kLabelBox = 40.f;
constexpr float kLabelBand = 20.f;
constexpr float kReadoutWidth = 90.f;
constexpr float kReadoutHeight = 28.f;
constexpr float kReadoutOffset = 10.f;
constexpr float kReadoutFlipDistance = 100.f;
constexpr float kReadoutTextSize = 14.f;
constexpr double kCurveWidth = 3.0;

struct FrequencyLabel {
  double Hz;
  const char* Text;
};
constexpr std::array<FrequencyLabel, 6> kFrequencyLabels{
    {{50, "50Hz"}, {100, "100Hz"}, {500, "500Hz"}, {1000, "1kHz"}, {5000, "5kHz"}, {10000, "10kHz"}}};

double TableAt(std::span<const double> table, long i) {
  return i >= 0 && static_cast<std::size_t>(i) < table.size() ? table[static_cast<std::size_t>(i)] : 0.0;
}
}  // namespace

double CatmullRomAt(std::span<const double> table, double t) {
  const double v = std::floor(t);
  const double u = t - v;
  const long base = std::max(static_cast<long>(v), 1L);
  const double pm1 = TableAt(table, base - 1);
  const double p0 = TableAt(table, base);
  const double p1 = TableAt(table, base + 1);
  const double p2 = TableAt(table, base + 2);
  return ((2.0 * p1 + pm1 - (5.0 * p0 + p2) / 2.0 + (3.0 * (p0 - p1) - pm1 + p2) / 2.0 * u) * u + (p1 - pm1) / 2.0) *
             u +
         p0;
}

IFreqResponseGraph::IFreqResponseGraph(const Rect& bounds, Colour colour)
    : IControl(bounds),
      mColour(colour),
      mMagnitudes(kTransformSize / 2, 0.0),
      mLogTable(kTransformSize / 2, 0.0) {
  OnResize();
  SetRange(mLow, mHigh, mRange, mTop);
}

void IFreqResponseGraph::OnResize() {
  const Rect& r = GetRECT();
  mL = static_cast<int>(r.L);
  mT = static_cast<int>(r.T);
  mW = std::max(0, static_cast<int>(r.W()));
  mH = std::max(0, static_cast<int>(r.H()));
  mGridLayer.Invalidate();
  ComputeCurve();
}

void IFreqResponseGraph::SetRange(double lowHz, double highHz, double dbRange, double topDb) {
  // An axis that cannot be drawn keeps the previous one.
  if (!(lowHz > 0.0) || !(highHz > lowHz) || !(dbRange > 0.0) || !std::isfinite(highHz) || !std::isfinite(topDb)) {
    return;
  }
  mLow = lowHz;
  mHigh = highHz;
  mRange = dbRange;
  mTop = topDb;
  const double span = std::log2(mHigh) - std::log2(mLow);
  for (std::size_t i = 0; i < kGridFrequencies.size(); ++i) {
    mFreqFractions[i] = (std::log2(kGridFrequencies[i]) - std::log2(mLow)) / span;
  }
  for (std::size_t i = 0; i < kGridLevels.size(); ++i) {
    mLevelFractions[i] = kGridLevels[i] > mTop ? 0.0 : (mTop - kGridLevels[i]) / mRange;
  }
  mGridLayer.Invalidate();
  ComputeCurve();
  SetDirtyRegion();
}

void IFreqResponseGraph::SetImpulseResponse(std::span<const double> samples) {
  mFft.Magnitudes(samples, mMagnitudes);
  const double half = kTransformSize / 2.0;
  const double ratio = mHigh / mLow;
  for (std::size_t j = 0; j < mLogTable.size(); ++j) {
    const double f = mLow * std::pow(ratio, static_cast<double>(j) / half);
    mLogTable[j] = CatmullRomAt(mMagnitudes, f * half / (kSampleRate / 2.0));
  }
  ComputeCurve();
  SetDirtyRegion();
}

void IFreqResponseGraph::ComputeCurve() {
  mCurve.assign(static_cast<std::size_t>(mW), static_cast<double>(mH));
  const double half = kTransformSize / 2.0;
  for (int c = 0; c < mW; ++c) {
    const double m = CatmullRomAt(mLogTable, c * half / mW);
    const double y = (mH / mRange) * (mTop - 20.0 * std::log10(std::max(m, kMagnitudeFloor)));
    mCurve[static_cast<std::size_t>(c)] = std::clamp(y, 0.0, static_cast<double>(mH));
  }
}

void IFreqResponseGraph::OnMouseOver(float x, float y, const IMouseMod& mod) {
  SetDirtyRegion();
  mPointerX = x;
  mPointerY = y;
  mOver = true;
  IControl::OnMouseOver(x, y, mod);
  SetDirtyRegion();
}

void IFreqResponseGraph::OnMouseOut() {
  SetDirtyRegion();
  mOver = false;
  IControl::OnMouseOut();
}

Rect IFreqResponseGraph::ReadoutRect() const {
  const float dx = mPointerX - static_cast<float>(mL);
  const float top = mPointerY + kReadoutOffset;
  if (dx >= static_cast<float>(mW) - kReadoutFlipDistance) {
    return {mPointerX - kReadoutWidth, top, mPointerX, top + kReadoutHeight};
  }
  const float left = mPointerX + kReadoutOffset;
  return {left, top, left + kReadoutWidth, top + kReadoutHeight};
}

std::string IFreqResponseGraph::ReadoutFrequencyText() const {
  const double dx = mPointerX - mL;
  const double f = mW > 0 ? mLow * std::pow(mHigh / mLow, dx / mW) : mLow;
  char buffer[64];
  if (f >= 1000.0) {
    std::snprintf(buffer, sizeof buffer, "Freq: %2.3f kHz", f / 1000.0);
  } else {
    std::snprintf(buffer, sizeof buffer, "Freq: %4.0f Hz", f);
  }
  return buffer;
}

std::string IFreqResponseGraph::ReadoutGainText() const {
  const double level = mH > 0 ? mTop - mRange / mH * (mPointerY - mT) : mTop;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "Gain: %4.1f dB", level);
  return buffer;
}

Rect IFreqResponseGraph::GetDrawRECT() const {
  // The readout may hang over the edges near the right and bottom.
  return mOver ? GetRECT().Union(ReadoutRect()) : GetRECT();
}

void IFreqResponseGraph::DrawGrid(cairo_t* cr) const {
  const double l = mL, t = mT, w = mW, h = mH;
  const TextStyle label(kLabelSize, kGridColour);
  // Level labels are wider than their box; right-aligned they stay inside the graph.
  const TextStyle levelLabel = label.WithAlign(EAlign::Far);
  SetSourceColour(cr, kGridColour);
  cairo_set_line_width(cr, 1.0);
  for (double fraction : mFreqFractions) {
    const double x = l + w * fraction;
    cairo_move_to(cr, x, t + kLabelBand);
    cairo_line_to(cr, x, t + h - 1.0);
    cairo_stroke(cr);
  }
  const double span = std::log2(mHigh) - std::log2(mLow);
  for (const auto& [hz, text] : kFrequencyLabels) {
    const auto x = static_cast<float>(l + w * (std::log2(hz) - std::log2(mLow)) / span);
    DrawText(cr, Fonts(), label, {x - kLabelBox / 2, static_cast<float>(t), x + kLabelBox / 2,
                                  static_cast<float>(t) + kLabelBand}, text);
  }
  for (std::size_t i = 0; i < kGridLevels.size(); ++i) {
    const double y = t + h * mLevelFractions[i];
    SetSourceColour(cr, kGridColour);
    cairo_set_line_width(cr, kGridLevels[i] == 0.0 ? 2.0 : 1.0);
    cairo_move_to(cr, l, y);
    cairo_line_to(cr, l + w - kLabelBox, y);
    cairo_stroke(cr);
    char text[32];
    std::snprintf(text, sizeof text, "%4.0f dB", kGridLevels[i]);
    const auto yf = static_cast<float>(y);
    DrawText(cr, Fonts(), levelLabel, {static_cast<float>(l + w) - kLabelBox, yf - 10.f, static_cast<float>(l + w),
                                  yf + 10.f}, text);
  }
}

void IFreqResponseGraph::Draw(cairo_t* cr) {
  mGridLayer.Paint(cr, GetRECT(), [this](cairo_t* layer) { DrawGrid(layer); });

  SetSourceColour(cr, mColour);
  cairo_set_line_width(cr, kCurveWidth);
  // One segment from each column whose position lies strictly inside to the
  // next column; columns at the very top or bottom are left out, so the curve
  // breaks there. Runs of segments share one polyline, which strokes faster.
  bool joined = false;
  for (int c = 0; c + 1 < mW; ++c) {
    const double y0 = mCurve[static_cast<std::size_t>(c)];
    if (!(y0 > 0.0 && y0 < mH)) {
      joined = false;
      continue;
    }
    if (!joined) cairo_move_to(cr, mL + c, mT + y0);
    cairo_line_to(cr, mL + c + 1, mT + mCurve[static_cast<std::size_t>(c) + 1]);
    joined = true;
  }
  cairo_stroke(cr);

  if (!mOver) return;
  const Rect box = ReadoutRect();
  FillRect(cr, box, mColour);
  const TextStyle readout(kReadoutTextSize, kReadoutTextColour, kDefaultFontId, EAlign::Centre, EVAlign::Middle);
  DrawText(cr, Fonts(), readout, {box.L, box.T, box.R, box.MH()}, ReadoutFrequencyText());
  DrawText(cr, Fonts(), readout, {box.L, box.MH(), box.R, box.B}, ReadoutGainText());
}

}  // namespace igraphics
