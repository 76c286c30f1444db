#pragma once
// CUpdateInfoListItemUI ("UpdateInfoListItem"): one row of the settings window's update list, built
// from "XML/CustomControlXML/device_Update_list_item.xml". It shows an UpdateListRow: the item's name
// on its check box "check_name_select", the versions "OldRev" (installed) and "updateRev" (offered),
// the state's text in "update_status_text", the download's percentage in "update_status_ing" while
// one runs, and "update_status_ok" once the package is stored. The row's user data is the package's
// address; a stored package's path is the row's tooltip.

#include <cstddef>
#include <string_view>

#include "ui/list_element_ui.h"
#include "update/update_session.h"

namespace zevik {

class CCheckBoxUI;

class CUpdateInfoListItemUI : public CListContainerElementUI {
public:
    static constexpr std::string_view kClassName = "UpdateInfoListItem";
    static constexpr std::string_view kLayout = "XML\\CustomControlXML\\device_Update_list_item.xml";
    static constexpr std::string_view kCheckName = "check_name_select";
    static constexpr int kHeight = 40;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Shows the row; row is its index in the list (the check box's tag, so a click names its row).
    void Show(const UpdateListRow& row, std::size_t index);
    // The state shown last; -1 before the first Show.
    int ShownState() const { return m_state; }
    CCheckBoxUI* CheckBox() const;

private:
    // What depends on the state alone: text, colours, progress and mark. Runs only on a change.
    void ShowState(UpdateRowState state);
    CControlUI* Part(std::string_view name) const;

    int m_state = -1;
};

}  // namespace zevik
