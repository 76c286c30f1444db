#pragma once
// CComboUI: a drop-down choice. Its children are the items (list elements); they take no part in the
// combo's layout or hit test. The combo's text is the selected item's text.
//
// SelectItem(i, true) raises "itemselect" (wParam new index, lParam old index) when the selection
// changes; SelectItem(i, false) changes it silently. An index out of range changes nothing and
// returns false; -1 clears the selection.

#include "ui/container_ui.h"
#include "ui/list_element_ui.h"

namespace zevik {

class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int index, bool bTriggerEvent = true) override;
    // Appends a text item and returns it (owned by the combo).
    CListLabelElementUI* AddItem(std::string_view text);
    std::string GetItemText(int index) const;

    // The selected item's text, or "" when nothing is selected.
    std::string GetText() const override;

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control, bool doNotDestroy = false) override;
    void RemoveAll() override;
    void SetAttribute(std::string_view name, std::string_view value) override;

    bool HasLayoutChildren() const override { return false; }

private:
    void Reindex();
    int m_iCurSel = -1;
};

}  // namespace zevik
