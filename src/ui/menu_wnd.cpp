#include "ui/menu_wnd.h"

#include <pugixml.hpp>

#include "ui/dialog_builder.h"
#include "ui/paint_manager_ui.h"
#include "ui/resource_manager.h"
#include "ui/window_messages.h"
#include "ui/window_wnd.h"

namespace zevik {

namespace {

void ReadItems(const pugi::xml_node& node, std::vector<CMenuItem>& out) {
    for (pugi::xml_node element : node.children("MenuElement")) {
        CMenuItem item;
        item.name = element.attribute("name").value();
        item.textKey = element.attribute("text").value();
        item.userData = element.attribute("userdata").value();
        item.enabled = element.attribute("enabled").as_bool(true);
        item.visible = element.attribute("visible").as_bool(true);
        item.checked = element.attribute("checked").as_bool(false);
        ReadItems(element, item.children);
        out.push_back(std::move(item));
    }
}

const CMenuItem* FindIn(const std::vector<CMenuItem>& items, std::string_view name) {
    for (const CMenuItem& item : items) {
        if (item.name == name) return &item;
        if (const CMenuItem* found = FindIn(item.children, name)) return found;
    }
    return nullptr;
}

void ApplyChecks(std::vector<CMenuItem>& items, const std::map<std::string, bool>& checks) {
    for (CMenuItem& item : items) {
        if (auto it = checks.find(item.name); it != checks.end()) item.checked = it->second;
        ApplyChecks(item.children, checks);
    }
}

}  // namespace

std::string CMenuItem::GetText() const { return CResourceManager::GetInstance()->ResolveText(textKey); }

CMenuWnd::CMenuWnd() = default;

CMenuWnd::~CMenuWnd() { Close(); }

bool CMenuWnd::Init(CControlUI* /*owner*/, std::string_view xml, UiPoint pt, CPaintManagerUI* mainManager,
                    std::map<std::string, bool>* checks, int alignment) {
    Close();
    std::string path = CDialogBuilder::ResolveSkinPath(xml);
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_file(path.c_str());
    if (!parsed) {
        m_lastError = path + ": " + parsed.description();
        return false;
    }
    pugi::xml_node root = doc.child("Menu");
    if (!root) {
        m_lastError = path + ": the root element is not <Menu>";
        return false;
    }
    m_items.clear();
    ReadItems(root, m_items);
    if (checks != nullptr) ApplyChecks(m_items, *checks);
    m_lastError.clear();
    m_pMainManager = mainManager;
    m_point = pt;
    m_alignment = alignment;
    m_host = GetUiBackend().CreateMenuHost(*this);
    m_bShown = true;
    m_host->Popup(pt, alignment);
    return true;
}

const CMenuItem* CMenuWnd::FindItem(std::string_view name) const { return FindIn(m_items, name); }

bool CMenuWnd::ChooseItem(std::string_view name) {
    const CMenuItem* item = FindItem(name);
    if (!m_bShown || item == nullptr || !item->enabled || !item->visible) return false;
    MenuCmd cmd;
    cmd.szName = item->name;
    cmd.szUserData = item->userData;
    cmd.szText = item->GetText();
    cmd.bChecked = item->checked;
    CPaintManagerUI* manager = m_pMainManager;
    Close();
    if (manager != nullptr && manager->GetWindow() != nullptr) {
        manager->GetWindow()->SendMessage(WM_MENUCLICK, reinterpret_cast<WPARAM>(&cmd), 0);
    }
    return true;
}

void CMenuWnd::Close() {
    if (!m_bShown) return;
    m_bShown = false;
    if (m_host) {
        m_host->Close();
        m_host.reset();
    }
}

}  // namespace zevik
