#include "update/update_session.h"

#include "update/http_download.h"
#include "update/update_check.h"
#include "update/update_time_file.h"

#include "platform/trace.h"

#include <fmt/format.h>

namespace zevik {
namespace {

bool IsDecimalSoftware(const UpdateEntry& entry) { return entry.code == kUpdateCodeSoftware; }

}  // namespace

UpdateSession::UpdateSession(const UpdateTable& table, UpdateSessionOptions options, Notify notify)
    : table_(table), options_(std::move(options)), notify_(std::move(notify)) {
    for (std::size_t i = 0; i < table_.size(); ++i) {
        const UpdateEntry& entry = table_[i];
        if (entry.currentVersion == 0) continue;
        UpdateListRow row;
        row.displayName = IsDecimalSoftware(entry) ? "Driver" : entry.displayName;
        row.currentText = entry.hexVersion != 0 ? fmt::format("V{:04x}", entry.currentVersion) : entry.versionText;
        entries_.push_back(i);
        state_.rows.push_back(std::move(row));
    }
}

UpdateSession::~UpdateSession() { Stop(); }

void UpdateSession::Start() {
    const std::string lastCheck = ReadOrStartUpdateTime(options_.dataRoot);
    {
        const std::lock_guard lock(mutex_);
        state_.lastCheck = lastCheck;
    }
    checkThread_ = std::thread(&UpdateSession::CheckWorker, this);
    downloadThread_ = std::thread(&UpdateSession::DownloadWorker, this);
}

void UpdateSession::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    cancel_.Cancel();
    wake_.notify_all();
    if (checkThread_.joinable()) checkThread_.join();
    if (downloadThread_.joinable()) downloadThread_.join();
}

void UpdateSession::Changed() {
    {
        const std::lock_guard lock(mutex_);
        ++notifyCount_;
    }
    wake_.notify_all();
    if (notify_) notify_();
}

UpdateSessionSnapshot UpdateSession::Snapshot() const {
    const std::lock_guard lock(mutex_);
    return state_;
}

std::uint64_t UpdateSession::NotifyCount() const {
    const std::lock_guard lock(mutex_);
    return notifyCount_;
}

void UpdateSession::CheckWorker() {
    bool reachedAny = false;
    for (std::size_t r = 0; r < entries_.size(); ++r) {
        if (cancel_.IsCancelled()) return;
        const UpdateEntry& entry = table_[entries_[r]];
        const bool hex = entry.hexVersion != 0;
        const UpdateCheckResult result =
            CheckForUpdate(options_.apiRoot, BuildAppKey(entry), entry.currentVersion, hex, &cancel_);
        reachedAny = reachedAny || result.reached;
        {
            const std::lock_guard lock(mutex_);
            UpdateListRow& row = state_.rows[r];
            if (result.reached && !result.name.empty()) {
                row.packageName = result.name;
                row.state = result.status == kUpdateStatusNewer ? UpdateRowState::Needed : UpdateRowState::UpToDate;
                row.newText = row.state == UpdateRowState::UpToDate ? std::string() : result.newVersionText;
                if (hex) row.currentText = result.currentVersionText;
                row.url = result.path;
                row.deviceId = result.deviceId;
                const std::optional<std::string> file = UpdateLocalFileName(result.name);
                if (file && !options_.downloadFolder.empty()) row.localFile = options_.downloadFolder / *file;
                // A package that cannot be stored safely cannot be offered as downloadable.
                if (row.state == UpdateRowState::Needed && !file) row.state = UpdateRowState::Failed;
            }
        }
        if (result.reached) {
            const std::string today = UpdateDateText();
            WriteUpdateTime(options_.dataRoot, today);
            const std::lock_guard lock(mutex_);
            state_.lastCheck = today;
        }
        Changed();
    }
    {
        const std::lock_guard lock(mutex_);
        bool anyChecked = false;
        for (UpdateListRow& row : state_.rows) {
            const bool offer = row.state != UpdateRowState::UpToDate && row.state != UpdateRowState::NotNeeded;
            row.checked = offer;
            row.enabled = offer;
            anyChecked = anyChecked || offer;
        }
        state_.window = anyChecked    ? UpdateWindowState::HaveUpdates
                        : !reachedAny ? UpdateWindowState::NotReached
                                      : UpdateWindowState::AllCurrent;
        state_.checkDone = true;
    }
    Changed();
}

void UpdateSession::SetChecked(std::size_t row, bool checked) {
    const std::lock_guard lock(mutex_);
    if (row < state_.rows.size() && state_.rows[row].enabled) state_.rows[row].checked = checked;
}

bool UpdateSession::AnyChecked() const {
    const std::lock_guard lock(mutex_);
    for (const UpdateListRow& row : state_.rows)
        if (row.checked) return true;
    return false;
}

bool UpdateSession::ConfirmDownloads() {
    bool due = false;
    {
        const std::lock_guard lock(mutex_);
        if (!state_.checkDone || state_.downloading) return false;
        for (UpdateListRow& row : state_.rows) {
            const bool waiting = row.state == UpdateRowState::Needed || row.state == UpdateRowState::NeededToo ||
                                 row.state == UpdateRowState::Failed;
            if (!waiting) continue;
            if (row.checked) {
                row.state = UpdateRowState::WaitingDownload;
                row.percent = -1;
                due = true;
            } else {
                row.checked = false;
            }
        }
        if (due) {
            startDownloads_ = true;
            state_.downloading = true;
        }
    }
    if (due) Changed();
    return due;
}

bool UpdateSession::CanClose() const {
    const std::lock_guard lock(mutex_);
    for (const UpdateListRow& row : state_.rows)
        if (UpdateRowIsBusy(row.state)) return false;
    return true;
}

bool UpdateSession::TakeSavedNotice() {
    const std::lock_guard lock(mutex_);
    const bool notice = savedNotice_;
    savedNotice_ = false;
    return notice;
}

void UpdateSession::WaitForCheck() {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return state_.checkDone || stop_; });
}

void UpdateSession::WaitForDownloads() {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return !state_.downloading || stop_; });
}

void UpdateSession::DownloadWorker() {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return startDownloads_ || stop_; });
            if (stop_) return;
            startDownloads_ = false;
        }
        bool stored = false;
        for (std::size_t r = 0; r < entries_.size(); ++r) {
            {
                const std::lock_guard lock(mutex_);
                if (stop_) return;
                if (state_.rows[r].state != UpdateRowState::WaitingDownload) continue;
            }
            DownloadRow(r);
            {
                std::unique_lock lock(mutex_);
                stored = stored || state_.rows[r].state == UpdateRowState::Downloaded;
                // A pause between packages; a stop ends it at once.
                if (wake_.wait_for(lock, options_.pauseAfterDownload, [this] { return stop_; })) return;
            }
        }
        {
            const std::lock_guard lock(mutex_);
            state_.downloading = false;
            state_.window = UpdateWindowState::HaveUpdates;
            savedNotice_ = savedNotice_ || stored;
        }
        Changed();
    }
}

void UpdateSession::DownloadRow(std::size_t r) {
    std::string url;
    std::filesystem::path target;
    {
        const std::lock_guard lock(mutex_);
        UpdateListRow& row = state_.rows[r];
        row.state = UpdateRowState::Downloading;
        state_.window = UpdateWindowState::Updating;
        url = row.url;
        target = row.localFile;
    }
    Changed();
    Trace(fmt::format("update: downloading {}", url));
    const HttpProgress progress = [this, r](double total, double received, void*) {
        if (total <= 0) return;  // a failure; the result decides the row's state
        const int percent = static_cast<int>(received * 100 / total);
        {
            const std::lock_guard lock(mutex_);
            if (state_.rows[r].percent == percent) return;
            state_.rows[r].percent = percent;
        }
        Changed();
    };
    const HttpDownloadResult result =
        target.empty() ? HttpDownloadResult::FileError : HttpDownload(url, target, progress, nullptr, &cancel_);
    {
        const std::lock_guard lock(mutex_);
        state_.rows[r].state = result == HttpDownloadResult::Ok ? UpdateRowState::Downloaded : UpdateRowState::Failed;
    }
    Changed();
}

}  // namespace zevik
