#include "ui/list_element_ui.h"

#include "ui/attribute_parser.h"
#include "ui/notify_ui.h"
#include "ui/resource_manager.h"

namespace zevik {

IListItemUI* AsListItem(CControlUI* control) {
    return control == nullptr ? nullptr : static_cast<IListItemUI*>(control->GetInterface("ListItem"));
}

void ReindexListItems(const std::vector<CControlUI*>& items, IListOwnerUI* owner) {
    int index = 0;
    for (CControlUI* control : items) {
        if (IListItemUI* item = AsListItem(control)) {
            item->SetOwner(owner);
            item->SetIndex(index);
        }
        ++index;
    }
}

bool ApplyListSelection(const std::vector<CControlUI*>& items, int& curSel, int index) {
    if (index < -1 || index >= static_cast<int>(items.size())) return false;
    if (curSel >= 0 && curSel < static_cast<int>(items.size())) {
        if (IListItemUI* old = AsListItem(items[static_cast<size_t>(curSel)])) old->Select(false);
    }
    curSel = index;
    if (index >= 0) {
        if (IListItemUI* item = AsListItem(items[static_cast<size_t>(index)])) item->Select(true);
    }
    return true;
}

template <typename Base>
void CListItemBase<Base>::Select(bool selected) {
    if (selected == m_bSelected) return;
    m_bSelected = selected;
    this->NotifyChange(UiChange::State);
}

template <typename Base>
void* CListItemBase<Base>::GetInterface(std::string_view name) {
    if (name == "ListItem") return static_cast<IListItemUI*>(this);
    return Base::GetInterface(name);
}

template <typename Base>
bool CListItemBase<Base>::Activate() {
    if (!CControlUI::Activate()) return false;
    this->SendNotify(DUI_MSGTYPE_ITEMCLICK);
    if (m_pOwner != nullptr) m_pOwner->SelectItem(m_iIndex, true);
    return true;
}

template <typename Base>
void CListItemBase<Base>::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_BUTTONUP) {
        if (this->GetPos().Contains(event.ptMouse)) Activate();
        return;
    }
    if (event.Type == UIEVENT_DBLCLICK) {
        if (this->IsEnabled()) this->SendNotify(DUI_MSGTYPE_ITEMACTIVATE);
        return;
    }
    Base::DoEvent(event);
}

template <typename Base>
void CListItemBase<Base>::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "selected") {
        if (auto b = ParseBool(value)) m_bSelected = *b;
    }
    Base::SetAttribute(name, value);
}

template class CListItemBase<CLabelUI>;
template class CListItemBase<CHorizontalLayoutUI>;

std::string_view CListLabelElementUI::GetClass() const { return "ListLabelElementUI"; }

void* CListLabelElementUI::GetInterface(std::string_view name) {
    if (name == "ListLabelElement") return this;
    return CListItemBase<CLabelUI>::GetInterface(name);
}

std::string_view CListTextElementUI::GetClass() const { return "ListTextElementUI"; }

void* CListTextElementUI::GetInterface(std::string_view name) {
    if (name == "ListTextElement") return this;
    return CListLabelElementUI::GetInterface(name);
}

std::string CListTextElementUI::GetText(int column) const {
    if (column < 0 || column >= GetColumnCount()) return {};
    return m_columns[static_cast<size_t>(column)];
}

void CListTextElementUI::SetText(int column, std::string_view text) {
    if (column < 0 || column > 255) return;
    size_t index = static_cast<size_t>(column);
    if (m_columnKeys.size() <= index) {
        m_columnKeys.resize(index + 1);
        m_columns.resize(index + 1);
    }
    m_columnKeys[index] = text;
    m_columns[index] = CResourceManager::GetInstance()->ResolveText(text);
    if (column == 0) CListLabelElementUI::SetText(text);
    NotifyChange(UiChange::Text);
}

void CListTextElementUI::ReloadText() {
    CListLabelElementUI::ReloadText();
    for (size_t i = 0; i < m_columnKeys.size(); ++i) {
        m_columns[i] = CResourceManager::GetInstance()->ResolveText(m_columnKeys[i]);
    }
    if (!m_columnKeys.empty()) NotifyChange(UiChange::Text);
}

std::string_view CListContainerElementUI::GetClass() const { return "ListContainerElementUI"; }

void* CListContainerElementUI::GetInterface(std::string_view name) {
    if (name == "ListContainerElement") return this;
    return CListItemBase<CHorizontalLayoutUI>::GetInterface(name);
}

}  // namespace zevik
