#include "shell/update_window_status.h"

#include <fmt/format.h>

#include "ui/control_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/resource_manager.h"

namespace zevik {

bool CUpdateWindowStatus::CanOffer(const UpdateSessionSnapshot& snapshot) {
    if (!snapshot.checkDone || snapshot.downloading) return false;
    for (const UpdateListRow& row : snapshot.rows) {
        const bool downloadable = row.state == UpdateRowState::Needed || row.state == UpdateRowState::NeededToo ||
                                  row.state == UpdateRowState::Failed;
        if (row.checked && downloadable) return true;
    }
    return false;
}

bool CUpdateWindowStatus::Show(const UpdateSessionSnapshot& snapshot) {
    const int state = static_cast<int>(snapshot.window);
    const bool entered = state != m_state && snapshot.window == UpdateWindowState::AllCurrent;
    m_state = state;
    m_lastCheck = snapshot.lastCheck;
    ShowText();
    if (CControlUI* ring = m_pm.FindControl("update_status_ring"))
        ring->SetVisible(snapshot.window == UpdateWindowState::Checking);
    if (CControlUI* offer = m_pm.FindControl("update_fw_and_ap")) {
        const bool on = CanOffer(snapshot);
        offer->SetEnabled(on);
        offer->SetVisible(on);
    }
    return entered;
}

void CUpdateWindowStatus::Reshow() {
    if (m_state >= 0) ShowText();
}

void CUpdateWindowStatus::ShowText() {
    CControlUI* text = m_pm.FindControl("Update_Status_text");
    if (text == nullptr) return;
    const auto state = static_cast<UpdateWindowState>(m_state);
    const std::string_view key = UpdateWindowTextKey(state);
    if (state != UpdateWindowState::AllCurrent || m_lastCheck.empty()) {
        text->SetText(key);
        return;
    }
    const CResourceManager& texts = *CResourceManager::GetInstance();
    text->SetText(fmt::format("{}  ·  {} {}", texts.ResolveText(key), texts.ResolveText("update_last_check_text"),
                              m_lastCheck));
}

}  // namespace zevik
