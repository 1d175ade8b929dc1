#pragma once
// The drawing context: owns the ordered control list, routes pointer and key
// events to the controls, keeps track of what must be redrawn, loads the
// artwork, and reaches the platform through an IGraphicsHost.
//
// Platform-free: it draws with Cairo into whatever surface its host gives it
// and takes events in design units, so it runs headless in tests. Every
// method runs on the window's thread; only the image cache may be used from
// another thread.

#include <cairo.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/FontRegistry.h"
#include "ui/IBitmap.h"
#include "ui/IControl.h"
#include "ui/IEditorDelegate.h"
#include "ui/IGraphicsHost.h"
#include "ui/IGraphicsStructs.h"
#include "ui/IGraphicsTypes.h"
#include "ui/ISVG.h"
#include "ui/ImageCache.h"
#include "ui/LayerCache.h"

namespace igraphics {

class ITextEntryControl;
class IPopupMenu;
class IPopupMenuControl;
class IBubbleControl;
class ICornerResizerControl;

enum class EUIResizerMode { Scale = 0, Size = 1 };

inline constexpr float kDefaultMinScale = 0.25f;
inline constexpr float kDefaultMaxScale = 2.f;

class IGraphics {
 public:
  // Milliseconds on a monotonic clock; tests install a manual one.
  using Clock = std::function<double()>;

  IGraphics(iplug::IEditorDelegate* delegate, int width, int height, float scale = 1.f);
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;
  ~IGraphics();

  // --- Wiring ----------------------------------------------------------------
  iplug::IEditorDelegate* GetDelegate() const { return mDelegate; }
  void SetHost(IGraphicsHost* host) { mHost = host; }
  IGraphicsHost* GetHost() const { return mHost; }
  void SetResourceProvider(ResourceProvider provider) { mProvider = std::move(provider); }
  void SetClock(Clock clock) { mClock = std::move(clock); }
  double NowMs() const;

  // --- The control list --------------------------------------------------------
  // Appends the control (it becomes the topmost) and records tag and group.
  // A tag already in use keeps pointing at its first control.
  IControl* AddControl(std::unique_ptr<IControl> control, int tag = kNoTag, std::string_view group = {});
  template <class T>
  T* AddControl(std::unique_ptr<T> control, int tag = kNoTag, std::string_view group = {}) {
    T* raw = control.get();
    AddControl(std::unique_ptr<IControl>(std::move(control)), tag, group);
    return raw;
  }
  // nullptr for kNoTag and for tags no control was added with.
  IControl* ControlByTag(int tag) const;
  // Calls f on every control whose group equals group exactly, in list order;
  // the empty name visits nothing.
  void ForEachInGroup(std::string_view group, const std::function<void(IControl&)>& f) const;
  void ForEachControl(const std::function<void(IControl&)>& f) const;
  int ControlCount() const { return static_cast<int>(mControls.size()); }
  IControl* GetControl(int index) const;
  // Moves every control bound to paramIdx to the parameter's value, without
  // action (the application changed the parameter).
  void SendParameterValueFromDelegate(int paramIdx, double normalised);

  // --- Shared controls -----------------------------------------------------------
  IControl* AddBackgroundPanel(Colour colour);
  void AddCornerResizer(EUIResizerMode mode, bool layoutOnResize, Colour colour, Colour mouseOverColour,
                        Colour dragColour, float size);
  void AddTextEditor();
  void AddPopupMenu(const TextStyle& style, const Rect& bounds);
  void AddValueBubble(const TextStyle& style);
  void TrackMouseOver(bool track) { mTrackMouseOver = track; }

  // Opens the shared text editor over bounds; the caller's
  // OnTextEntryCompletion receives the result. Does nothing without AddTextEditor.
  void CreateTextEntry(IControl& caller, const TextStyle& style, const Rect& bounds, std::string_view text);
  // Opens the shared popup menu at bounds; the caller's OnPopupMenuSelection
  // receives the choice. Does nothing without AddPopupMenu or with no items.
  void CreatePopupMenu(IControl& caller, const IPopupMenu& menu, const Rect& bounds);
  void ShowBubble(const Rect& anchor, std::string_view text);
  void HideBubble();
  ITextEntryControl* GetTextEntry() const { return mTextEntry.get(); }
  IPopupMenuControl* GetPopupMenu() const { return mPopupMenu.get(); }
  IBubbleControl* GetBubble() const { return mBubble.get(); }
  ICornerResizerControl* GetCornerResizer() const { return mCornerResizer.get(); }

  // --- Host operations -----------------------------------------------------------
  // Without a host ShowMessage answers Cancel, AskForFile an empty path and
  // OpenLink false. The completion function runs before ShowMessage returns.
  EMsgBoxResult ShowMessage(std::string_view text, std::string_view caption, EMsgBoxType buttons,
                            const std::function<void(EMsgBoxResult)>& completion = nullptr);
  FileDialogResult AskForFile(std::string_view initialName, std::string_view initialFolder,
                              EFileAction action, std::string_view extension);
  bool OpenLink(std::string_view address);

  // --- Size and scale ------------------------------------------------------------
  void SetDesignSize(int width, int height, float scale);
  void SetScale(float scale) { SetDesignSize(mWidth, mHeight, scale); }
  void SetScaleLimits(float minScale, float maxScale);
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  float GetDrawScale() const { return mScale; }
  int WindowWidth() const;
  int WindowHeight() const;
  Rect GetBounds() const { return {0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight)}; }
  // The screen's pixel density (1 or 2), which picks the image variant.
  void SetScreenScale(int scale) { mScreenScale = std::max(1, scale); }
  int GetScreenScale() const { return mScreenScale; }

  // --- Resources -------------------------------------------------------------------
  bool LoadFontResource(std::string_view fontId, std::string_view fileName);
  // targetScale 0 asks for the screen's scale.
  IBitmap LoadImageResource(std::string_view fileName, int nStates = 1, bool framesAreHorizontal = false,
                            int targetScale = 0);
  ISVG LoadSvgResource(std::string_view fileName, std::string_view units = "px", float dpi = 72.f);
  const FontRegistry& Fonts() const { return mFonts; }

  // --- Events (design units) ---------------------------------------------------------
  // A double-click is delivered as the second click's OnMouseDown followed by
  // OnMouseDblClick, then one OnMouseUp, the way GTK reports it.
  void OnMouseDown(float x, float y, const IMouseMod& mod);
  void OnMouseUp(float x, float y, const IMouseMod& mod);
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod);
  void OnMouseDblClick(float x, float y, const IMouseMod& mod);
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d);
  void OnMouseOver(float x, float y, const IMouseMod& mod);
  void OnMouseOut();
  // Returns whether the key was used (by the text editor or popup menu).
  bool OnKeyDown(const IKeyPress& key);
  // The topmost control at (x, y) that takes the mouse; for mouse-over with
  // tracking on the first control of the list is never the target.
  IControl* GetMouseControl(float x, float y, bool mouseOver) const;
  IControl* GetMouseOverControl() const { return mMouseOver; }
  IControl* GetCapturedControl() const { return mCaptured; }

  // --- Redrawing -----------------------------------------------------------------------
  // What changed is kept as a few separate rectangles, so that a knob and
  // the display it writes to, far apart, do not redraw everything between.
  void Invalidate(const Rect& area);
  void SetAllControlsDirty() { Invalidate(GetBounds()); }
  bool IsDirty() const { return !mDirty.empty(); }
  // Returns the areas to redraw (design units, none overlapping) and forgets
  // them.
  std::vector<Rect> TakeDirtyRects();
  // The same as one area: the smallest rectangle around them.
  Rect TakeDirtyRect();
  // Draws every control that meets area, clipped to it, into cr, whose user
  // space is window pixels. The area is cleared first.
  void Draw(cairo_t* cr, const Rect& area);
  // Advances running animations; the host calls it from its timer.
  void OnIdle();

  // --- Used by controls ------------------------------------------------------------------
  void SendParameterValueFromUI(IControl& caller);
  void StartAnimating(IControl& control);
  void OnControlStateChanged(IControl& control);
  void HideCursor(bool hide);

 private:
  // A kept picture of a control, and which of its pictures it is.
  struct StaticLayer {
    LayerCache layer;
    int picture = kDrawnEachTime;
  };
  // The controls at the bottom of the list whose pictures are static, as
  // drawn into the backdrop: visible ones with their rectangles and pictures.
  struct BackdropPart {
    IControl* control;
    Rect rect;
    int picture;
    bool operator==(const BackdropPart&) const = default;
  };

  void DrawControl(cairo_t* cr, IControl& control);
  void DrawPicture(cairo_t* cr, IControl& control);
  // Clears the area and paints the backdrop into it; returns the index of the
  // first control the backdrop does not hold.
  std::size_t PaintBackdrop(cairo_t* cr);
  std::vector<IControl*> SharedControls() const;  // topmost first
  void AttachShared(IControl& control);

  iplug::IEditorDelegate* mDelegate;
  IGraphicsHost* mHost = nullptr;
  ResourceProvider mProvider;
  Clock mClock;
  std::vector<std::unique_ptr<IControl>> mControls;
  std::unordered_map<int, IControl*> mTags;
  std::unique_ptr<ITextEntryControl> mTextEntry;
  std::unique_ptr<IPopupMenuControl> mPopupMenu;
  std::unique_ptr<IBubbleControl> mBubble;
  std::unique_ptr<ICornerResizerControl> mCornerResizer;
  std::vector<IControl*> mAnimating;
  IControl* mCaptured = nullptr;
  IControl* mMouseOver = nullptr;
  bool mTrackMouseOver = false;
  bool mCursorHidden = false;
  int mWidth;
  int mHeight;
  float mScale;
  float mMinScale = kDefaultMinScale;
  float mMaxScale = kDefaultMaxScale;
  int mScreenScale = 1;
  std::vector<Rect> mDirty;
  // Static pictures at the device scale: the backdrop holds the run of static
  // controls the list starts with (background colour, photograph) in one
  // surface, so a full redraw copies it once; later static controls keep a
  // layer each. Controls are never removed, so their addresses stay keys.
  LayerCache mBackdrop;
  std::vector<BackdropPart> mBackdropParts;
  std::unordered_map<const IControl*, StaticLayer> mStaticLayers;
  // Whether the redraw under way records the static pictures it lacks.
  bool mRecordLayers = false;
  int mFullRedraws = 0;
  FontRegistry mFonts;
  ImageCache mImages;
};

}  // namespace igraphics
