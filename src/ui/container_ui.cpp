#include "ui/container_ui.h"

#include <algorithm>

#include "ui/attribute_parser.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

CContainerUI::~CContainerUI() {
    // Children go first, while this container is still whole.
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* child : items) delete child;
}

std::string_view CContainerUI::GetClass() const { return "ContainerUI"; }

void* CContainerUI::GetInterface(std::string_view name) {
    if (name == "Container") return this;
    return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_items[static_cast<size_t>(index)];
}

int CContainerUI::GetItemIndex(const CControlUI* control) const {
    auto it = std::find(m_items.begin(), m_items.end(), control);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
    int from = GetItemIndex(control);
    if (from < 0 || index < 0 || index >= GetCount()) return false;
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + index, control);
    NeedUpdate();
    return true;
}

bool CContainerUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CContainerUI::AddAt(CControlUI* control, int index) {
    // A control has one parent: adding one that still belongs elsewhere would free it twice.
    if (control == nullptr || control == this || index < 0 || index > GetCount() || control->GetParent() != nullptr) {
        return false;
    }
    m_items.insert(m_items.begin() + index, control);
    control->SetManager(GetManager(), this, true);
    NeedUpdate();
    if (CPaintManagerUI* manager = GetManager()) manager->ReportChildAdded(*this, *control);
    return true;
}

bool CContainerUI::Remove(CControlUI* control, bool doNotDestroy) {
    int index = GetItemIndex(control);
    if (index < 0) return false;
    if (CPaintManagerUI* manager = GetManager()) manager->ReportChildRemoved(*this, *control);
    m_items.erase(m_items.begin() + index);
    NeedUpdate();
    if (doNotDestroy) {
        control->SetManager(nullptr, nullptr, false);
    } else {
        delete control;
    }
    return true;
}

bool CContainerUI::RemoveAt(int index, bool doNotDestroy) {
    CControlUI* control = GetItemAt(index);
    return control != nullptr && Remove(control, doNotDestroy);
}

void CContainerUI::RemoveAll() {
    while (!m_items.empty()) Remove(m_items.back());
}

void CContainerUI::SetInset(const UiRect& inset) {
    m_rcInset = inset;
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding) {
    if (padding < 0) return;
    m_childPadding = padding;
    NeedUpdate();
}

void CContainerUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "inset") {
        if (auto rc = ParseRect(value)) SetInset(*rc);
    } else if (name == "childpadding") {
        if (auto v = ParseInt(value)) SetChildPadding(*v);
    } else if (name == "mousechild") {
        if (auto b = ParseBool(value)) SetMouseChildEnabled(*b);
    }
    // The base keeps every attribute for GetAttribute and handles its own.
    CControlUI::SetAttribute(name, value);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    CControlUI::SetManager(manager, parent, init);
    for (CControlUI* child : m_items) child->SetManager(manager, this, init);
}

CControlUI* CContainerUI::FindControl(const FindPredicate& pred, UINT flags) {
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    bool selfOk = (flags & UIFIND_ENABLED) == 0 || IsEnabled();
    if ((flags & UIFIND_ME_FIRST) != 0 && selfOk && pred(*this)) return this;
    if ((flags & UIFIND_TOP_FIRST) != 0) {
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
            if (CControlUI* found = (*it)->FindControl(pred, flags)) return found;
        }
    } else {
        for (CControlUI* child : m_items) {
            if (CControlUI* found = child->FindControl(pred, flags)) return found;
        }
    }
    if ((flags & UIFIND_ME_FIRST) == 0 && selfOk && pred(*this)) return this;
    return nullptr;
}

void CContainerUI::ReloadText() {
    CControlUI::ReloadText();
    for (CControlUI* child : m_items) child->ReloadText();
}

UiRect CContainerUI::ContentRect(const UiRect& rc) const {
    UiRect inset{Scaled(m_rcInset.left), Scaled(m_rcInset.top), Scaled(m_rcInset.right), Scaled(m_rcInset.bottom)};
    UiRect content{rc.left + inset.left, rc.top + inset.top, rc.right - inset.right, rc.bottom - inset.bottom};
    if (content.right < content.left) content.right = content.left;
    if (content.bottom < content.top) content.bottom = content.top;
    return content;
}

int CContainerUI::ClampWidth(const CControlUI& child, int cx) const {
    cx = std::min(cx, Scaled(child.GetMaxWidth()));
    return std::max({cx, Scaled(child.GetMinWidth()), 0});
}

int CContainerUI::ClampHeight(const CControlUI& child, int cy) const {
    cy = std::min(cy, Scaled(child.GetMaxHeight()));
    return std::max({cy, Scaled(child.GetMinHeight()), 0});
}

void CContainerUI::PlaceInContent(CControlUI& child, const UiRect& content) {
    UiRect pad = child.GetPadding();
    UiRect area{content.left + Scaled(pad.left), content.top + Scaled(pad.top), content.right - Scaled(pad.right),
                content.bottom - Scaled(pad.bottom)};
    UiSize want = child.EstimateSize(UiSize{area.GetWidth(), area.GetHeight()});
    int cx = ClampWidth(child, want.cx > 0 ? want.cx : area.GetWidth());
    int cy = ClampHeight(child, want.cy > 0 ? want.cy : area.GetHeight());
    child.SetPos(UiRect{area.left, area.top, area.left + cx, area.top + cy});
}

void CContainerUI::PlaceFloatChildren(const UiRect& rc) {
    for (CControlUI* child : m_items) {
        if (!child->IsVisible() || !child->IsFloat()) continue;
        UiRect pos = child->GetFloatPos();
        int left = rc.left + Scaled(pos.left);
        int top = rc.top + Scaled(pos.top);
        UiSize want = child->EstimateSize(UiSize{rc.GetWidth(), rc.GetHeight()});
        int cx = ClampWidth(*child, want.cx > 0 ? want.cx : 0);
        int cy = ClampHeight(*child, want.cy > 0 ? want.cy : 0);
        child->SetPos(UiRect{left, top, left + cx, top + cy});
    }
}

void CContainerUI::SetPos(const UiRect& rc) {
    CControlUI::SetPos(rc);
    if (!HasLayoutChildren()) return;
    UiRect content = ContentRect(rc);
    for (CControlUI* child : m_items) {
        if (child->IsVisible() && !child->IsFloat()) PlaceInContent(*child, content);
    }
    PlaceFloatChildren(rc);
}

void CContainerUI::LayoutLinear(const UiRect& rc, bool horizontal) {
    CControlUI::SetPos(rc);
    UiRect content = ContentRect(rc);
    std::vector<CControlUI*> flow;
    for (CControlUI* child : m_items) {
        if (child->IsVisible() && !child->IsFloat()) flow.push_back(child);
    }
    const int gap = Scaled(m_childPadding);
    const int along = horizontal ? content.GetWidth() : content.GetHeight();
    const int across = horizontal ? content.GetHeight() : content.GetWidth();

    // Lengths along the flow: fixed children first, then stretch children share the rest.
    std::vector<int> length(flow.size(), -1);
    int used = flow.empty() ? 0 : gap * static_cast<int>(flow.size() - 1);
    for (size_t i = 0; i < flow.size(); ++i) {
        const CControlUI& c = *flow[i];
        UiRect pad = c.GetPadding();
        used += horizontal ? Scaled(pad.left) + Scaled(pad.right) : Scaled(pad.top) + Scaled(pad.bottom);
        UiSize want = c.EstimateSize(UiSize{content.GetWidth(), content.GetHeight()});
        int fixed = horizontal ? want.cx : want.cy;
        if (fixed > 0) {
            length[i] = horizontal ? ClampWidth(c, fixed) : ClampHeight(c, fixed);
            used += length[i];
        }
    }
    int remaining = std::max(0, along - used);
    // A stretch child whose min/max bends its share is fixed at the bent length and the rest share
    // again, until every share fits.
    bool settled = false;
    while (!settled) {
        settled = true;
        int open = static_cast<int>(std::count(length.begin(), length.end(), -1));
        if (open == 0) break;
        int share = remaining / open;
        for (size_t i = 0; i < flow.size(); ++i) {
            if (length[i] != -1) continue;
            int bent = horizontal ? ClampWidth(*flow[i], share) : ClampHeight(*flow[i], share);
            if (bent != share) {
                length[i] = bent;
                remaining = std::max(0, remaining - bent);
                settled = false;
                break;
            }
        }
        if (settled) {
            int extra = remaining - share * open;  // leftover pixels, one each to the first stretch children
            for (size_t i = 0; i < flow.size(); ++i) {
                if (length[i] != -1) continue;
                length[i] = share + (extra > 0 ? 1 : 0);
                if (extra > 0) --extra;
            }
        }
    }

    int cursor = horizontal ? content.left : content.top;
    for (size_t i = 0; i < flow.size(); ++i) {
        CControlUI& c = *flow[i];
        UiRect pad{Scaled(c.GetPadding().left), Scaled(c.GetPadding().top), Scaled(c.GetPadding().right),
                   Scaled(c.GetPadding().bottom)};
        UiSize want = c.EstimateSize(UiSize{content.GetWidth(), content.GetHeight()});
        if (horizontal) {
            int cy = want.cy > 0 ? want.cy : across - pad.top - pad.bottom;
            cy = ClampHeight(c, cy);
            int left = cursor + pad.left;
            int top = content.top + pad.top;
            c.SetPos(UiRect{left, top, left + length[i], top + cy});
            cursor = left + length[i] + pad.right + gap;
        } else {
            int cx = want.cx > 0 ? want.cx : across - pad.left - pad.right;
            cx = ClampWidth(c, cx);
            int top = cursor + pad.top;
            int left = content.left + pad.left;
            c.SetPos(UiRect{left, top, left + cx, top + length[i]});
            cursor = top + length[i] + pad.bottom + gap;
        }
    }
    PlaceFloatChildren(rc);
}

}  // namespace zevik
