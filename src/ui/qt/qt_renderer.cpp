#include "ui/qt/qt_renderer.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <algorithm>

#include "ui/attribute_parser.h"
#include "ui/combo_ui.h"
#include "ui/container_ui.h"
#include "ui/edit_ui.h"
#include "ui/message_loop.h"
#include "ui/paint_manager_ui.h"
#include "ui/qt/backdrop.h"
#include "ui/qt/light_layer_widget.h"
#include "ui/qt/light_widget.h"
#include "ui/qt/opaque_painted_widget.h"
#include "ui/qt/text_metrics.h"
#include "ui/qt/widget_factory.h"
#include "ui/qt/widget_sync.h"
#include "ui/rich_edit_ui.h"

namespace zevik {

namespace {

constexpr UiChange kEverything = UiChange::Text | UiChange::Visible | UiChange::Enabled | UiChange::Style |
                                 UiChange::State | UiChange::Items | UiChange::Position;

// Containers whose children the renderer shows as widgets (a combo shows its items itself).
bool RendersChildren(CControlUI& control) {
    return dynamic_cast<CContainerUI*>(&control) != nullptr && dynamic_cast<CComboUI*>(&control) == nullptr;
}

}  // namespace

CQtRenderer::CQtRenderer(CPaintManagerUI& manager, QWidget& host, std::filesystem::path skinFolder)
    : m_manager(manager), m_host(host), m_images(std::move(skinFolder)) {
    m_manager.AddObserver(this);
    m_host.installEventFilter(this);
    Rebuild();
}

CQtRenderer::~CQtRenderer() {
    if (!m_managerGone) {
        m_manager.RemoveObserver(this);
    }
    ClearAll();
}

bool CQtRenderer::ManagerAlive() const {
    // A manager leaves the list of live managers before it tells its observers that its tree is gone.
    const auto live = CPaintManagerUI::GetPaintManagers();
    return std::find(live.begin(), live.end(), &m_manager) != live.end();
}

QWidget* CQtRenderer::WidgetFor(const CControlUI* control) const {
    const RenderedControl* r = Find(control);
    return r != nullptr ? r->widget.data() : nullptr;
}

const RenderedControl* CQtRenderer::Find(const CControlUI* control) const {
    const auto it = m_widgets.find(control);
    return it == m_widgets.end() ? nullptr : &it->second;
}

CControlUI* CQtRenderer::ControlFor(const QWidget* widget) const {
    const auto it = m_controls.find(widget);
    return it == m_controls.end() ? nullptr : it->second;
}

void CQtRenderer::ClearAll() {
    // Top-level widgets of the tree are the host's children; deleting them deletes the rest.
    std::vector<QWidget*> tops;
    for (auto& entry : m_widgets) {
        QWidget* w = entry.second.widget.data();
        if (w == nullptr) {
            continue;
        }
        w->disconnect(this);
        if (w->parentWidget() == &m_host) {
            tops.push_back(w);
        }
    }
    m_widgets.clear();
    m_controls.clear();
    m_mouseCapture = nullptr;
    // Deleted once control is back in the event loop: the tree may be replaced from inside a
    // widget's own signal (a click that rebuilds the window).
    for (QWidget* w : tops) {
        w->hide();
        w->deleteLater();
    }
}

void CQtRenderer::Rebuild() {
    ClearAll();
    if (CControlUI* root = m_manager.GetRoot()) {
        Build(*root, &m_host);
        // Auto-width controls were measured without their widgets.
        m_manager.NeedUpdate();
    }
}

int CQtRenderer::MeasureTextWidth(const CControlUI& control, std::string_view text) const {
    const QString shown = QString::fromStdString(std::string(text));
    const RenderedControl* rendered = Find(&control);
    if (rendered == nullptr || rendered->widget == nullptr) {
        const QFont font = CWidgetSync::FontFor(control, m_manager);
        return QFontMetrics(font).horizontalAdvance(shown);
    }
    return TextAdvance(*rendered->widget, shown) + TextChrome(*rendered->widget, rendered->kind);
}

void CQtRenderer::Build(CControlUI& control, QWidget* parentWidget) {
    RenderedControl rendered = CWidgetFactory::Create(control, parentWidget, *this);
    QWidget* w = rendered.widget;
    // A stable object name lets per-widget style rules address exactly this widget.
    w->setObjectName(QStringLiteral("zc%1").arg(reinterpret_cast<quintptr>(w), 0, 16));
    if (!control.GetName().empty()) {
        w->setProperty("controlName", QString::fromStdString(control.GetName()));
    }
    m_widgets[&control] = rendered;
    m_controls[w] = &control;
    w->installEventFilter(this);
    Sync(control, kEverything);
    if (RendersChildren(control)) {
        auto& container = static_cast<CContainerUI&>(control);
        for (int i = 0; i < container.GetCount(); ++i) {
            if (CControlUI* child = container.GetItemAt(i)) {
                Build(*child, w);
            }
        }
    }
}

void CQtRenderer::Forget(CControlUI& control) {
    if (m_mouseCapture == &control) {
        m_mouseCapture = nullptr;
    }
    if (RendersChildren(control)) {
        auto& container = static_cast<CContainerUI&>(control);
        for (int i = 0; i < container.GetCount(); ++i) {
            if (CControlUI* child = container.GetItemAt(i)) {
                Forget(*child);
            }
        }
    }
    const auto it = m_widgets.find(&control);
    if (it == m_widgets.end()) {
        return;
    }
    if (QWidget* w = it->second.widget) {
        m_controls.erase(w);
    }
    m_widgets.erase(it);
}

void CQtRenderer::Sync(CControlUI& control, UiChange what) {
    const RenderedControl* rendered = Find(&control);
    if (rendered == nullptr || rendered->widget == nullptr) {
        return;
    }
    // A key's light colour changes nothing beneath other keys; any other change may, and a key whose
    // light repaints in the same pass would otherwise keep its old copy of what lies beneath it.
    const bool capColour = (rendered->kind == WidgetKind::KeyButton || rendered->kind == WidgetKind::Light) &&
                           what == UiChange::BkColor;
    // Nor does the blink of a widget that paints all its pixels over its own copy of what lies beneath.
    QWidget* widget = rendered->widget;
    const bool ownBlink = what == UiChange::ForeImage && qobject_cast<COpaquePaintedWidget*>(widget) != nullptr;
    if (!capColour && !ownBlink) {
        backdrop::Changed(*widget);
    }
    CWidgetSync::Apply(control, *rendered, what, *this);
    if (HasChange(what, UiChange::Position)) {
        Place(control);
    }
}

CControlUI* CQtRenderer::RenderedAncestor(const CControlUI& control) const {
    for (CControlUI* p = control.GetParent(); p != nullptr; p = p->GetParent()) {
        if (m_widgets.count(p) != 0) {
            return p;
        }
    }
    return nullptr;
}

void CQtRenderer::Place(CControlUI& control) {
    QWidget* w = WidgetFor(&control);
    if (w == nullptr) {
        return;
    }
    const UiRect& rc = control.GetPos();
    UiPoint origin;
    if (const CControlUI* ancestor = RenderedAncestor(control)) {
        origin = UiPoint{ancestor->GetPos().left, ancestor->GetPos().top};
    }
    const QRect place(rc.left - origin.x, rc.top - origin.y, std::max(0, rc.GetWidth()),
                      std::max(0, rc.GetHeight()));
    if (auto* light = qobject_cast<CLightWidget*>(w)) {
        light->Place(place);  // hidden: its layer shows it
    } else {
        w->setGeometry(place);
    }
}

void CQtRenderer::SyncGeometry() {
    for (auto& [control, rendered] : m_widgets) {
        Place(*const_cast<CControlUI*>(control));
    }
}

void CQtRenderer::RestackChildren(CControlUI& container) {
    // Later children of a container paint over earlier ones, as in the skin.
    auto* c = dynamic_cast<CContainerUI*>(&container);
    if (c == nullptr) {
        return;
    }
    for (int i = 0; i < c->GetCount(); ++i) {
        if (QWidget* w = WidgetFor(c->GetItemAt(i))) {
            w->raise();
        }
    }
    if (QWidget* w = WidgetFor(&container)) {
        CLightLayerWidget::Restack(*w);
    }
}

void CQtRenderer::OnControlChanged(CControlUI& control, UiChange what) {
    if (m_widgets.count(&control) == 0) {
        // An item of a combo has no widget: its text shows in the combo's list.
        if (CControlUI* parent = control.GetParent(); parent != nullptr && !RendersChildren(*parent)) {
            Sync(*parent, UiChange::Items);
        }
        return;
    }
    Sync(control, what);
}

void CQtRenderer::OnChildAdded(CContainerUI& container, CControlUI& child) {
    if (!RendersChildren(container)) {
        Sync(container, UiChange::Items | UiChange::State);
        return;
    }
    QWidget* parent = WidgetFor(&container);
    if (parent == nullptr || m_widgets.count(&child) != 0) {
        return;
    }
    Build(child, parent);
    if (QWidget* w = WidgetFor(&child)) {
        w->show();
        w->setVisible(child.IsVisible());
    }
    RestackChildren(container);
    m_manager.NeedUpdate();  // the new widgets may measure their texts differently
}

void CQtRenderer::OnChildRemoved(CContainerUI& container, CControlUI& child) {
    if (!RendersChildren(container)) {
        return;  // the combo reports its new items once the item is gone
    }
    QPointer<QWidget> w = WidgetFor(&child);
    Forget(child);
    if (w != nullptr) {
        // The widget may be the one whose signal is being handled right now (a row removing itself
        // on click): cut it off from the core at once, delete it once control is back in the loop.
        w->disconnect(this);
        for (QWidget* inner : w->findChildren<QWidget*>()) {
            inner->disconnect(this);
        }
        w->hide();
        w->deleteLater();
    }
}

void CQtRenderer::OnRootChanged(CControlUI* root) {
    if (root == nullptr && !ManagerAlive()) {
        // The window object is being destroyed without having been closed: drop the widgets and never
        // touch the manager again.
        m_managerGone = true;
        ClearAll();
        return;
    }
    Rebuild();
    if (CControlUI* newRoot = m_manager.GetRoot()) {
        if (QWidget* w = WidgetFor(newRoot)) {
            w->show();
        }
    }
}

bool CQtRenderer::HostMouseEvent(QEvent& event) {
    if (m_managerGone) {
        return false;
    }
    auto& mouse = static_cast<QMouseEvent&>(event);
    const QPoint at = mouse.position().toPoint();
    TEventUI ui;
    ui.ptMouse = UiPoint{at.x(), at.y()};
    if (CMessageLoop* loop = CMessageLoop::Current()) {
        ui.dwTimestamp = loop->NowMs();
    }
    switch (event.type()) {
        case QEvent::MouseButtonPress: {
            if (mouse.button() != Qt::LeftButton) {
                return false;
            }
            CControlUI* target = m_manager.FindControl(ui.ptMouse);
            if (target == nullptr || !target->IsEnabled()) {
                return false;
            }
            m_mouseCapture = target;
            ui.Type = UIEVENT_BUTTONDOWN;
            break;
        }
        case QEvent::MouseMove:
            if (m_mouseCapture == nullptr || !(mouse.buttons() & Qt::LeftButton)) {
                return false;
            }
            ui.Type = UIEVENT_MOUSEMOVE;
            break;
        case QEvent::MouseButtonRelease:
            if (m_mouseCapture == nullptr || mouse.button() != Qt::LeftButton) {
                return false;
            }
            ui.Type = UIEVENT_BUTTONUP;
            break;
        default:
            return false;
    }
    CControlUI* target = m_mouseCapture;
    if (ui.Type == UIEVENT_BUTTONUP) {
        m_mouseCapture = nullptr;
    }
    // Controls with widgets of their own (buttons, edits, ...) got their input from those widgets.
    const RenderedControl* rendered = Find(target);
    if (rendered != nullptr && rendered->kind != WidgetKind::Painted) {
        return false;
    }
    ui.pSender = target;
    target->Event(ui);
    return true;
}

bool CQtRenderer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_host) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseMove ||
            type == QEvent::MouseButtonRelease) {
            HostMouseEvent(*event);  // the window still sees the event (caption drag)
        }
        return QObject::eventFilter(watched, event);
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    CControlUI* control = widget != nullptr ? ControlFor(widget) : nullptr;
    if (control == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::FocusIn:
            if (m_manager.GetFocus() != control && widget->focusPolicy() != Qt::NoFocus) {
                m_manager.SetFocus(control);
            }
            break;
        case QEvent::FocusOut:
            if (m_manager.GetFocus() == control) {
                m_manager.SetFocus(nullptr);
            }
            break;
        case QEvent::ContextMenu: {
            // A control that asks for a context menu (menu="true") raises "menu" with the point in
            // window coordinates (x in the low word, y in the high word of lParam).
            if (!ParseBool(control->GetAttribute("menu")).value_or(false) || !control->IsEnabled()) {
                break;
            }
            const QPoint at = m_host.mapFromGlobal(static_cast<QContextMenuEvent*>(event)->globalPos());
            const auto packed = (static_cast<std::uint32_t>(at.y() & 0xFFFF) << 16) |
                                static_cast<std::uint32_t>(at.x() & 0xFFFF);
            m_manager.SendNotify(control, DUI_MSGTYPE_MENU, 0, static_cast<LPARAM>(packed));
            return true;
        }
        case QEvent::KeyPress: {
            const auto* press = static_cast<QKeyEvent*>(event);
            // An edit hears which key was pressed: X11 and Wayland number keys as the Linux input code
            // plus 8. The widget still gets the key.
            if (dynamic_cast<CEditUI*>(control) != nullptr && m_manager.GetFocus() == control &&
                !press->isAutoRepeat() && press->nativeScanCode() > 8) {
                m_manager.DispatchKey(UIEVENT_KEYDOWN, 0, 0, static_cast<LPARAM>(press->nativeScanCode() - 8));
                if (Find(control) == nullptr) {
                    return true;  // the key's handling took the control away
                }
            }
            // A multi-line edit that does not want Enter as a line break reports it as "return".
            auto* rich = dynamic_cast<CRichEditUI*>(control);
            const int key = press->key();
            if (rich != nullptr && !rich->IsWantReturn() && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
                rich->UserReturn();
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zevik
