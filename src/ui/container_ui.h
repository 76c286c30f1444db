#pragma once
// CContainerUI: a control with children. It owns its children (they are destroyed with it or when
// removed), lays them out and searches them. The base container gives every non-floating child the
// whole content area (the rectangle minus "inset", minus the child's padding); the layouts override
// SetPos to distribute space.

#include <vector>

#include "ui/control_ui.h"

namespace zevik {

class CContainerUI : public CControlUI {
public:
    CContainerUI() = default;
    ~CContainerUI() override;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Children (owned). Add/AddAt attach the child to this container's manager; they refuse a control
    // that still has a parent (take it out with Remove(control, true) first).
    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(const CControlUI* control) const;  // -1 when not a child
    bool SetItemIndex(CControlUI* control, int index);
    int GetCount() const { return static_cast<int>(m_items.size()); }
    virtual bool Add(CControlUI* control);
    virtual bool AddAt(CControlUI* control, int index);
    // Removes and destroys the child unless doNotDestroy (then the caller owns it).
    virtual bool Remove(CControlUI* control, bool doNotDestroy = false);
    virtual bool RemoveAt(int index, bool doNotDestroy = false);
    virtual void RemoveAll();

    // Content spacing in unscaled pixels.
    UiRect GetInset() const { return m_rcInset; }
    void SetInset(const UiRect& inset);
    int GetChildPadding() const { return m_childPadding; }
    void SetChildPadding(int padding);
    // When false, hit tests stop at this container instead of entering its children.
    bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
    void SetMouseChildEnabled(bool enabled) { m_bMouseChildEnabled = enabled; }

    void SetAttribute(std::string_view name, std::string_view value) override;
    void SetPos(const UiRect& rc) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    CControlUI* FindControl(const FindPredicate& pred, UINT flags) override;
    void ReloadText() override;
    // Whether layout and hit tests include the children (a combo keeps its items out).
    virtual bool HasLayoutChildren() const { return true; }

protected:
    // The content area of rc: rc minus the scaled inset.
    UiRect ContentRect(const UiRect& rc) const;
    // Places every visible floating child by its "pos" relative to rc's top-left corner.
    void PlaceFloatChildren(const UiRect& rc);
    // min/max of a child along one axis, scaled, applied to a proposed length.
    int ClampWidth(const CControlUI& child, int cx) const;
    int ClampHeight(const CControlUI& child, int cy) const;
    // The flow of the horizontal and vertical layouts (see there).
    void LayoutLinear(const UiRect& rc, bool horizontal);
    // Gives a child the content area minus its padding (its fixed size when it has one).
    void PlaceInContent(CControlUI& child, const UiRect& content);

    std::vector<CControlUI*> m_items;

private:
    UiRect m_rcInset;
    int m_childPadding = 0;
    bool m_bMouseChildEnabled = true;
};

}  // namespace zevik
