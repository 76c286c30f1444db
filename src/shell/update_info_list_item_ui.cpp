#include "shell/update_info_list_item_ui.h"

#include <fmt/format.h>

#include "ui/check_box_ui.h"
#include "ui/label_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/progress_ui.h"

namespace zevik {

namespace {

// How each state looks: the status text's colour and the check box's text colours.
struct StateLook {
    UiColor statusColour;
    UiColor nameColour;
    UiColor nameDisabledColour;
};

constexpr UiColor kGrey = 0xFF666666;
constexpr UiColor kWhite = 0xFFFFFFFF;
constexpr UiColor kName = 0xFFE4E7EB;

StateLook LookOf(UpdateRowState state) {
    switch (state) {
        case UpdateRowState::NotNeeded: return {kGrey, kGrey, kGrey};
        case UpdateRowState::Needed:
        case UpdateRowState::NeededToo: return {0xFFFF4655, kName, kGrey};
        case UpdateRowState::WaitingDownload:
        case UpdateRowState::Downloading:
        case UpdateRowState::Installing: return {0xFF6FB7FF, kName, kName};
        case UpdateRowState::Downloaded: return {0xFF3DDC84, kName, kName};
        case UpdateRowState::UpToDate: return {0xFFB8BDC8, kWhite, kGrey};
        case UpdateRowState::Failed: return {0xFFFF6B6B, kName, kGrey};
    }
    return {kGrey, kName, kGrey};
}

bool ShowsProgress(UpdateRowState state) {
    return state == UpdateRowState::Downloading || state == UpdateRowState::Installing;
}

}  // namespace

std::string_view CUpdateInfoListItemUI::GetClass() const { return "UpdateInfoListItemUI"; }

void* CUpdateInfoListItemUI::GetInterface(std::string_view name) {
    if (name == kClassName) return this;
    return CListContainerElementUI::GetInterface(name);
}

CControlUI* CUpdateInfoListItemUI::Part(std::string_view name) const {
    CPaintManagerUI* pm = GetManager();
    return pm != nullptr ? pm->FindSubControlByName(const_cast<CUpdateInfoListItemUI*>(this), name) : nullptr;
}

CCheckBoxUI* CUpdateInfoListItemUI::CheckBox() const { return dynamic_cast<CCheckBoxUI*>(Part(kCheckName)); }

void CUpdateInfoListItemUI::Show(const UpdateListRow& row, std::size_t index) {
    ShowState(row.state);
    SetUserData(row.url);
    const bool stored = row.state == UpdateRowState::Downloaded;
    SetToolTip(stored ? row.localFile.string() : std::string());
    if (CCheckBoxUI* check = CheckBox()) {
        check->SetTag(index);
        check->SetText(row.displayName);
        // A row whose package is on its way cannot be taken back.
        check->SetEnabled(row.enabled && !UpdateRowIsBusy(row.state));
        check->SetCheck(row.checked, false);
        check->SetToolTip(stored ? row.localFile.string() : std::string());
    }
    if (CControlUI* current = Part("OldRev")) current->SetText(row.currentText);
    if (CControlUI* offered = Part("updateRev")) offered->SetText(row.newText);
    // No percentage before a download announced its length.
    const int percent = ShowsProgress(row.state) && row.percent >= 0 ? row.percent : 0;
    if (CControlUI* value = Part("update_progress_value"))
        value->SetText(ShowsProgress(row.state) && row.percent >= 0 ? fmt::format("{}{}", percent, "%") : "");
    if (auto* bar = dynamic_cast<CProgressUI*>(Part("update_progress_bar"))) bar->SetValue(percent);
}

void CUpdateInfoListItemUI::ShowState(UpdateRowState state) {
    if (m_state == static_cast<int>(state)) return;  // the state it has: nothing changes
    m_state = static_cast<int>(state);
    const StateLook look = LookOf(state);
    if (auto* status = dynamic_cast<CLabelUI*>(Part("update_status_text"))) {
        status->SetText(UpdateRowTextKey(state));
        status->SetTextColor(look.statusColour);
    }
    if (CControlUI* progress = Part("update_status_ing")) progress->SetVisible(ShowsProgress(state));
    if (CControlUI* ok = Part("update_status_ok")) ok->SetVisible(state == UpdateRowState::Downloaded);
    if (CCheckBoxUI* check = CheckBox()) {
        check->SetTextColor(look.nameColour);
        check->SetDisabledTextColor(look.nameDisabledColour);
    }
}

}  // namespace zevik
