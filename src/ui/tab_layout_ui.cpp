#include "ui/tab_layout_ui.h"

#include "ui/attribute_parser.h"
#include "ui/notify_ui.h"

namespace zevik {

std::string_view CTabLayoutUI::GetClass() const { return "TabLayoutUI"; }

void* CTabLayoutUI::GetInterface(std::string_view name) {
    if (name == "TabLayout") return this;
    return CContainerUI::GetInterface(name);
}

void CTabLayoutUI::ShowOnly(int index) {
    for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == index);
}

bool CTabLayoutUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
    if (!CContainerUI::AddAt(control, index)) return false;
    if (m_iCurSel >= index) ++m_iCurSel;
    // The first page shown is the "selectedid" page, or the first page added.
    if (m_iCurSel < 0 || index == m_iInitSel) m_iCurSel = index;
    ShowOnly(m_iCurSel);
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control, bool doNotDestroy) {
    int index = GetItemIndex(control);
    if (index < 0) return false;
    if (!CContainerUI::Remove(control, doNotDestroy)) return false;
    if (index < m_iCurSel) {
        --m_iCurSel;
    } else if (index == m_iCurSel) {
        m_iCurSel = GetCount() == 0 ? -1 : std::min(index, GetCount() - 1);
        ShowOnly(m_iCurSel);
        NotifyChange(UiChange::State);
    }
    return true;
}

void CTabLayoutUI::RemoveAll() {
    CContainerUI::RemoveAll();
    m_iCurSel = -1;
}

bool CTabLayoutUI::SelectItem(int index, bool bTriggerEvent) {
    if (index < 0 || index >= GetCount()) return false;
    if (index == m_iCurSel) return true;
    int old = m_iCurSel;
    m_iCurSel = index;
    ShowOnly(index);
    NeedUpdate();
    NotifyChange(UiChange::State);
    if (bTriggerEvent) SendNotify(DUI_MSGTYPE_TABSELECT, static_cast<WPARAM>(index), old);
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* page, bool bTriggerEvent) {
    int index = GetItemIndex(page);
    return index >= 0 && SelectItem(index, bTriggerEvent);
}

void CTabLayoutUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "selectedid") {
        if (auto v = ParseInt(value)) {
            m_iInitSel = *v;
            if (*v >= 0 && *v < GetCount()) SelectItem(*v, false);
        }
    }
    CContainerUI::SetAttribute(name, value);
}

void CTabLayoutUI::SetPos(const UiRect& rc) { CContainerUI::SetPos(rc); }

}  // namespace zevik
