#include <cstdio>
#include <memory>

#include "model/ControlTags.h"
#include "editor/LiveEdit.h"
#include "model/UserTexts.h"
#include "ui/ICaptionControl.h"
#include "ui/IInvisibleSelectControl3.h"
#include "ui/IPanelControl.h"
#include "ui/ITextControl.h"
#include "ui/pages/OverlayParts.h"
#include "ui/pages/PageBuilders.h"
#include "ui/pages/PageParts.h"
#include "ui/pages/Transitions.h"

namespace kr7::pages {
namespace {

using igraphics::Colour;
using igraphics::Rect;

constexpr int kColumnRows = kNumUserIrBrowserRows / 2;
constexpr float kRowPitch = 30.f;
constexpr float kRowHeight = 28.f;
constexpr float kFirstRowTop = 550.f;
constexpr Colour kRowBackground{255, 38, 38, 38};

struct Column {
  float left;
  float right;
  int param;
};
constexpr Column kColumns[] = {{460, 760, kParamUserIrBrowserLeftHover}, {770, 1070, kParamUserIrBrowserRightHover}};

void CloseBrowser(PageTransitions& transitions, const PageRefs& refs, SessionState& session) {
  transitions.ShowGroup(kGroupUserIrBrowser, false);
  // Closing forgets every choice: no row is drawn as chosen.
  for (igraphics::ITextControl* row : refs.userIrRows) {
    if (row) row->SetTextColour(kBrowserRowColour);
  }
  session.irSlotAFlag.store(false);
  session.irSlotBFlag.store(false);
}

}  // namespace

void BuildUserIrBrowser(PageContext& ctx) {
  ctx.ui.AddControl(std::make_unique<igraphics::IPanelControl>(Rect{314, 470, 1164, 1070},
                                                               Colour(223, 16, 16, 16)),
                    igraphics::kNoTag, kGroupUserIrBrowser);
  AddClosingArea(ctx, ctx.ui.GetBounds(), kGroupUserIrBrowser,
                 [&transitions = ctx.transitions, &refs = ctx.refs, &session = ctx.units.sessionState] {
                   CloseBrowser(transitions, refs, session);
                 });
  const OverlayTextStyles& styles = OverlayStyles();
  ctx.ui.AddControl(std::make_unique<igraphics::ICaptionControl>(Rect{689, 490, 839, 520},
                                                                 kParamCustomIrBank,
                                                                 styles.bankCaption,
                                                                 Colour(255, 200, 200, 200)),
                    igraphics::kNoTag, kGroupUserIrBrowser);
  for (int c = 0; c < 2; ++c) {
    const Column& column = kColumns[c];
    for (int j = 0; j < kColumnRows; ++j) {
      const int row = c * kColumnRows + j;
      char text[32];
      std::snprintf(text, sizeof text, kEmptySlotFormat.data(), row + 1);
      const float top = kFirstRowTop + kRowPitch * static_cast<float>(j);
      ctx.refs.userIrRows[static_cast<std::size_t>(row)] = ctx.ui.AddControl(
          std::make_unique<igraphics::ITextControl>(Rect{column.left, top, column.right, top + kRowHeight},
                                                    text, styles.browserRow, kRowBackground),
          igraphics::kNoTag, kGroupUserIrBrowser);
    }
    const float bottom = kFirstRowTop + kRowPitch * kColumnRows;
    // The handler acts on the kind of event that moved the selector.
    (c == 0 ? ctx.refs.userIrLeftSelector : ctx.refs.userIrRightSelector) =
        ctx.ui.AddControl(std::make_unique<igraphics::IInvisibleSelectControl3>(
                              Rect{column.left, kFirstRowTop, column.right, bottom}, column.param),
                          igraphics::kNoTag, kGroupUserIrBrowser);
  }
}

}  // namespace kr7::pages
