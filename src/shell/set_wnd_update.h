#pragma once
// CSetWndUpdate: the update part of the settings window. It owns the update session (the check and
// download workers) and shows its rows and state through the list presenter and the window status.
// The workers never touch a control: every change of theirs reaches this part as a call to Refresh
// on the UI thread, which the window arranges (the session's notify hook posts to the window).

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "shell/update_list_presenter.h"
#include "shell/update_window_status.h"
#include "update/update_entry.h"
#include "update/update_session.h"

namespace zevik {

class CPaintManagerUI;
class IDialogBuilderCallback;

// What the settings window checks and where it keeps what it downloads.
struct UpdateSetup {
    UpdateTable table{};
    UpdateSessionOptions options;
};

class CSetWndUpdate {
public:
    // What a refresh found that the window answers.
    struct Events {
        bool allCurrent = false;  // the window entered the all-current state
        bool saved = false;       // a download pass stored at least one package
    };

    CSetWndUpdate(CPaintManagerUI& pm, IDialogBuilderCallback& builder);
    ~CSetWndUpdate();
    CSetWndUpdate(const CSetWndUpdate&) = delete;
    CSetWndUpdate& operator=(const CSetWndUpdate&) = delete;

    // Lists the present entries and starts the workers; changed is called from any thread after
    // each change of theirs (and on the UI thread for the user's own changes).
    void Start(const UpdateSetup& setup, std::function<void()> changed);
    // Cancels a running transfer (its partial file goes) and joins the workers. Idempotent.
    void Stop();
    bool Started() const { return m_session != nullptr; }

    // UI thread: the controls follow the session.
    Events Refresh();
    // The texts composed from language texts, again in the current language.
    void ReshowTexts() { m_status.Reshow(); }

    // The user's actions.
    void SetChecked(std::size_t row, bool checked);
    // Checked rows that can be downloaded wait for their download; false when none was due.
    bool ConfirmDownloads();
    std::optional<std::size_t> RowOf(const CControlUI& control) const { return m_list.RowOf(control); }

    // The window may close unless a row waits for or runs a download.
    bool CanClose() const;
    // Where the packages are stored.
    const std::filesystem::path& DownloadFolder() const { return m_downloadFolder; }

    // What the controls show now (the state of the last refresh).
    const UpdateSessionSnapshot& Shown() const { return m_shown; }
    // For tests and the command line (null before Start).
    UpdateSession* Session() { return m_session.get(); }

private:
    // The controls follow the session; true when the window entered the all-current state.
    bool ShowSnapshot();

    CUpdateListPresenter m_list;
    CUpdateWindowStatus m_status;
    std::filesystem::path m_downloadFolder;
    std::unique_ptr<UpdateSession> m_session;
    UpdateSessionSnapshot m_shown;
};

}  // namespace zevik
