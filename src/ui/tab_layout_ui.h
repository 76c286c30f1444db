#pragma once
// CTabLayoutUI: a stack of pages of which only the selected one is visible. Every page gets the whole
// content area. Selecting a page hides the others (their own visibility flag) and, when asked, raises
// "tabselect" (wParam new index, lParam old index).

#include <algorithm>

#include "ui/container_ui.h"

namespace zevik {

class CTabLayoutUI : public CContainerUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    int GetCurSel() const { return m_iCurSel; }
    // False when index is out of range. Selecting the current page changes nothing.
    bool SelectItem(int index, bool bTriggerEvent = true);
    bool SelectItem(CControlUI* page, bool bTriggerEvent = true);

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control, bool doNotDestroy = false) override;
    void RemoveAll() override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void SetPos(const UiRect& rc) override;

private:
    void ShowOnly(int index);
    int m_iCurSel = -1;
    int m_iInitSel = -1;  // "selectedid" given before the pages were added
};

}  // namespace zevik
