#include "ui/paint_manager_ui.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>

#include "ui/container_ui.h"
#include "ui/message_loop.h"
#include "ui/option_ui.h"
#include "ui/window_wnd.h"

namespace zevik {

namespace {

struct ProcessSettings {
    std::mutex mutex;
    std::string resourcePath;
};

ProcessSettings& Settings() {
    static ProcessSettings settings;
    return settings;
}

// Live managers; touched on the UI thread only.
std::vector<CPaintManagerUI*>& Managers() {
    static std::vector<CPaintManagerUI*> managers;
    return managers;
}

CControlUI* HitTest(CControlUI* control, UiPoint pt) {
    if (control == nullptr || !control->IsVisible() || !control->GetPos().Contains(pt)) return nullptr;
    auto* container = static_cast<CContainerUI*>(control->GetInterface("Container"));
    if (container != nullptr && container->IsMouseChildEnabled() && container->HasLayoutChildren()) {
        for (int i = container->GetCount() - 1; i >= 0; --i) {
            if (CControlUI* hit = HitTest(container->GetItemAt(i), pt)) return hit;
        }
    }
    return control->IsMouseEnabled() ? control : nullptr;
}

bool IsInSubtree(const CControlUI* control, const CControlUI* parent) {
    for (const CControlUI* c = control; c != nullptr; c = c->GetParent()) {
        if (c == parent) return true;
    }
    return false;
}

}  // namespace

struct CPaintManagerUI::PendingNotify {
    TNotifyUI msg;
    bool cancelled = false;
};

CPaintManagerUI::CPaintManagerUI() : m_self(std::make_shared<CPaintManagerUI*>(this)) {
    Managers().push_back(this);
}

CPaintManagerUI::~CPaintManagerUI() {
    *m_self = nullptr;
    auto& managers = Managers();
    managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
    if (m_pRoot != nullptr) {
        for (IControlObserver* observer : std::vector<IControlObserver*>(m_observers)) observer->OnRootChanged(nullptr);
        CControlUI* root = m_pRoot;
        m_pRoot = nullptr;
        delete root;
    }
}

void CPaintManagerUI::SetInstance(void* /*instance*/) {}

std::string CPaintManagerUI::GetInstancePath() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    std::string dir = exe.parent_path().string();
    return dir + "/";
}

void CPaintManagerUI::SetResourcePath(std::string_view path) {
    std::string p(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    if (!p.empty() && p.back() != '/') p.push_back('/');
    std::lock_guard lock(Settings().mutex);
    Settings().resourcePath = std::move(p);
}

std::string CPaintManagerUI::GetResourcePath() {
    std::lock_guard lock(Settings().mutex);
    return Settings().resourcePath;
}

void CPaintManagerUI::SetResourceType(int /*type*/) {}

std::vector<CPaintManagerUI*> CPaintManagerUI::GetPaintManagers() { return Managers(); }

namespace {

std::mutex g_allowedImagesLock;
std::set<std::string>& AllowedImages() {
    static std::set<std::string> files;
    return files;
}

}  // namespace

void CPaintManagerUI::AllowImageFile(const std::string& absolutePath) {
    std::lock_guard lock(g_allowedImagesLock);
    AllowedImages().insert(absolutePath);
}

bool CPaintManagerUI::IsImageFileAllowed(const std::string& absolutePath) {
    std::lock_guard lock(g_allowedImagesLock);
    return AllowedImages().count(absolutePath) != 0;
}

void CPaintManagerUI::SetAllDPI(int dpi) {
    for (CPaintManagerUI* manager : GetPaintManagers()) manager->SetDPI(dpi);
}

int CPaintManagerUI::MessageLoop() {
    CMessageLoop* loop = CMessageLoop::Current();
    return loop == nullptr ? 0 : loop->Run();
}

void CPaintManagerUI::Init(CWindowWnd* window) { m_pWindow = window; }

HWND CPaintManagerUI::GetPaintWindow() const { return m_pWindow == nullptr ? 0 : m_pWindow->GetHWND(); }

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    if (root == nullptr || root == m_pRoot) return false;
    if (m_pRoot != nullptr) {
        CControlUI* old = m_pRoot;
        m_pRoot = nullptr;
        for (IControlObserver* observer : std::vector<IControlObserver*>(m_observers)) observer->OnRootChanged(nullptr);
        delete old;
    }
    m_pFocus = nullptr;
    m_pRoot = root;
    root->SetManager(this, nullptr, true);
    m_bUpdateNeeded = true;
    for (IControlObserver* observer : std::vector<IControlObserver*>(m_observers)) observer->OnRootChanged(root);
    if (m_clientSize.cx > 0 && m_clientSize.cy > 0) UpdateLayout(true);
    SendNotify(root, DUI_MSGTYPE_WINDOWINIT, 0, 0, true);
    return true;
}

void CPaintManagerUI::InitControls(CControlUI* control, CControlUI* /*parent*/) { RegisterName(control); }

void CPaintManagerUI::ReapObjects(CControlUI* control) {
    if (CMessageLoop* loop = CMessageLoop::Current()) loop->KillTimers(control);
    UnregisterName(control);
    if (m_pFocus == control) m_pFocus = nullptr;
    if (m_pCapture == control) m_pCapture = nullptr;
    if (m_pHover == control) m_pHover = nullptr;
    if (m_pRoot == control) m_pRoot = nullptr;
    for (auto& pending : m_pendingNotifies) {
        if (pending->msg.pSender == control) pending->cancelled = true;
    }
}

void CPaintManagerUI::RegisterName(CControlUI* control) {
    if (control->GetName().empty()) return;
    auto& list = m_names[control->GetName()];
    if (std::find(list.begin(), list.end(), control) == list.end()) list.push_back(control);
}

void CPaintManagerUI::UnregisterName(CControlUI* control) {
    auto it = m_names.find(control->GetName());
    if (it == m_names.end()) return;
    auto& list = it->second;
    list.erase(std::remove(list.begin(), list.end(), control), list.end());
    if (list.empty()) m_names.erase(it);
}

CControlUI* CPaintManagerUI::FindControl(std::string_view name) const {
    auto it = m_names.find(name);
    return it == m_names.end() || it->second.empty() ? nullptr : it->second.front();
}

CControlUI* CPaintManagerUI::FindControl(UiPoint pt) const { return HitTest(m_pRoot, pt); }

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, std::string_view name) const {
    if (parent == nullptr) parent = m_pRoot;
    auto it = m_names.find(name);
    if (parent == nullptr || it == m_names.end()) return nullptr;
    for (CControlUI* candidate : it->second) {
        if (IsInSubtree(candidate, parent)) return candidate;
    }
    return nullptr;
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* parent, UiPoint pt) const {
    return HitTest(parent == nullptr ? m_pRoot : parent, pt);
}

std::vector<CControlUI*> CPaintManagerUI::FindSubControlsByClass(CControlUI* parent,
                                                                 std::string_view className) const {
    std::vector<CControlUI*> found;
    if (parent == nullptr) parent = m_pRoot;
    if (parent == nullptr) return found;
    parent->FindControl(
        [&](CControlUI& c) {
            if (c.GetClass() == className) found.push_back(&c);
            return false;
        },
        UIFIND_ALL | UIFIND_ME_FIRST);
    return found;
}

bool CPaintManagerUI::AddOptionGroup(std::string_view group, COptionUI* option) {
    if (group.empty() || option == nullptr) return false;
    auto& list = m_optionGroups[std::string(group)];
    if (std::find(list.begin(), list.end(), option) != list.end()) return false;
    list.push_back(option);
    return true;
}

const std::vector<COptionUI*>* CPaintManagerUI::GetOptionGroup(std::string_view group) const {
    auto it = m_optionGroups.find(group);
    return it == m_optionGroups.end() ? nullptr : &it->second;
}

void CPaintManagerUI::RemoveOptionGroup(std::string_view group, COptionUI* option) {
    auto it = m_optionGroups.find(group);
    if (it == m_optionGroups.end()) return;
    auto& list = it->second;
    list.erase(std::remove(list.begin(), list.end(), option), list.end());
    if (list.empty()) m_optionGroups.erase(it);
}

void CPaintManagerUI::RemoveAllOptionGroups() { m_optionGroups.clear(); }

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    if (notifier == nullptr || std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end()) {
        return false;
    }
    m_notifiers.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    auto it = std::find(m_notifiers.begin(), m_notifiers.end(), notifier);
    if (it == m_notifiers.end()) return false;
    m_notifiers.erase(it);
    return true;
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async) {
    CMessageLoop* loop = CMessageLoop::Current();
    if (loop != nullptr) msg.dwTimestamp = loop->NowMs();
    if (msg.pSender != nullptr && msg.sVirtualWnd.empty()) msg.sVirtualWnd = msg.pSender->GetVirtualWnd();
    if (async && loop != nullptr) {
        auto pending = std::make_shared<PendingNotify>();
        pending->msg = msg;
        m_pendingNotifies.push_back(pending);
        std::weak_ptr<CPaintManagerUI*> self = m_self;
        loop->PostTask([self, pending] {
            auto alive = self.lock();
            if (!alive || *alive == nullptr) return;
            CPaintManagerUI* manager = *alive;
            auto& list = manager->m_pendingNotifies;
            list.erase(std::remove(list.begin(), list.end(), pending), list.end());
            if (!pending->cancelled) manager->SendNotify(pending->msg, false);
        });
        return;
    }
    // A notifier may remove itself (or others) while being told.
    for (INotifyUI* notifier : std::vector<INotifyUI*>(m_notifiers)) {
        if (std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end()) notifier->Notify(msg);
    }
}

void CPaintManagerUI::SendNotify(CControlUI* control, std::string_view type, WPARAM wParam, LPARAM lParam,
                                 bool async) {
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = control;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, async);
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
    if (control == m_pFocus) return;
    if (control != nullptr && control->GetManager() != this) return;
    CControlUI* old = m_pFocus;
    m_pFocus = control;
    if (old != nullptr) {
        old->m_bFocused = false;
        old->NotifyChange(UiChange::Focus);
        TEventUI event;
        event.Type = UIEVENT_KILLFOCUS;
        event.pSender = old;
        old->Event(event);
    }
    if (control != nullptr && m_pFocus == control) {
        control->m_bFocused = true;
        control->NotifyChange(UiChange::Focus);
        TEventUI event;
        event.Type = UIEVENT_SETFOCUS;
        event.pSender = control;
        control->Event(event);
    }
}

CControlUI* CPaintManagerUI::DispatchMouse(int eventType, UiPoint pt, UINT keyState) {
    CMessageLoop* loop = CMessageLoop::Current();
    auto deliver = [&](CControlUI* target, int type) {
        if (target == nullptr) return;
        TEventUI event;
        event.Type = type;
        event.pSender = target;
        event.ptMouse = pt;
        event.wKeyState = keyState;
        event.dwTimestamp = loop != nullptr ? loop->NowMs() : 0;
        target->Event(event);
    };
    if (m_pCapture == nullptr && eventType != UIEVENT_MOUSELEAVE) {
        CControlUI* under = FindControl(pt);
        if (under != m_pHover) {
            CControlUI* old = m_pHover;
            m_pHover = under;
            deliver(old, UIEVENT_MOUSELEAVE);
            deliver(m_pHover, UIEVENT_MOUSEENTER);
        }
    }
    CControlUI* target = nullptr;
    switch (eventType) {
        case UIEVENT_BUTTONDOWN:
            target = FindControl(pt);
            m_pCapture = target;
            break;
        case UIEVENT_BUTTONUP:
            target = m_pCapture != nullptr ? m_pCapture : FindControl(pt);
            m_pCapture = nullptr;
            break;
        case UIEVENT_MOUSEMOVE:
            target = m_pCapture != nullptr ? m_pCapture : FindControl(pt);
            break;
        case UIEVENT_MOUSELEAVE:
            // The pointer left the window.
            target = m_pHover;
            m_pHover = nullptr;
            break;
        default:
            target = FindControl(pt);
            break;
    }
    deliver(target, eventType);
    return target;
}

CControlUI* CPaintManagerUI::DispatchKey(int eventType, WPARAM keyCode, char32_t ch, LPARAM inputCode) {
    CControlUI* target = m_pFocus;
    if (target == nullptr) return nullptr;
    TEventUI event;
    event.Type = eventType;
    event.pSender = target;
    event.wParam = keyCode;
    event.lParam = inputCode;
    event.chKey = ch;
    if (CMessageLoop* loop = CMessageLoop::Current()) event.dwTimestamp = loop->NowMs();
    target->Event(event);
    return target;
}

bool CPaintManagerUI::SetTimer(CControlUI* control, UINT_PTR id, UINT ms) {
    CMessageLoop* loop = CMessageLoop::Current();
    if (loop == nullptr || control == nullptr) return false;
    return loop->SetTimer(control, id, ms, [control, id, loop] {
        TEventUI event;
        event.Type = UIEVENT_TIMER;
        event.pSender = control;
        event.wParam = id;
        event.dwTimestamp = loop->NowMs();
        control->Event(event);
    });
}

bool CPaintManagerUI::KillTimer(CControlUI* control, UINT_PTR id) {
    CMessageLoop* loop = CMessageLoop::Current();
    return loop != nullptr && loop->KillTimer(control, id);
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
    if (CMessageLoop* loop = CMessageLoop::Current()) loop->KillTimers(control);
}

void CPaintManagerUI::RemoveAllTimers() {
    CMessageLoop* loop = CMessageLoop::Current();
    if (loop == nullptr || m_pRoot == nullptr) return;
    m_pRoot->FindControl(
        [loop](CControlUI& c) {
            loop->KillTimers(&c);
            return false;
        },
        UIFIND_ALL);
}

bool CPaintManagerUI::SetDPI(int dpi) {
    int old = m_dpi.GetDPI();
    if (!m_dpi.SetDPI(dpi)) return false;
    if (old == dpi) return true;
    // The window keeps its unscaled size: a window laid out at 96 DPI grows with the scale.
    if (m_pWindow != nullptr && m_pWindow->GetHWND() != 0) {
        UiRect rc = m_pWindow->GetWindowRect();
        long long cx = static_cast<long long>(rc.GetWidth()) * dpi / old;
        long long cy = static_cast<long long>(rc.GetHeight()) * dpi / old;
        m_pWindow->ResizeClient(static_cast<int>(cx), static_cast<int>(cy));
    }
    ResetDPIAssets();
    UpdateLayout(true);
    return true;
}

void CPaintManagerUI::ResetDPIAssets() {
    if (m_pRoot != nullptr) ReportStyleRecursive(m_pRoot);
}

void CPaintManagerUI::ReportStyleRecursive(CControlUI* control) {
    if (m_observers.empty()) return;
    control->FindControl(
        [this](CControlUI& c) {
            ReportChange(c, UiChange::Style);
            return false;
        },
        UIFIND_ALL);
}

void CPaintManagerUI::SetClientSize(UiSize size) {
    bool changed = !(size == m_clientSize);
    m_clientSize = size;
    UpdateLayout(true);
    if (changed && m_pRoot != nullptr) {
        SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWSIZE, static_cast<WPARAM>(size.cx), size.cy);
    }
}

void CPaintManagerUI::UpdateLayout(bool force) {
    if (!force && !m_bUpdateNeeded) return;
    m_bUpdateNeeded = false;
    if (m_bFontsChanged && m_pRoot != nullptr) {
        m_bFontsChanged = false;
        auto shown = std::make_pair(m_fonts, m_defaultFont);
        if (m_styledFonts != shown) {
            m_styledFonts = std::move(shown);
            // Before the layout: the renderer measures texts in its widgets' fonts.
            ReportStyleRecursive(m_pRoot);
        }
    }
    if (m_pRoot != nullptr) m_pRoot->SetPos(UiRect{0, 0, m_clientSize.cx, m_clientSize.cy});
}

void CPaintManagerUI::NeedUpdate() {
    m_bUpdateNeeded = true;
    ScheduleLayout();
}

void CPaintManagerUI::ScheduleLayout() {
    CMessageLoop* loop = CMessageLoop::Current();
    if (m_bLayoutPosted || loop == nullptr || !loop->IsUiThread()) return;
    m_bLayoutPosted = true;
    std::weak_ptr<CPaintManagerUI*> self = m_self;
    loop->PostTask([self] {
        auto alive = self.lock();
        if (!alive || *alive == nullptr) return;
        (*alive)->m_bLayoutPosted = false;
        (*alive)->UpdateLayout();
    });
}

std::string CPaintManagerUI::GetWindowAttribute(std::string_view name) const {
    auto it = m_windowAttributes.find(name);
    return it == m_windowAttributes.end() ? std::string() : it->second;
}

void CPaintManagerUI::SetWindowAttribute(std::string_view name, std::string_view value) {
    m_windowAttributes.insert_or_assign(std::string(name), std::string(value));
}

void CPaintManagerUI::AddFont(int id, const TFontInfo& font) {
    m_fonts.insert_or_assign(id, font);
    FontsChanged();
}

const TFontInfo* CPaintManagerUI::GetFont(int id) const {
    auto it = m_fonts.find(id);
    return it == m_fonts.end() ? nullptr : &it->second;
}

void CPaintManagerUI::SetDefaultFont(const TFontInfo& font) {
    m_defaultFont = font;
    FontsChanged();
}

void CPaintManagerUI::RemoveAllFonts() {
    m_fonts.clear();
    m_defaultFont = TFontInfo{};
    FontsChanged();
}

void CPaintManagerUI::FontsChanged() {
    // A skin's fonts come before its tree, which the renderer styles as it builds it.
    if (m_pRoot == nullptr) {
        m_styledFonts.reset();
        return;
    }
    m_bFontsChanged = true;
    NeedUpdate();
}

void CPaintManagerUI::AddDefaultAttributeList(std::string_view controlTag, std::string_view attributes) {
    m_defaultAttributes.insert_or_assign(std::string(controlTag), std::string(attributes));
}

std::string CPaintManagerUI::GetDefaultAttributeList(std::string_view controlTag) const {
    auto it = m_defaultAttributes.find(controlTag);
    return it == m_defaultAttributes.end() ? std::string() : it->second;
}

void CPaintManagerUI::AddObserver(IControlObserver* observer) {
    if (observer != nullptr && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end()) {
        m_observers.push_back(observer);
    }
}

void CPaintManagerUI::RemoveObserver(IControlObserver* observer) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

void CPaintManagerUI::ReportChange(CControlUI& control, UiChange what) {
    for (IControlObserver* observer : m_observers) observer->OnControlChanged(control, what);
}

void CPaintManagerUI::ReportChildAdded(CContainerUI& container, CControlUI& child) {
    for (IControlObserver* observer : m_observers) observer->OnChildAdded(container, child);
}

void CPaintManagerUI::ReportChildRemoved(CContainerUI& container, CControlUI& child) {
    for (IControlObserver* observer : m_observers) observer->OnChildRemoved(container, child);
}

}  // namespace zevik
