#include "shell/set_wnd_update.h"

namespace zevik {

CSetWndUpdate::CSetWndUpdate(CPaintManagerUI& pm, IDialogBuilderCallback& builder)
    : m_list(pm, builder), m_status(pm) {}

CSetWndUpdate::~CSetWndUpdate() { Stop(); }

void CSetWndUpdate::Start(const UpdateSetup& setup, std::function<void()> changed) {
    if (m_session) return;
    m_downloadFolder = setup.options.downloadFolder;
    m_session = std::make_unique<UpdateSession>(setup.table, setup.options, std::move(changed));
    ShowSnapshot();
    m_session->Start();
}

void CSetWndUpdate::Stop() {
    if (m_session) m_session->Stop();
}

CSetWndUpdate::Events CSetWndUpdate::Refresh() {
    Events events;
    if (!m_session) return events;
    events.allCurrent = ShowSnapshot();
    events.saved = m_session->TakeSavedNotice();
    return events;
}

bool CSetWndUpdate::ShowSnapshot() {
    m_shown = m_session->Snapshot();
    m_list.Show(m_shown.rows);
    return m_status.Show(m_shown);
}

void CSetWndUpdate::SetChecked(std::size_t row, bool checked) {
    if (!m_session) return;
    m_session->SetChecked(row, checked);
    ShowSnapshot();
}

bool CSetWndUpdate::ConfirmDownloads() {
    if (!m_session) return false;
    const bool due = m_session->ConfirmDownloads();
    ShowSnapshot();
    return due;
}

bool CSetWndUpdate::CanClose() const { return !m_session || m_session->CanClose(); }

}  // namespace zevik
