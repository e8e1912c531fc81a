#include "services/windows/focus.h"

namespace velko::gadgets {

Control* NextTabStop(const std::vector<std::unique_ptr<Control>>& controls, const Control* current,
                     bool forward) {
  std::vector<Control*> candidates;
  for (const auto& control : controls) {
    if (control->TabStop() && control->Enabled() && control->Visible()) {
      candidates.push_back(control.get());
    }
  }
  if (candidates.empty()) return nullptr;
  size_t at = candidates.size();
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (candidates[i] == current) at = i;
  }
  if (at == candidates.size()) return forward ? candidates.front() : candidates.back();
  if (forward) return candidates[(at + 1) % candidates.size()];
  return candidates[(at + candidates.size() - 1) % candidates.size()];
}

}  // namespace velko::gadgets
