// Keyboard focus order: the controls of a window that are enabled, visible and tab stops, in
// creation order.
#pragma once

#include <memory>
#include <vector>

#include "services/windows/control.h"

namespace velko::gadgets {

// The control Tab (forward) or Shift+Tab (backward) moves the focus to from `current`
// (null when no control has the focus): wrapping at both ends. Null when there is none.
Control* NextTabStop(const std::vector<std::unique_ptr<Control>>& controls, const Control* current,
                     bool forward);

}  // namespace velko::gadgets
