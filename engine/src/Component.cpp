#include "Component.h"

#include <algorithm>

namespace tonalux {

Component::Component(Component* owner) : owner_(owner) {
    if (owner_) owner_->owned_.push_back(this);
}

Component::~Component() {
    // Destroy what this component still owns, last created first. Each child
    // leaves this list in its own destructor, so take it from the back.
    while (!owned_.empty()) {
        Component* child = owned_.back();
        delete child;
    }
    if (owner_) {
        auto& siblings = owner_->owned_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

Component* Component::Owner() const { return owner_; }

const std::vector<Component*>& Component::Components() const { return owned_; }

namespace {
std::vector<PaletteEntry>& Palette() {
    static std::vector<PaletteEntry> entries;
    return entries;
}
}  // namespace

void RegisterComponentClass(const std::string& page, const std::string& className) {
    auto& entries = Palette();
    for (const auto& entry : entries)
        if (entry.Page == page && entry.ClassName == className) return;
    entries.push_back({page, className});
}

const std::vector<PaletteEntry>& RegisteredComponentClasses() { return Palette(); }

}  // namespace tonalux
