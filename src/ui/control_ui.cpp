#include "ui/control_ui.h"

#include "ui/attribute_parser.h"
#include "ui/container_ui.h"
#include "ui/message_loop.h"
#include "ui/paint_manager_ui.h"
#include "ui/resource_manager.h"

namespace zevik {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (m_pManager != nullptr) m_pManager->ReapObjects(this);
}

std::string_view CControlUI::GetClass() const { return "ControlUI"; }

void* CControlUI::GetInterface(std::string_view name) {
    return name == "Control" ? this : nullptr;
}

void CControlUI::SetName(std::string_view name) {
    if (name == m_sName) return;
    if (m_pManager != nullptr) m_pManager->UnregisterName(this);
    m_sName = name;
    if (m_pManager != nullptr) m_pManager->RegisterName(this);
}

void CControlUI::SetUserData(std::string_view data) { m_sUserData = data; }

void CControlUI::SetText(std::string_view text) {
    m_sTextKey = text;
    std::string shown = CResourceManager::GetInstance()->ResolveText(text);
    if (shown == m_sText) return;
    m_sText = std::move(shown);
    NotifyChange(UiChange::Text);
}

void CControlUI::SetToolTip(std::string_view tip) {
    m_sToolTipKey = tip;
    std::string shown = CResourceManager::GetInstance()->ResolveText(tip);
    if (shown == m_sToolTip) return;
    m_sToolTip = std::move(shown);
    NotifyChange(UiChange::Text);
}

void CControlUI::ReloadText() {
    CResourceManager* resources = CResourceManager::GetInstance();
    std::string text = resources->ResolveText(m_sTextKey);
    std::string tip = resources->ResolveText(m_sToolTipKey);
    if (text == m_sText && tip == m_sToolTip) return;
    m_sText = std::move(text);
    m_sToolTip = std::move(tip);
    NotifyChange(UiChange::Text);
}

void CControlUI::SetVisible(bool visible) {
    if (visible == m_bVisible) return;
    m_bVisible = visible;
    NeedParentUpdate();
    NotifyChange(UiChange::Visible);
}

bool CControlUI::IsShown() const {
    for (const CControlUI* c = this; c != nullptr; c = c->m_pParent) {
        if (!c->m_bVisible) return false;
    }
    return true;
}

void CControlUI::SetEnabled(bool enabled) {
    if (enabled == m_bEnabled) return;
    m_bEnabled = enabled;
    NotifyChange(UiChange::Enabled);
}

void CControlUI::SetFocus() {
    if (m_pManager != nullptr) m_pManager->SetFocus(this);
}

void CControlUI::SetBkColor(UiColor color) {
    if (color == m_bkColor) return;
    m_bkColor = color;
    NotifyChange(UiChange::BkColor);
}

void CControlUI::SetBorderColor(UiColor color) {
    if (color == m_borderColor) return;
    m_borderColor = color;
    NotifyChange(UiChange::Style);
}

void CControlUI::SetBorderSize(int size) {
    if (size == m_borderSize) return;
    m_borderSize = size;
    NotifyChange(UiChange::Style);
}

void CControlUI::SetBkImage(std::string_view image) {
    if (image == m_sBkImage) return;
    m_sBkImage = image;
    NotifyChange(UiChange::Style);
}

void CControlUI::SetForeImage(std::string_view image) {
    if (image == m_sForeImage) return;
    m_sForeImage = image;
    NotifyChange(UiChange::ForeImage);
}

std::string CControlUI::GetAttribute(std::string_view name) const {
    auto it = m_attributes.find(name);
    return it == m_attributes.end() ? std::string() : it->second;
}

void CControlUI::SetAttribute(std::string_view name, std::string_view value) {
    m_attributes.insert_or_assign(std::string(name), std::string(value));
    if (name == "name") {
        SetName(value);
    } else if (name == "text") {
        SetText(value);
    } else if (name == "tooltip") {
        SetToolTip(value);
    } else if (name == "userdata") {
        SetUserData(value);
    } else if (name == "visible") {
        if (auto b = ParseBool(value)) SetVisible(*b);
    } else if (name == "enabled") {
        if (auto b = ParseBool(value)) SetEnabled(*b);
    } else if (name == "mouse") {
        if (auto b = ParseBool(value)) SetMouseEnabled(*b);
    } else if (name == "float") {
        if (auto b = ParseBool(value)) SetFloat(*b);
    } else if (name == "pos") {
        if (auto rc = ParseRect(value)) SetFloatPos(*rc);
    } else if (name == "width") {
        if (auto v = ParseInt(value)) SetFixedWidth(*v);
    } else if (name == "height") {
        if (auto v = ParseInt(value)) SetFixedHeight(*v);
    } else if (name == "minwidth") {
        if (auto v = ParseInt(value)) SetMinWidth(*v);
    } else if (name == "maxwidth") {
        if (auto v = ParseInt(value)) SetMaxWidth(*v);
    } else if (name == "minheight") {
        if (auto v = ParseInt(value)) SetMinHeight(*v);
    } else if (name == "maxheight") {
        if (auto v = ParseInt(value)) SetMaxHeight(*v);
    } else if (name == "padding") {
        if (auto rc = ParseRect(value)) SetPadding(*rc);
    } else if (name == "bkcolor") {
        if (auto c = ParseColor(value)) SetBkColor(*c);
    } else if (name == "bordercolor") {
        if (auto c = ParseColor(value)) SetBorderColor(*c);
    } else if (name == "bordersize") {
        if (auto v = ParseInt(value)) SetBorderSize(*v);
    } else if (name == "bkimage") {
        SetBkImage(value);
    } else if (name == "foreimage") {
        SetForeImage(value);
    } else if (name == "virtualwnd") {
        SetVirtualWnd(value);
    } else {
        // Kept for GetAttribute: renderers and program classes read what they know.
        NotifyChange(UiChange::Style);
    }
}

void CControlUI::ApplyAttributeList(std::string_view list) {
    auto attributes = ParseAttributeList(list);
    if (!attributes) return;
    for (const auto& [name, value] : *attributes) SetAttribute(name, value);
}

void CControlUI::SetFixedWidth(int cx) {
    if (cx < 0 || cx == m_fixedSize.cx) return;
    m_fixedSize.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy) {
    if (cy < 0 || cy == m_fixedSize.cy) return;
    m_fixedSize.cy = cy;
    NeedParentUpdate();
}

void CControlUI::SetMinWidth(int cx) {
    if (cx < 0) return;
    m_minSize.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetMaxWidth(int cx) {
    if (cx < 0) return;
    m_maxSize.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetMinHeight(int cy) {
    if (cy < 0) return;
    m_minSize.cy = cy;
    NeedParentUpdate();
}

void CControlUI::SetMaxHeight(int cy) {
    if (cy < 0) return;
    m_maxSize.cy = cy;
    NeedParentUpdate();
}

void CControlUI::SetPadding(const UiRect& padding) {
    m_rcPadding = padding;
    NeedParentUpdate();
}

void CControlUI::SetFloat(bool floating) {
    if (floating == m_bFloat) return;
    m_bFloat = floating;
    NeedParentUpdate();
}

void CControlUI::SetFloatPos(const UiRect& pos) {
    m_rcFloat = pos;
    if (pos.right > pos.left) m_fixedSize.cx = pos.right - pos.left;
    if (pos.bottom > pos.top) m_fixedSize.cy = pos.bottom - pos.top;
    NeedParentUpdate();
}

void CControlUI::SetPos(const UiRect& rc) {
    if (rc == m_rcItem) return;
    m_rcItem = rc;
    NotifyChange(UiChange::Position);
}

UiSize CControlUI::EstimateSize(UiSize /*available*/) const {
    return UiSize{Scaled(m_fixedSize.cx), Scaled(m_fixedSize.cy)};
}

void CControlUI::NeedUpdate() {
    if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() { NeedUpdate(); }

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    if (m_pManager != nullptr && m_pManager != manager) m_pManager->ReapObjects(this);
    bool joined = manager != nullptr && manager != m_pManager;
    m_pManager = manager;
    m_pParent = parent;
    if (joined && init) {
        manager->InitControls(this, parent);
        DoInit();
    }
}

CControlUI* CControlUI::FindControl(const FindPredicate& pred, UINT flags) {
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    return pred(*this) ? this : nullptr;
}

std::string CControlUI::GetVirtualWnd() const {
    for (const CControlUI* c = this; c != nullptr; c = c->m_pParent) {
        if (!c->m_sVirtualWnd.empty()) return c->m_sVirtualWnd;
    }
    return {};
}

void CControlUI::Event(TEventUI& event) {
    if (event.pSender == nullptr) event.pSender = this;
    DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_TIMER:
            SendNotify(DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
            break;
        case UIEVENT_SETFOCUS:
            SendNotify(DUI_MSGTYPE_SETFOCUS);
            break;
        case UIEVENT_KILLFOCUS:
            SendNotify(DUI_MSGTYPE_KILLFOCUS);
            break;
        case UIEVENT_MOUSEENTER:
            SendNotify(DUI_MSGTYPE_MOUSEENTER);
            break;
        case UIEVENT_MOUSELEAVE:
            SendNotify(DUI_MSGTYPE_MOUSELEAVE);
            break;
        default:
            break;
    }
}

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

void CControlUI::NotifyChange(UiChange what) {
    if (m_pManager != nullptr) m_pManager->ReportChange(*this, what);
}

void CControlUI::SendNotify(std::string_view type, WPARAM wParam, LPARAM lParam) {
    if (m_pManager != nullptr) m_pManager->SendNotify(this, type, wParam, lParam);
}

int CControlUI::Scaled(int value) const { return m_pManager != nullptr ? m_pManager->Scale(value) : value; }

}  // namespace zevik
