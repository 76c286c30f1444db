#pragma once
// COwnRecordMailbox: hands our own capture's records from its thread to the UI thread. Only the
// newest record waits; one task is queued at a time. Once closed (on the UI thread, before the window
// goes), queued tasks deliver nothing.

#include <functional>
#include <memory>
#include <mutex>
#include <span>

#include "audio_lighting/band_analysis.h"

namespace zevik {

class CMessageLoop;

class COwnRecordMailbox : public std::enable_shared_from_this<COwnRecordMailbox> {
public:
    using Deliver = std::function<void(std::span<const std::uint8_t> record)>;

    // deliver runs on the loop's thread.
    COwnRecordMailbox(CMessageLoop& loop, Deliver deliver) : loop_(loop), deliver_(std::move(deliver)) {}

    // Capture thread: keeps the record and queues its delivery unless one is queued already.
    void Put(std::span<const std::uint8_t> record);
    // UI thread: nothing more is delivered.
    void Close();

private:
    void Take();

    CMessageLoop& loop_;
    Deliver deliver_;
    std::mutex mutex_;
    CBandAnalysis::RecordBytes record_{};
    bool queued_ = false;
    bool closed_ = false;
};

}  // namespace zevik
