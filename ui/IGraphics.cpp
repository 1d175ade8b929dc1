#include "ui/IGraphics.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "ui/IBubbleControl.h"
#include "ui/ICornerResizerControl.h"
#include "ui/IPanelControl.h"
#include "ui/IPopupMenu.h"
#include "ui/ITextEntryControl.h"

namespace igraphics {

IGraphics::IGraphics(iplug::IEditorDelegate* delegate, int width, int height, float scale)
    : mDelegate(delegate),
      mWidth(std::max(1, width)),
      mHeight(std::max(1, height)),
      mScale(std::isfinite(scale) ? std::clamp(scale, kDefaultMinScale, kDefaultMaxScale) : 1.f) {}

IGraphics::~IGraphics() = default;

double IGraphics::NowMs() const {
  if (mClock) return mClock();
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// --- The control list ----------------------------------------------------------

IControl* IGraphics::AddControl(std::unique_ptr<IControl> control, int tag, std::string_view group) {
  if (!control) return nullptr;
  IControl* raw = control.get();
  mControls.push_back(std::move(control));
  if (tag != kNoTag) mTags.emplace(tag, raw);
  raw->Attach(this, tag, group);
  Invalidate(raw->GetDrawRECT());
  return raw;
}

IControl* IGraphics::ControlByTag(int tag) const {
  if (tag == kNoTag) return nullptr;
  const auto it = mTags.find(tag);
  return it == mTags.end() ? nullptr : it->second;
}

void IGraphics::ForEachInGroup(std::string_view group, const std::function<void(IControl&)>& f) const {
  if (group.empty()) return;
  for (const auto& c : mControls) {
    if (c->GetGroup() == group) f(*c);
  }
}

void IGraphics::ForEachControl(const std::function<void(IControl&)>& f) const {
  for (const auto& c : mControls) f(*c);
}

IControl* IGraphics::GetControl(int index) const {
  if (index < 0 || index >= ControlCount()) return nullptr;
  return mControls[static_cast<std::size_t>(index)].get();
}

void IGraphics::SendParameterValueFromDelegate(int paramIdx, double normalised) {
  if (paramIdx < 0) return;
  for (const auto& c : mControls) {
    if (c->GetParamIdx() == paramIdx) c->SetValueFromDelegate(normalised);
  }
}

void IGraphics::SendParameterValueFromUI(IControl& caller) {
  const int paramIdx = caller.GetParamIdx();
  if (paramIdx < 0 || mDelegate == nullptr) return;
  mDelegate->SendParameterValueFromUI(paramIdx, caller.GetValue());
  // Other controls of the same parameter follow what the parameter now holds.
  const iplug::IParam* param = mDelegate->GetParam(paramIdx);
  const double normalised = param != nullptr ? param->GetNormalized() : caller.GetValue();
  for (const auto& c : mControls) {
    if (c.get() != &caller && c->GetParamIdx() == paramIdx) c->SetValueFromDelegate(normalised);
  }
}

// --- Shared controls -----------------------------------------------------------

IControl* IGraphics::AddBackgroundPanel(Colour colour) {
  auto panel = std::make_unique<IPanelControl>(GetBounds(), colour);
  IControl* raw = panel.get();
  // The panel is always the first control, whatever was added before it.
  mControls.insert(mControls.begin(), std::move(panel));
  raw->Attach(this, kNoTag, {});
  Invalidate(raw->GetRECT());
  return raw;
}

void IGraphics::AttachShared(IControl& control) { control.Attach(this, kNoTag, {}); }

void IGraphics::AddCornerResizer(EUIResizerMode, bool, Colour colour, Colour mouseOverColour, Colour dragColour,
                                 float size) {
  // Both modes scale the whole surface: this editor has no reflowing layout.
  mCornerResizer = std::make_unique<ICornerResizerControl>(size, colour, mouseOverColour, dragColour);
  AttachShared(*mCornerResizer);
}

void IGraphics::AddTextEditor() {
  mTextEntry = std::make_unique<ITextEntryControl>();
  AttachShared(*mTextEntry);
}

void IGraphics::AddPopupMenu(const TextStyle& style, const Rect& bounds) {
  mPopupMenu = std::make_unique<IPopupMenuControl>(style, bounds);
  AttachShared(*mPopupMenu);
}

void IGraphics::AddValueBubble(const TextStyle& style) {
  mBubble = std::make_unique<IBubbleControl>(style);
  AttachShared(*mBubble);
}

void IGraphics::CreateTextEntry(IControl& caller, const TextStyle& style, const Rect& bounds, std::string_view text) {
  if (mTextEntry) mTextEntry->Open(caller, style, bounds, text);
}

void IGraphics::CreatePopupMenu(IControl& caller, const IPopupMenu& menu, const Rect& bounds) {
  if (mPopupMenu) mPopupMenu->Open(caller, menu, bounds);
}

void IGraphics::ShowBubble(const Rect& anchor, std::string_view text) {
  if (mBubble) mBubble->Show(anchor, text);
}

void IGraphics::HideBubble() {
  if (mBubble) mBubble->Dismiss();
}

std::vector<IControl*> IGraphics::SharedControls() const {
  std::vector<IControl*> shared;
  for (IControl* c : std::initializer_list<IControl*>{mPopupMenu.get(), mTextEntry.get(), mBubble.get(),
                                                      mCornerResizer.get()}) {
    if (c != nullptr) shared.push_back(c);
  }
  return shared;
}

// --- Host operations -------------------------------------------------------------

EMsgBoxResult IGraphics::ShowMessage(std::string_view text, std::string_view caption, EMsgBoxType buttons,
                                     const std::function<void(EMsgBoxResult)>& completion) {
  const EMsgBoxResult result = mHost != nullptr ? mHost->ShowMessage(text, caption, buttons) : kCancel;
  if (completion) completion(result);
  return result;
}

FileDialogResult IGraphics::AskForFile(std::string_view initialName, std::string_view initialFolder,
                                       EFileAction action, std::string_view extension) {
  if (mHost == nullptr) return {};
  return mHost->AskForFile(initialName, initialFolder, action, extension);
}

bool IGraphics::OpenLink(std::string_view address) { return mHost != nullptr && mHost->OpenLink(address); }

// --- Size and scale ----------------------------------------------------------------

void IGraphics::SetDesignSize(int width, int height, float scale) {
  const int w = std::max(1, width);
  const int h = std::max(1, height);
  const float s = std::isfinite(scale) ? std::clamp(scale, mMinScale, mMaxScale) : mScale;
  if (w == mWidth && h == mHeight && s == mScale) return;
  mWidth = w;
  mHeight = h;
  mScale = s;
  for (const auto& c : mControls) c->OnRescale();
  for (IControl* c : SharedControls()) c->OnRescale();
  SetAllControlsDirty();
  if (mHost != nullptr) mHost->OnScaleChanged(WindowWidth(), WindowHeight());
}

void IGraphics::SetScaleLimits(float minScale, float maxScale) {
  if (!(minScale > 0.f) || !(maxScale >= minScale)) return;
  mMinScale = minScale;
  mMaxScale = maxScale;
  SetScale(mScale);
}

int IGraphics::WindowWidth() const { return static_cast<int>(std::lround(mWidth * mScale)); }
int IGraphics::WindowHeight() const { return static_cast<int>(std::lround(mHeight * mScale)); }

// --- Resources -----------------------------------------------------------------------

bool IGraphics::LoadFontResource(std::string_view fontId, std::string_view fileName) {
  if (!mProvider) return false;
  const auto data = mProvider(fileName);
  return data && mFonts.Register(fontId, *data);
}

IBitmap IGraphics::LoadImageResource(std::string_view fileName, int nStates, bool framesAreHorizontal,
                                     int targetScale) {
  const int target = targetScale > 0 ? targetScale : mScreenScale;
  const ImageCache::Entry entry = mImages.Load(mProvider, fileName, target);
  if (!entry.Image) return {};
  return IBitmap(entry.Image, entry.Width, entry.Height, nStates, framesAreHorizontal, entry.Scale,
                 std::string(fileName));
}

ISVG IGraphics::LoadSvgResource(std::string_view fileName, std::string_view, float dpi) {
  return ISVG::Load(mProvider, fileName, dpi);
}

// --- Events ---------------------------------------------------------------------------

IControl* IGraphics::GetMouseControl(float x, float y, bool mouseOver) const {
  if (mPopupMenu && mPopupMenu->IsOpen()) return mPopupMenu.get();
  for (IControl* c : SharedControls()) {
    if (c->TakesMouse() && c->IsHit(x, y)) return c;
  }
  const int lowest = mouseOver && mTrackMouseOver ? 1 : 0;
  for (int i = ControlCount() - 1; i >= lowest; --i) {
    IControl* c = mControls[static_cast<std::size_t>(i)].get();
    if (c->TakesMouse() && c->IsHit(x, y)) return c;
  }
  return nullptr;
}

void IGraphics::OnMouseDown(float x, float y, const IMouseMod& mod) {
  if (mTextEntry && mTextEntry->IsOpen() && !mTextEntry->GetRECT().Contains(x, y)) mTextEntry->Commit();
  mCaptured = GetMouseControl(x, y, false);
  if (mCaptured != nullptr) mCaptured->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseUp(float x, float y, const IMouseMod& mod) {
  IControl* captured = mCaptured;
  mCaptured = nullptr;
  if (captured != nullptr) captured->OnMouseUp(x, y, mod);
  HideCursor(false);
}

void IGraphics::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {
  if (mCaptured != nullptr) mCaptured->OnMouseDrag(x, y, dX, dY, mod);
}

void IGraphics::OnMouseDblClick(float x, float y, const IMouseMod& mod) {
  if (mPopupMenu && mPopupMenu->IsOpen()) return;
  mCaptured = GetMouseControl(x, y, false);
  if (mCaptured != nullptr) mCaptured->OnMouseDblClick(x, y, mod);
}

void IGraphics::OnMouseWheel(float x, float y, const IMouseMod& mod, float d) {
  if (mPopupMenu && mPopupMenu->IsOpen()) return;
  if (IControl* c = GetMouseControl(x, y, false)) c->OnMouseWheel(x, y, mod, d);
}

void IGraphics::OnMouseOver(float x, float y, const IMouseMod& mod) {
  if (!mTrackMouseOver) return;
  IControl* c = GetMouseControl(x, y, true);
  if (c != mMouseOver && mMouseOver != nullptr) mMouseOver->OnMouseOut();
  mMouseOver = c;
  if (c != nullptr) c->OnMouseOver(x, y, mod);
}

void IGraphics::OnMouseOut() {
  if (mMouseOver != nullptr) mMouseOver->OnMouseOut();
  mMouseOver = nullptr;
}

bool IGraphics::OnKeyDown(const IKeyPress& key) {
  if (mPopupMenu && mPopupMenu->IsOpen()) return mPopupMenu->OnKey(key);
  if (mTextEntry && mTextEntry->IsOpen()) return mTextEntry->OnKey(key);
  return false;
}

void IGraphics::OnControlStateChanged(IControl& control) {
  if (control.TakesMouse()) return;
  // A control that stops taking the mouse lets go of the pointer at once.
  if (mMouseOver == &control) {
    control.OnMouseOut();
    mMouseOver = nullptr;
  }
  if (mCaptured == &control) mCaptured = nullptr;
}

void IGraphics::HideCursor(bool hide) {
  if (hide == mCursorHidden) return;
  mCursorHidden = hide;
  if (mHost != nullptr) mHost->HideCursor(hide);
}

// --- Redrawing ------------------------------------------------------------------------

namespace {

// Beyond this many separate areas one area around them all is cheaper to
// track and hardly dearer to draw.
constexpr std::size_t kMaxDirtyRects = 8;

}  // namespace

void IGraphics::Invalidate(const Rect& area) {
  Rect added = area.Intersection(GetBounds());
  if (added.Empty()) return;
  const bool wasClean = mDirty.empty();
  // Overlapping areas become one; the union may reach others, so repeat.
  for (bool merged = true; merged;) {
    merged = false;
    for (auto it = mDirty.begin(); it != mDirty.end(); ++it) {
      if (it->Intersects(added)) {
        added = added.Union(*it);
        mDirty.erase(it);
        merged = true;
        break;
      }
    }
  }
  mDirty.push_back(added);
  if (mDirty.size() > kMaxDirtyRects) mDirty = {TakeDirtyRect()};
  if (wasClean && mHost != nullptr) mHost->RequestRedraw();
}

std::vector<Rect> IGraphics::TakeDirtyRects() { return std::exchange(mDirty, {}); }

Rect IGraphics::TakeDirtyRect() {
  Rect all;
  for (const Rect& r : TakeDirtyRects()) all = all.Union(r);
  return all;
}

void IGraphics::DrawControl(cairo_t* cr, IControl& control) {
  cairo_save(cr);
  if (control.IsDisabled()) {
    // The group surface covers only the clip, so keep it to the control.
    const Rect r = control.GetDrawRECT().GetPadded(1.f);
    cairo_rectangle(cr, r.L, r.T, r.W(), r.H());
    cairo_clip(cr);
    cairo_push_group(cr);
    DrawPicture(cr, control);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, control.GetBlend());
  } else {
    DrawPicture(cr, control);
  }
  cairo_restore(cr);
}

void IGraphics::DrawPicture(cairo_t* cr, IControl& control) {
  const int picture = control.StaticPicture();
  if (picture == kDrawnEachTime) {
    control.Draw(cr);
    return;
  }
  StaticLayer& kept = mStaticLayers[&control];
  if (kept.picture != picture) {
    kept.layer.Invalidate();
    kept.picture = picture;
  }
  if (!mRecordLayers && !kept.layer.IsValid()) {
    control.Draw(cr);
    return;
  }
  kept.layer.Paint(cr, control.GetDrawRECT(), [&control](cairo_t* layer) { control.Draw(layer); });
}

std::size_t IGraphics::PaintBackdrop(cairo_t* cr) {
  std::vector<BackdropPart> parts;
  std::size_t end = 0;
  for (; end < mControls.size(); ++end) {
    IControl& c = *mControls[end];
    const int picture = c.StaticPicture();
    if (picture == kDrawnEachTime || c.IsDisabled()) break;
    if (!c.IsHidden()) parts.push_back({&c, c.GetDrawRECT(), picture});
  }
  cairo_save(cr);
  if (parts != mBackdropParts) {
    mBackdrop.Invalidate();
    mBackdropParts = std::move(parts);
  }
  if (mBackdropParts.empty() || (!mRecordLayers && !mBackdrop.IsValid())) {
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    for (const BackdropPart& part : mBackdropParts) part.control->Draw(cr);
  } else {
    // Copied, not blended: the backdrop replaces whatever the area held.
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    mBackdrop.Paint(cr, GetBounds(), [this](cairo_t* layer) {
      for (const BackdropPart& part : mBackdropParts) part.control->Draw(layer);
    });
  }
  cairo_restore(cr);
  return end;
}

void IGraphics::Draw(cairo_t* cr, const Rect& area) {
  // Whole device pixels, so that edges redrawn alone match a full redraw.
  const double l = std::floor(area.L * mScale);
  const double t = std::floor(area.T * mScale);
  const double r = std::ceil(area.R * mScale);
  const double b = std::ceil(area.B * mScale);
  if (r <= l || b <= t) return;
  const Rect designArea{static_cast<float>(l / mScale), static_cast<float>(t / mScale),
                        static_cast<float>(r / mScale), static_cast<float>(b / mScale)};
  // Static pictures are recorded only in a full redraw after the first: the
  // first frame costs what drawing costs, and a partial redraw draws a
  // picture not yet recorded rather than record all of it.
  const bool full = designArea.Intersection(GetBounds()) == GetBounds();
  mRecordLayers = full && mFullRedraws > 0;
  if (full) ++mFullRedraws;
  cairo_save(cr);
  cairo_rectangle(cr, l, t, r - l, b - t);
  cairo_clip(cr);
  cairo_scale(cr, mScale, mScale);
  for (std::size_t i = PaintBackdrop(cr); i < mControls.size(); ++i) {
    IControl& c = *mControls[i];
    if (!c.IsHidden() && c.GetDrawRECT().Intersects(designArea)) DrawControl(cr, c);
  }
  const auto shared = SharedControls();
  for (auto it = shared.rbegin(); it != shared.rend(); ++it) {
    if (!(*it)->IsHidden() && (*it)->GetDrawRECT().Intersects(designArea)) DrawControl(cr, **it);
  }
  cairo_restore(cr);
}

void IGraphics::StartAnimating(IControl& control) {
  if (std::find(mAnimating.begin(), mAnimating.end(), &control) == mAnimating.end()) {
    mAnimating.push_back(&control);
  }
}

void IGraphics::OnIdle() {
  const double now = NowMs();
  // An animation-end action may start another animation, so work on a copy.
  std::vector<IControl*> running;
  running.swap(mAnimating);
  for (IControl* c : running) {
    if (c->Animate(now)) StartAnimating(*c);
  }
}

}  // namespace igraphics
