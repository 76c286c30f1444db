#pragma once
// Items of lists and combos. An item knows its owner (the list or combo) and its index there; the
// owner keeps the current selection.
//
// CListLabelElementUI: an item that shows one text. CListTextElementUI: an item with one text per
// column. CListContainerElementUI: an item that holds controls (a horizontal layout).
// Activate() on an item raises "itemclick" and selects it in its owner (which raises "itemselect");
// a double click raises "itemactivate".

#include <vector>

#include "ui/horizontal_layout_ui.h"
#include "ui/label_ui.h"

namespace zevik {

class IListOwnerUI {
public:
    virtual ~IListOwnerUI() = default;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int index, bool bTriggerEvent = true) = 0;
};

class IListItemUI {
public:
    virtual ~IListItemUI() = default;
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() const = 0;
    virtual void SetOwner(IListOwnerUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    // Marks the item; the owner calls it. Raises nothing.
    virtual void Select(bool selected) = 0;
    // The control the item is (for notifications and texts).
    virtual CControlUI& AsControl() = 0;
};

// Shared item behaviour for an item type that derives from some control class.
template <typename Base>
class CListItemBase : public Base, public IListItemUI {
public:
    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int index) override { m_iIndex = index; }
    IListOwnerUI* GetOwner() const override { return m_pOwner; }
    void SetOwner(IListOwnerUI* owner) override { m_pOwner = owner; }
    bool IsSelected() const override { return m_bSelected; }
    void Select(bool selected) override;
    CControlUI& AsControl() override { return *this; }

    void* GetInterface(std::string_view name) override;
    bool Activate() override;
    void DoEvent(TEventUI& event) override;
    // "selected": the item starts selected in its owner (silently).
    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    int m_iIndex = -1;
    IListOwnerUI* m_pOwner = nullptr;
    bool m_bSelected = false;
};

class CListLabelElementUI : public CListItemBase<CLabelUI> {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
};

class CListTextElementUI : public CListLabelElementUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Column texts; column 0 is also the item's text. Resolved through the language like texts.
    std::string GetText(int column) const;
    void SetText(int column, std::string_view text);
    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;
    int GetColumnCount() const { return static_cast<int>(m_columnKeys.size()); }
    void ReloadText() override;

private:
    std::vector<std::string> m_columnKeys;
    std::vector<std::string> m_columns;
};

class CListContainerElementUI : public CListItemBase<CHorizontalLayoutUI> {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
};

// Owner helpers shared by lists and combos: give every item its owner and index, and move the
// selection mark. ApplyListSelection returns false when index is out of range (-1 clears).
void ReindexListItems(const std::vector<CControlUI*>& items, IListOwnerUI* owner);
bool ApplyListSelection(const std::vector<CControlUI*>& items, int& curSel, int index);
IListItemUI* AsListItem(CControlUI* control);

extern template class CListItemBase<CLabelUI>;
extern template class CListItemBase<CHorizontalLayoutUI>;

}  // namespace zevik
