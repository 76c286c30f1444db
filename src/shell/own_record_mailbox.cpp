#include "shell/own_record_mailbox.h"

#include <algorithm>

#include "ui/message_loop.h"

namespace zevik {

void COwnRecordMailbox::Put(std::span<const std::uint8_t> record) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    std::fill(record_.begin(), record_.end(), std::uint8_t{0});
    std::copy_n(record.begin(), std::min(record.size(), record_.size()), record_.begin());
    if (queued_) return;  // the queued task takes this newer record
    queued_ = true;
    loop_.PostTask([self = shared_from_this()] { self->Take(); });
}

void COwnRecordMailbox::Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
}

void COwnRecordMailbox::Take() {
    CBandAnalysis::RecordBytes record;
    {
        std::lock_guard lock(mutex_);
        queued_ = false;
        if (closed_) return;
        record = record_;
    }
    deliver_(record);
}

}  // namespace zevik
