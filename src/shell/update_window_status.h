#pragma once
// CUpdateWindowStatus: the settings window's update state in its controls: the text of
// "Update_Status_text" (in the all-current state followed by the date of the last check), the
// ring "update_status_ring" while the check runs, and the button "update_fw_and_ap", offered while
// a checked row can be downloaded. UI thread only.

#include <string>

#include "update/update_row_state.h"
#include "update/update_session.h"

namespace zevik {

class CPaintManagerUI;

class CUpdateWindowStatus {
public:
    explicit CUpdateWindowStatus(CPaintManagerUI& pm) : m_pm(pm) {}

    // Shows the state; true when this call entered the all-current state (the main window is told
    // once per entry).
    bool Show(const UpdateSessionSnapshot& snapshot);
    // Shows the texts again in the current language (the status text is composed, not a key).
    void Reshow();

    // A checked row waits for its download to be confirmed.
    static bool CanOffer(const UpdateSessionSnapshot& snapshot);

private:
    void ShowText();

    CPaintManagerUI& m_pm;
    int m_state = -1;
    std::string m_lastCheck;
};

}  // namespace zevik
