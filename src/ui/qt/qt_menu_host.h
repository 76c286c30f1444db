#pragma once
// CQtMenuHost: the core's popup menu as a QMenu. Picking an item calls CMenuWnd::ChooseItem (which
// sends the command to the owner window); dismissing the menu without a pick calls CMenuWnd::Close.

#include <QMenu>
#include <QPointer>
#include <memory>
#include <vector>

#include "ui/ui_backend.h"

namespace zevik {

struct CMenuItem;

class CQtMenuHost final : public IMenuHost {
public:
    explicit CQtMenuHost(CMenuWnd& menu);
    ~CQtMenuHost() override;

    void Popup(UiPoint pt, int alignment) override;
    void Close() override;

    // The shown menu (nullptr before Popup), for tests.
    QMenu* Menu() const { return m_qmenu; }
    // Where a menu of the given size goes for the point and the alignment flags.
    static QPoint PlaceMenu(UiPoint pt, int alignment, QSize size);

private:
    void AddItems(QMenu& into, const std::vector<CMenuItem>& items);

    CMenuWnd& m_menu;
    QPointer<QMenu> m_qmenu;
    // Cleared when the host goes. The QMenu is released later (the host may go from inside one of
    // its signals), so its queued calls check this before they touch the core's menu.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace zevik
