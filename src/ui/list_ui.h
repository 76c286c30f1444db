#pragma once
// CListUI: a vertical list of items (text or container elements) with one selected item.
// SelectItem(i, true) raises "itemselect" (wParam new index, lParam old index) when the selection
// changes; an item's Activate() raises "itemclick" then selects it.

#include "ui/list_element_ui.h"
#include "ui/vertical_layout_ui.h"

namespace zevik {

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int index, bool bTriggerEvent = true) override;
    // Item height for items without a fixed height (unscaled pixels, 0 = stretch).
    int GetItemHeight() const { return m_itemHeight; }

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control, bool doNotDestroy = false) override;
    void RemoveAll() override;
    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    void Reindex();
    int m_iCurSel = -1;
    int m_itemHeight = 0;
};

}  // namespace zevik
