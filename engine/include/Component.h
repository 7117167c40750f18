// The component base: a component is created with an owner and is destroyed by
// it, unless it was destroyed first, in which case it leaves its owner's list.
#pragma once

#include <string>
#include <vector>

namespace tonalux {

class Component {
public:
    explicit Component(Component* owner);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    Component* Owner() const;
    // The components this one still owns, in order of creation.
    const std::vector<Component*>& Components() const;

private:
    Component* owner_;
    std::vector<Component*> owned_;
};

// A class recorded for a palette page of the component palette.
struct PaletteEntry {
    std::string Page;
    std::string ClassName;
};

// Records a class under a palette page (once per page and class name).
void RegisterComponentClass(const std::string& page, const std::string& className);
// Every class recorded so far, in order of registration.
const std::vector<PaletteEntry>& RegisteredComponentClasses();

}  // namespace tonalux
