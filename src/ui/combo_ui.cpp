#include "ui/combo_ui.h"

#include "ui/notify_ui.h"

namespace zevik {

std::string_view CComboUI::GetClass() const { return "ComboUI"; }

void* CComboUI::GetInterface(std::string_view name) {
    if (name == "Combo") return this;
    if (name == "ListOwner") return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(name);
}

void CComboUI::Reindex() { ReindexListItems(m_items, this); }

bool CComboUI::SelectItem(int index, bool bTriggerEvent) {
    if (index < -1 || index >= GetCount()) return false;
    if (index == m_iCurSel) return true;
    int old = m_iCurSel;
    ApplyListSelection(m_items, m_iCurSel, index);
    NotifyChange(UiChange::State | UiChange::Text);
    if (bTriggerEvent) SendNotify(DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(index), old);
    return true;
}

CListLabelElementUI* CComboUI::AddItem(std::string_view text) {
    auto* item = new CListLabelElementUI();
    item->SetText(text);
    Add(item);
    return item;
}

std::string CComboUI::GetItemText(int index) const {
    CControlUI* item = GetItemAt(index);
    return item == nullptr ? std::string() : item->GetText();
}

std::string CComboUI::GetText() const { return m_iCurSel < 0 ? std::string() : GetItemText(m_iCurSel); }

bool CComboUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CComboUI::AddAt(CControlUI* control, int index) {
    IListItemUI* item = AsListItem(control);
    if (item == nullptr) return false;
    bool startsSelected = item->IsSelected();
    if (!CContainerUI::AddAt(control, index)) return false;
    if (m_iCurSel >= index) ++m_iCurSel;
    Reindex();
    NotifyChange(UiChange::Items);
    if (startsSelected) {
        item->Select(false);
        SelectItem(index, false);
    }
    return true;
}

bool CComboUI::Remove(CControlUI* control, bool doNotDestroy) {
    int index = GetItemIndex(control);
    if (index < 0) return false;
    if (index == m_iCurSel) {
        ApplyListSelection(m_items, m_iCurSel, -1);
        NotifyChange(UiChange::State | UiChange::Text);
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    if (IListItemUI* item = AsListItem(control)) item->SetOwner(nullptr);
    if (!CContainerUI::Remove(control, doNotDestroy)) return false;
    Reindex();
    NotifyChange(UiChange::Items);
    return true;
}

void CComboUI::RemoveAll() {
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    NotifyChange(UiChange::Items | UiChange::State | UiChange::Text);
}

void CComboUI::SetAttribute(std::string_view name, std::string_view value) {
    CContainerUI::SetAttribute(name, value);
}

}  // namespace zevik
