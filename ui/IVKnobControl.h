#pragma once
// The vector knob: a track arc, a value arc with a dark halo, and a pointer.
// Without a parameter it is a progress display set by value.

#include <string>

#include "ui/IKnobControlBase.h"
#include "ui/LayerCache.h"

namespace igraphics {

class IVKnobControl : public IKnobControlBase {
 public:
  IVKnobControl(const Rect& bounds, int paramIdx, std::string_view label, const WidgetStyle& style,
                bool valueIsEditable = false, bool valueInWidget = false, float startAngle = -135.f,
                float endAngle = 135.f, float anchorAngle = -135.f, EDirection direction = EDirection::Vertical,
                double gearing = 4.0, float trackSize = 2.f);

  void Draw(cairo_t* cr) override;
  void OnRescale() override { mTrackLayer.Invalidate(); }
  void OnResize() override { mTrackLayer.Invalidate(); }
  // A centred square-ish area: half the width when the rectangle is at least
  // as tall as wide, else the rectangle's height.
  float DragLength() const override;
  float Radius() const;
  double ValueAngle() const { return mStartAngle + (mEndAngle - mStartAngle) * GetValue(); }
  const std::string& GetLabel() const { return mLabel; }
  const WidgetStyle& GetStyle() const { return mStyle; }

 protected:
  bool HidesCursor() const override { return mStyle.HideCursor; }

 private:
  // The part that never changes with the value: the track arc.
  void DrawTrack(cairo_t* cr) const;

  std::string mLabel;
  WidgetStyle mStyle;
  float mStartAngle;
  float mEndAngle;
  float mAnchorAngle;
  float mTrackSize;
  LayerCache mTrackLayer;
};

}  // namespace igraphics
