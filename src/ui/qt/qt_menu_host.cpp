#include "ui/qt/qt_menu_host.h"

#include <QTimer>

#include "ui/menu_wnd.h"

namespace zevik {

CQtMenuHost::CQtMenuHost(CMenuWnd& menu) : m_menu(menu) {}

CQtMenuHost::~CQtMenuHost() {
    *m_alive = false;
    if (QMenu* old = m_qmenu.data()) {
        old->disconnect();
        old->hide();
        old->deleteLater();
    }
}

QPoint CQtMenuHost::PlaceMenu(UiPoint pt, int alignment, QSize size) {
    // The point is the menu's left or right edge and its top or bottom edge, as the flags say.
    const int x = (alignment & CMenuWnd::eMenuAlignment_Right) != 0 ? pt.x - size.width() : pt.x;
    const int y = (alignment & CMenuWnd::eMenuAlignment_Bottom) != 0 ? pt.y - size.height() : pt.y;
    return QPoint(x, y);
}

void CQtMenuHost::AddItems(QMenu& into, const std::vector<CMenuItem>& items) {
    for (const CMenuItem& item : items) {
        if (!item.visible) {
            continue;
        }
        const QString text = QString::fromStdString(item.GetText());
        if (!item.children.empty()) {
            QMenu* sub = into.addMenu(text);
            sub->setEnabled(item.enabled);
            AddItems(*sub, item.children);
            continue;
        }
        QAction* action = into.addAction(text);
        action->setEnabled(item.enabled);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        action->setObjectName(QString::fromStdString(item.name));
        const std::string name = item.name;
        QObject::connect(action, &QAction::triggered, &into, [this, name, alive = m_alive] {
            if (*alive) {
                m_menu.ChooseItem(name);
            }
        });
    }
}

void CQtMenuHost::Popup(UiPoint pt, int alignment) {
    if (QMenu* old = m_qmenu.data()) {
        old->disconnect();
        old->hide();
        old->deleteLater();
    }
    auto* qmenu = new QMenu;
    m_qmenu = qmenu;
    AddItems(*qmenu, m_menu.GetItems());
    // Qt hides the menu before it reports the picked action; a dismissal without a pick is known only
    // once the event that hid the menu is done.
    QObject::connect(qmenu, &QMenu::aboutToHide, qmenu, [this, qmenu, alive = m_alive] {
        QTimer::singleShot(0, qmenu, [this, alive] {
            if (*alive && m_menu.IsShown()) {
                m_menu.Close();
            }
        });
    });
    qmenu->popup(PlaceMenu(pt, alignment, qmenu->sizeHint()));
}

void CQtMenuHost::Close() {
    if (QMenu* menu = m_qmenu.data(); menu != nullptr && menu->isVisible()) {
        menu->hide();
    }
}

}  // namespace zevik
