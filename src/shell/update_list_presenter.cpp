#include "shell/update_list_presenter.h"

#include <memory>

#include "shell/update_info_list_item_ui.h"
#include "ui/check_box_ui.h"
#include "ui/dialog_builder.h"
#include "ui/list_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

namespace {

constexpr std::string_view kListName = "device_update_list_info";

}  // namespace

CUpdateListPresenter::CUpdateListPresenter(CPaintManagerUI& pm, IDialogBuilderCallback& builder)
    : m_pm(pm), m_builder(builder) {}

CListUI* CUpdateListPresenter::List() const { return dynamic_cast<CListUI*>(m_pm.FindControl(kListName)); }

std::size_t CUpdateListPresenter::RowCount() const {
    CListUI* list = List();
    return list != nullptr ? static_cast<std::size_t>(list->GetCount()) : 0;
}

CUpdateInfoListItemUI* CUpdateListPresenter::Row(std::size_t index) const {
    CListUI* list = List();
    if (list == nullptr || index >= static_cast<std::size_t>(list->GetCount())) return nullptr;
    CControlUI* item = list->GetItemAt(static_cast<int>(index));
    return static_cast<CUpdateInfoListItemUI*>(item->GetInterface(CUpdateInfoListItemUI::kClassName));
}

bool CUpdateListPresenter::Show(const std::vector<UpdateListRow>& rows) {
    CListUI* list = List();
    if (list == nullptr) return false;
    while (RowCount() < rows.size()) {
        CDialogBuilder builder;
        std::unique_ptr<CControlUI> root(builder.Create(CUpdateInfoListItemUI::kLayout, {}, &m_builder, &m_pm));
        if (!root || root->GetInterface(CUpdateInfoListItemUI::kClassName) == nullptr) return false;
        list->Add(root.release());
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (CUpdateInfoListItemUI* row = Row(i)) row->Show(rows[i], i);
    }
    return true;
}

std::optional<std::size_t> CUpdateListPresenter::RowOf(const CControlUI& control) const {
    if (control.GetName() != CUpdateInfoListItemUI::kCheckName) return std::nullopt;
    const auto index = static_cast<std::size_t>(control.GetTag());
    const CUpdateInfoListItemUI* row = Row(index);
    if (row == nullptr || static_cast<const CControlUI*>(row->CheckBox()) != &control) return std::nullopt;
    return index;
}

}  // namespace zevik
