#include "ui/option_ui.h"

#include "ui/attribute_parser.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

COptionUI::~COptionUI() {
    if (GetManager() != nullptr && !m_sGroupName.empty()) GetManager()->RemoveOptionGroup(m_sGroupName, this);
}

std::string_view COptionUI::GetClass() const { return "OptionUI"; }

void* COptionUI::GetInterface(std::string_view name) {
    if (name == "Option") return this;
    return CButtonUI::GetInterface(name);
}

void COptionUI::Selected(bool selected, bool bTriggerEvent) {
    if (selected == m_bSelected) return;
    m_bSelected = selected;
    NotifyChange(UiChange::State);
    if (selected && !m_sGroupName.empty() && GetManager() != nullptr) {
        if (const auto* group = GetManager()->GetOptionGroup(m_sGroupName)) {
            std::vector<COptionUI*> members = *group;
            for (COptionUI* other : members) {
                if (other != this && other->m_bSelected) {
                    other->m_bSelected = false;
                    other->NotifyChange(UiChange::State);
                }
            }
        }
    }
    if (bTriggerEvent) SendNotify(DUI_MSGTYPE_SELECTCHANGED, selected ? 1 : 0);
}

void COptionUI::SetGroup(std::string_view group) {
    if (group == m_sGroupName) return;
    CPaintManagerUI* manager = GetManager();
    if (manager != nullptr && !m_sGroupName.empty()) manager->RemoveOptionGroup(m_sGroupName, this);
    m_sGroupName = group;
    if (manager != nullptr && !m_sGroupName.empty()) {
        manager->AddOptionGroup(m_sGroupName, this);
        if (m_bSelected) {
            m_bSelected = false;
            Selected(true, false);  // the newest selected member wins
        }
    }
}

void COptionUI::SetSelectedImage(std::string_view image) {
    if (image == m_sSelectedImage) return;
    m_sSelectedImage = image;
    NotifyChange(UiChange::Style);
}

void COptionUI::SetSelectedBkColor(UiColor color) {
    if (color == m_selectedBkColor) return;
    m_selectedBkColor = color;
    NotifyChange(UiChange::Style);
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate()) return false;
    if (!m_sGroupName.empty()) {
        Selected(true, true);
    } else {
        Selected(!m_bSelected, true);
    }
    return true;
}

void COptionUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "group") {
        SetGroup(value);
    } else if (name == "selected") {
        if (auto b = ParseBool(value)) Selected(*b, false);
    } else if (name == "selectedimage") {
        SetSelectedImage(value);
    } else if (name == "selectedbkcolor") {
        if (auto c = ParseColor(value)) SetSelectedBkColor(*c);
    }
    CButtonUI::SetAttribute(name, value);
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    CPaintManagerUI* old = GetManager();
    if (old != nullptr && old != manager && !m_sGroupName.empty()) old->RemoveOptionGroup(m_sGroupName, this);
    CButtonUI::SetManager(manager, parent, init);
    if (manager != nullptr && manager != old && !m_sGroupName.empty()) {
        manager->AddOptionGroup(m_sGroupName, this);
        if (m_bSelected) {
            m_bSelected = false;
            Selected(true, false);
        }
    }
}

}  // namespace zevik
