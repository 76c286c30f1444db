#pragma once
// UpdateSession: the update part of the settings window without its controls. It holds the list
// rows and the window state, runs the check worker and the download worker, and tells its owner
// after every change through a notify hook that posts to the UI thread (the window then reads a
// snapshot). Workers never touch controls; a download's percentage is notified only when it changes.

#include "update/http_cancel.h"
#include "update/update_entry.h"
#include "update/update_row_state.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zevik {

struct UpdateListRow {
    std::string displayName;  // "Driver" for the program itself
    UpdateRowState state = UpdateRowState::UpToDate;
    bool checked = false;
    bool enabled = false;
    std::string currentText;
    std::string newText;
    std::string url;                  // the package's download address
    std::string packageName;          // the service's name for it
    std::filesystem::path localFile;  // empty when the name is not usable
    std::optional<std::int64_t> deviceId;
    int percent = -1;  // -1 until a download reports a length
};

struct UpdateSessionOptions {
    std::string apiRoot;
    std::filesystem::path dataRoot;        // where "updatetime.config" lives
    std::filesystem::path downloadFolder;  // private; empty: every download fails
    std::chrono::milliseconds pauseAfterDownload{4000};
};

struct UpdateSessionSnapshot {
    UpdateWindowState window = UpdateWindowState::Checking;
    std::vector<UpdateListRow> rows;
    std::string lastCheck;
    bool checkDone = false;
    bool downloading = false;  // a download pass is due or running
};

class UpdateSession {
public:
    using Notify = std::function<void()>;

    // One row per entry with a version (the absent ones are not listed), in the table's order.
    UpdateSession(const UpdateTable& table, UpdateSessionOptions options, Notify notify);
    ~UpdateSession();
    UpdateSession(const UpdateSession&) = delete;
    UpdateSession& operator=(const UpdateSession&) = delete;

    // Reads or starts "updatetime.config" and starts both workers.
    void Start();
    // Cancels a running transfer (its partial file is removed) and joins both workers.
    void Stop();

    UpdateSessionSnapshot Snapshot() const;

    // A row's check box.
    void SetChecked(std::size_t row, bool checked);
    bool AnyChecked() const;
    // The confirmation: checked rows in state 1, 2 or 8 wait for download, the others are
    // unchecked, and the download worker starts its pass. False when nothing was due.
    bool ConfirmDownloads();
    // The window may close unless a row waits for or runs a download.
    bool CanClose() const;
    // True once after a download pass that stored at least one package.
    bool TakeSavedNotice();

    // For the command line: block until the check ended / no download is due or running.
    void WaitForCheck();
    void WaitForDownloads();

    // How often the hook was called (the posts to the UI loop).
    std::uint64_t NotifyCount() const;

private:
    void CheckWorker();
    void DownloadWorker();
    void DownloadRow(std::size_t row);
    void Changed();

    const UpdateTable table_;
    std::vector<std::size_t> entries_;  // table index of each row
    const UpdateSessionOptions options_;
    const Notify notify_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    UpdateSessionSnapshot state_;
    bool startDownloads_ = false;
    bool stop_ = false;
    bool savedNotice_ = false;
    std::uint64_t notifyCount_ = 0;
    HttpCancel cancel_;
    std::thread checkThread_;
    std::thread downloadThread_;
};

}  // namespace zevik
