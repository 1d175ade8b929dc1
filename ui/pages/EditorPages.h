#pragma once
// The window side of the editor, shared by the GTK window and the headless
// host: the drawing context with every page built into it, the delegate its
// controls change parameters through, the view and list rows the logic
// writes to, and the window's share of the 20 ms step.
//
// The host creates it, attaches itself to Graphics() as the context's host,
// calls Open once and then OnFrameworkTimer every 20 ms. Window thread only.

#include <memory>

#include "editor/WindowUnits.h"
#include "model/ListView.h"
#include "ui/IEditorDelegate.h"
#include "ui/IGraphics.h"
#include "ui/pages/GraphicsView.h"
#include "ui/pages/Pages.h"
#include "ui/pages/Transitions.h"

namespace kr7::pages {

class EditorPages final : public iplug::IEditorDelegate, private ListView {
 public:
  // scale: the stored window scale, clamped to kMinScale..kMaxScale.
  EditorPages(const WindowUnits& units, float scale);
  ~EditorPages() override;
  EditorPages(const EditorPages&) = delete;
  EditorPages& operator=(const EditorPages&) = delete;

  igraphics::IGraphics& Graphics() { return *mGraphics; }
  PageTransitions& Transitions() { return mTransitions; }
  EditorView& View() { return mView; }
  const PageRefs& Refs() const { return mRefs; }

  // Builds the pages at the screen's pixel density (2 picks the @2x images),
  // attaches them to the application object as its window, and writes the
  // factory cabinets and their names.
  void Open(int screenScale);
  // Detaches from the application object (it sends EditorClosed when
  // connected). Safe to call twice.
  void Close();
  // The 20 ms step: the logic's queued control work and idle step, the
  // input shield of long transfers, the animations.
  void OnFrameworkTimer();

  // IEditorDelegate
  iplug::IParam* GetParam(int paramIdx) override { return mUnits.params.GetParam(paramIdx); }
  const iplug::IParam* GetParam(int paramIdx) const override { return mUnits.params.GetParam(paramIdx); }
  void SendParameterValueFromUI(int paramIdx, double normalisedValue) override;

 private:
  // ListView
  void SetPresetRow(int slot, std::string_view text, igraphics::Colour colour) override;
  void SetUserIrRow(int row, std::string_view text) override;

  WindowUnits mUnits;
  std::unique_ptr<igraphics::IGraphics> mGraphics;
  PageTransitions mTransitions;
  PageRefs mRefs;
  GraphicsView mView;
  float mScale;
  bool mOpen = false;
};

}  // namespace kr7::pages
