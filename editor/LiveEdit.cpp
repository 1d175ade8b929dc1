#include "editor/LiveEdit.h"

namespace kr7 {

LiveEditState::LiveEditState() {
  // The layout leaves the impulse-response controls and graph visible while
  // no block is selected.
  for (int g = 0; g < kNumBlockGroups; ++g) {
    const auto group = static_cast<BlockGroup>(g);
    groupHidden[static_cast<std::size_t>(g)].store(group != BlockGroup::kIr &&
                                                   group != BlockGroup::kIrDisplay);
  }
}

}  // namespace kr7
