#include "component.h"

#include <algorithm>

namespace pem::gui {

TComponent::~TComponent() {
  DestroyComponents();
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    // Taken out first, so that the component's destructor sees a consistent owner.
    std::unique_ptr<TComponent> doomed = std::move(components_.back());
    components_.pop_back();
  }
}

void TComponent::DestroyComponent(TComponent& component) {
  const auto found = std::find_if(components_.begin(), components_.end(),
                                  [&](const auto& owned) { return owned.get() == &component; });
  if (found == components_.end()) return;
  // Taken out first, so that the component's destructor sees a consistent owner.
  std::unique_ptr<TComponent> doomed = std::move(*found);
  components_.erase(found);
}

}  // namespace pem::gui
