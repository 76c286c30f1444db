#include "ui/list_ui.h"

#include "ui/attribute_parser.h"
#include "ui/notify_ui.h"

namespace zevik {

std::string_view CListUI::GetClass() const { return "ListUI"; }

void* CListUI::GetInterface(std::string_view name) {
    if (name == "List") return this;
    if (name == "ListOwner") return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::GetInterface(name);
}

void CListUI::Reindex() { ReindexListItems(m_items, this); }

bool CListUI::SelectItem(int index, bool bTriggerEvent) {
    if (index < -1 || index >= GetCount()) return false;
    if (index == m_iCurSel) return true;
    int old = m_iCurSel;
    ApplyListSelection(m_items, m_iCurSel, index);
    NotifyChange(UiChange::State);
    if (bTriggerEvent) SendNotify(DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(index), old);
    return true;
}

bool CListUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CListUI::AddAt(CControlUI* control, int index) {
    if (control == nullptr) return false;
    IListItemUI* item = AsListItem(control);
    bool startsSelected = item != nullptr && item->IsSelected();
    if (m_itemHeight > 0 && control->GetFixedHeight() == 0) control->SetFixedHeight(m_itemHeight);
    if (!CVerticalLayoutUI::AddAt(control, index)) return false;
    if (m_iCurSel >= index) ++m_iCurSel;
    Reindex();
    NotifyChange(UiChange::Items);
    if (startsSelected) {
        item->Select(false);
        SelectItem(index, false);
    }
    return true;
}

bool CListUI::Remove(CControlUI* control, bool doNotDestroy) {
    int index = GetItemIndex(control);
    if (index < 0) return false;
    if (index == m_iCurSel) {
        ApplyListSelection(m_items, m_iCurSel, -1);
        NotifyChange(UiChange::State);
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    if (IListItemUI* item = AsListItem(control)) item->SetOwner(nullptr);
    if (!CVerticalLayoutUI::Remove(control, doNotDestroy)) return false;
    Reindex();
    NotifyChange(UiChange::Items);
    return true;
}

void CListUI::RemoveAll() {
    m_iCurSel = -1;
    CVerticalLayoutUI::RemoveAll();
    NotifyChange(UiChange::Items | UiChange::State);
}

void CListUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "itemheight") {
        if (auto v = ParseInt(value); v && *v >= 0) m_itemHeight = *v;
    }
    CVerticalLayoutUI::SetAttribute(name, value);
}

}  // namespace zevik
