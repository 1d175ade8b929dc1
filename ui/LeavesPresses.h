#pragma once
// For a control that lies over another which must stay usable: presses on
// the other control, built earlier beneath it, go to that control while it
// is shown.

#include "ui/IControl.h"

namespace igraphics {

class LeavesPresses {
 public:
  void LeaveTo(const IControl* control) { mLeftTo = control; }

 protected:
  bool LeftTo(float x, float y) const { return mLeftTo != nullptr && mLeftTo->TakesMouse() && mLeftTo->IsHit(x, y); }

 private:
  const IControl* mLeftTo = nullptr;
};

}  // namespace igraphics
