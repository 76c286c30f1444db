#include "devices/receiver_event_reader.h"

#include <mutex>
#include <utility>

#include "transport/command_channel.h"

namespace zevik {

CReceiverEventReader::CReceiverEventReader(CNotificationReader::Handler handler, std::string exitTrace)
    : handler_(std::move(handler)), exitTrace_(std::move(exitTrace)) {}

bool CReceiverEventReader::Open(CCommandChannel& channel, const std::string& path) {
    if (open_) return true;
    {
        std::lock_guard lock(channel.SecondLock());
        if (!channel.ReceiverInterface().Open(path, true, true, true, false)) return false;
        open_ = true;
    }
    reader_ = std::make_unique<CNotificationReader>(channel.ReceiverInterface(), channel.SecondLock(), handler_,
                                                    exitTrace_);
    reader_->Start();
    return true;
}

void CReceiverEventReader::Close(CCommandChannel& channel) {
    if (reader_) reader_->RequestStop();
    {
        // Closing cancels the reader's pending read.
        std::lock_guard lock(channel.SecondLock());
        open_ = false;
        channel.ReceiverInterface().Close();
    }
    if (reader_) {
        reader_->Join();
        reader_.reset();
    }
}

}  // namespace zevik
