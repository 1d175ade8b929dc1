#pragma once
// What the toolkit needs from the application that owns the parameters.
//
// Header-only so that the window-free application core can implement it
// without linking the toolkit. Called on the window's thread only.

#include "model/IParam.h"

namespace iplug {

class IEditorDelegate {
 public:
  virtual ~IEditorDelegate() = default;

  // The parameter with this index, or nullptr when there is none.
  virtual IParam* GetParam(int paramIdx) = 0;
  virtual const IParam* GetParam(int paramIdx) const = 0;

  // A control changed parameter paramIdx to the normalised position. The
  // application sets the parameter and runs its parameter-change handling.
  virtual void SendParameterValueFromUI(int paramIdx, double normalisedValue) = 0;
};

}  // namespace iplug
