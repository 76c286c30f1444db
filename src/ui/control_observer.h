#pragma once
// How a renderer follows a control tree: it registers an IControlObserver with a paint manager and
// hears of every change of the tree's controls, additions and removals, without polling.

#include <cstdint>

namespace zevik {

class CControlUI;
class CContainerUI;

// What changed on a control. Values can be or-ed.
enum class UiChange : std::uint32_t {
    Text = 1u << 0,     // shown text or tooltip
    Visible = 1u << 1,  // own visibility flag (a tab switch changes its children's)
    Enabled = 1u << 2,
    Style = 1u << 3,     // colours, images, fonts, any other attribute
    State = 1u << 4,     // selected, checked, value, range, current item, selected colour
    Items = 1u << 5,     // items of a combo or list changed
    Position = 1u << 6,  // the computed rectangle moved or resized
    Focus = 1u << 7,
    // The background colour alone: a narrower Style, as animated colours change it many times a
    // second and nothing else of the control needs redoing then.
    BkColor = 1u << 8,
    // The fore image alone: a narrower Style for images that blink (the record button's).
    ForeImage = 1u << 9,
};

constexpr UiChange operator|(UiChange a, UiChange b) {
    return static_cast<UiChange>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
constexpr bool HasChange(UiChange set, UiChange one) {
    return (static_cast<std::uint32_t>(set) & static_cast<std::uint32_t>(one)) != 0;
}

class IControlObserver {
public:
    virtual ~IControlObserver() = default;
    virtual void OnControlChanged(CControlUI& control, UiChange what) = 0;
    // The child (with its subtree) now belongs to the container.
    virtual void OnChildAdded(CContainerUI& container, CControlUI& child) = 0;
    // Called before the child leaves the container and, when the container owns it, is destroyed.
    virtual void OnChildRemoved(CContainerUI& container, CControlUI& child) = 0;
    // The paint manager got a new root control (AttachDialog) or lost it (nullptr).
    virtual void OnRootChanged(CControlUI* root) = 0;
};

}  // namespace zevik
