#pragma once
// CUpdateListPresenter: keeps the settings window's list "device_update_list_info" in step with the
// update rows: one CUpdateInfoListItemUI per row, built from its layout the first time the row is
// shown, and shown again on every change. UI thread only.

#include <cstddef>
#include <optional>
#include <vector>

#include "update/update_session.h"

namespace zevik {

class CControlUI;
class CListUI;
class CPaintManagerUI;
class CUpdateInfoListItemUI;
class IDialogBuilderCallback;

class CUpdateListPresenter {
public:
    // builder: creates the row class for the layout's root tag (the window's own callback).
    CUpdateListPresenter(CPaintManagerUI& pm, IDialogBuilderCallback& builder);

    // Adds the rows that are new and shows every row. False when the list or a row's layout is
    // missing from the skin.
    bool Show(const std::vector<UpdateListRow>& rows);

    std::size_t RowCount() const;
    CUpdateInfoListItemUI* Row(std::size_t index) const;
    // The row a control of the list belongs to (by the check box's tag); none for other controls.
    std::optional<std::size_t> RowOf(const CControlUI& control) const;

private:
    CListUI* List() const;

    CPaintManagerUI& m_pm;
    IDialogBuilderCallback& m_builder;
};

}  // namespace zevik
