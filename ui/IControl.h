#pragma once
// The base of every control: rectangle, value, parameter binding, tag and
// group, visibility, and the action functions.
//
// A control turns input into a normalised value in one place and draws in
// Draw(); the two never mix, so behaviour is tested without pixels. Every
// method runs on the window's thread.

#include <cairo.h>

#include <functional>
#include <string>
#include <string_view>

#include "model/ControlTags.h"
#include "model/IParam.h"
#include "ui/IGraphicsStructs.h"
#include "ui/IGraphicsTypes.h"

namespace igraphics {

class IGraphics;
class IControl;

using IActionFunction = std::function<void(IControl*)>;

inline constexpr int kNoParameter = -1;
using kr7::kNoTag;
inline constexpr float kDisabledBlend = 0.25f;
inline constexpr int kDrawnEachTime = -1;

class IControl {
 public:
  explicit IControl(const Rect& bounds, int paramIdx = kNoParameter, IActionFunction action = nullptr);
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;
  virtual ~IControl() = default;

  // --- Drawing ---------------------------------------------------------------
  // cr is in design units; the context has already applied scale and opacity.
  virtual void Draw(cairo_t* cr) = 0;
  // Which of its fixed pictures the control shows, for one whose picture
  // depends on nothing but that number, its draw rectangle and the scale:
  // the context then keeps the picture as pixels of the device and composes
  // them instead of drawing again. kDrawnEachTime for every other control.
  virtual int StaticPicture() const { return kDrawnEachTime; }

  // --- Input (design units) --------------------------------------------------
  virtual void OnMouseDown(float x, float y, const IMouseMod& mod);
  virtual void OnMouseUp(float x, float y, const IMouseMod& mod);
  virtual void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod);
  // Comes after the mouse-down of the second click (see IGraphics), so by
  // default it adds nothing to that click.
  virtual void OnMouseDblClick(float x, float y, const IMouseMod& mod);
  virtual void OnMouseWheel(float x, float y, const IMouseMod& mod, float d);
  virtual void OnMouseOver(float x, float y, const IMouseMod& mod);
  virtual void OnMouseOut();
  // The shared text editor closed; accepted is false when it was cancelled.
  virtual void OnTextEntryCompletion(std::string_view text, bool accepted);
  // The shared popup menu closed with item index, or -1 when dismissed.
  virtual void OnPopupMenuSelection(int index);

  // --- Life cycle --------------------------------------------------------------
  // Called once the control is in a context's list (or is one of its shared
  // controls); a bound control picks up its parameter's value here.
  virtual void OnAttached();
  // The drawing scale changed: drop whatever was cached at the old scale.
  virtual void OnRescale() {}
  // The rectangle was moved or resized.
  virtual void OnResize() {}
  // The application moved the bound parameter (no action is called).
  virtual void SetValueFromDelegate(double normalised);

  // --- State -----------------------------------------------------------------
  const Rect& GetRECT() const { return mRECT; }
  // Where the control may paint: its rectangle, unless its artwork overflows.
  virtual Rect GetDrawRECT() const { return mRECT; }
  void SetRECT(const Rect& bounds);
  int GetParamIdx() const { return mParamIdx; }
  // The bound parameter, or nullptr without a binding or outside a context.
  const iplug::IParam* GetParam() const;
  double GetValue() const { return mValue; }
  // Sets the normalised value (clamped to 0..1) without calling the action.
  virtual void SetValue(double normalised);
  int GetTag() const { return mTag; }
  const std::string& GetGroup() const { return mGroup; }
  bool IsHidden() const { return mHidden; }
  virtual void Hide(bool hide);
  bool IsDisabled() const { return mDisabled; }
  virtual void SetDisabled(bool disable);
  float GetBlend() const { return mDisabled ? kDisabledBlend : 1.f; }
  bool GetIgnoreMouse() const { return mIgnoreMouse; }
  void SetIgnoreMouse(bool ignore) { mIgnoreMouse = ignore; }
  bool GetMouseIsOver() const { return mMouseIsOver; }
  // Whether the control takes pointer events at all (hit testing).
  bool TakesMouse() const { return !mHidden && !mDisabled && !mIgnoreMouse; }
  // Whether a pointer event at (x, y) is this control's (hit testing).
  virtual bool IsHit(float x, float y) const { return mRECT.Contains(x, y); }

  void SetActionFunction(IActionFunction action) { mAction = std::move(action); }
  void SetAnimationEndActionFunction(IActionFunction action) { mAnimationEndAction = std::move(action); }
  const IActionFunction& GetActionFunction() const { return mAction; }

  // Mark changed: redraws; with triggerAction also pushes the value to the
  // bound parameter and calls the action function.
  void SetDirty(bool triggerAction = true);
  // Redraws the control's rectangle only.
  void SetDirtyRegion();

  IGraphics* GetUI() const { return mUI; }

  // --- Animation -------------------------------------------------------------
  // Runs for durationMs from now, redrawing each idle step; at the end the
  // animation-end action is called.
  void StartAnimation(double durationMs);
  bool IsAnimating() const { return mAnimationDuration > 0.0; }
  // 0..1 of the running animation, 0 when none runs.
  double GetAnimationProgress() const;
  // Advances to nowMs; returns false once the animation has ended.
  bool Animate(double nowMs);

 protected:
  // The user changed the control: stores v (snapped to the parameter's steps)
  // and marks it changed with action.
  void SetValueFromUserInput(double v);
  // v snapped to the nearest step of a stepped bound parameter, clamped 0..1.
  double SnapToParam(double v) const;

  // The drawing context's fonts; valid only while attached.
  const class FontRegistry& Fonts() const;

 private:
  friend class IGraphics;
  void Attach(IGraphics* ui, int tag, std::string_view group);

  Rect mRECT;
  int mParamIdx;
  double mValue = 0.0;
  int mTag = kNoTag;
  std::string mGroup;
  bool mHidden = false;
  bool mDisabled = false;
  bool mIgnoreMouse = false;
  bool mMouseIsOver = false;
  IActionFunction mAction;
  IActionFunction mAnimationEndAction;
  IGraphics* mUI = nullptr;
  double mAnimationStart = 0.0;
  double mAnimationDuration = 0.0;
  double mAnimationProgress = 0.0;
};

}  // namespace igraphics
