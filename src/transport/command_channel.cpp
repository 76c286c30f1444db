#include "transport/command_channel.h"

#include <algorithm>
#include <string>

#include "platform/trace.h"
#include "transport/vendor_report.h"

namespace zevik {
namespace {

// Counts the exchange as running for the life of the scope.
class BusyScope {
public:
    explicit BusyScope(std::atomic<int>& count) : count_(count) { count_.fetch_add(1, std::memory_order_acq_rel); }
    ~BusyScope() { count_.fetch_sub(1, std::memory_order_acq_rel); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    std::atomic<int>& count_;
};

// 32 bytes as eight groups of four: three spaces between the first four groups, two between the rest.
std::string FormatHalfReport(std::span<const uint8_t, 32> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string line;
    line.reserve(32 * 3 + 8);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            if (i % 4 != 0) {
                line += ' ';
            } else {
                line += i <= 12 ? "   " : "  ";
            }
        }
        line += kDigits[bytes[i] >> 4];
        line += kDigits[bytes[i] & 0x0F];
    }
    return line;
}

void TraceReport(std::string_view title, const vendor::Report& report) {
    Trace(title);
    const std::span<const uint8_t, vendor::kReportSize> all(report);
    Trace(FormatHalfReport(all.first<32>()));
    Trace(FormatHalfReport(all.last<32>()));
}

}  // namespace

CCommandChannel::CCommandChannel(IHidBackend& backend) : CCommandChannel(backend, backend) {}

CCommandChannel::CCommandChannel(IHidBackend& cableBackend, IHidBackend& receiverBackend)
    : cable_(cableBackend), receiver_(receiverBackend) {}

void CCommandChannel::SetConnectionMode(int mode) {
    const bool receiver = mode == kConnectionReceiver;
    receiverMode_.store(receiver, std::memory_order_release);
    chunkSize_.store(receiver ? kReceiverChunkSize : kCableChunkSize, std::memory_order_release);
}

bool CCommandChannel::OpenConnection(const std::string& path, int mode) {
    const std::lock_guard lock(exchangeLock_);
    CHidInterface& link = mode == kConnectionReceiver ? receiver_ : cable_;
    if (!link.Open(path, true, true, true, false)) return false;
    SetConnectionMode(mode);
    SetOpen(true);
    return true;
}

void CCommandChannel::CloseConnections() {
    const std::lock_guard lock(exchangeLock_);
    SetOpen(false);
    cable_.Close();
    receiver_.Close();
}

bool CCommandChannel::SetBlockSize(uint32_t size) {
    if (size > kMaxBlockSize) return false;
    blockSize_.store(static_cast<uint16_t>(size), std::memory_order_release);
    return true;
}

int CCommandChannel::Exchange(std::span<const uint8_t> request, std::span<uint8_t> answer, uint32_t* received) {
    return Run(request, answer, received, false);
}

int CCommandChannel::ExchangeProtected(std::span<const uint8_t> request, std::span<uint8_t> answer,
                                       uint32_t* received) {
    return Run(request, answer, received, true);
}

int CCommandChannel::Run(std::span<const uint8_t> request, std::span<uint8_t> answer, uint32_t* received,
                         bool isProtected) {
    const BusyScope busy(busyCount_);
    if (received != nullptr) *received = 0;

    vendor::Report out{};
    std::copy_n(request.begin(), std::min(request.size(), out.size()), out.begin());

    // One lock from the write through the reads: an answer read here belongs to this request or is a
    // stale one from an exchange that timed out earlier, never to a request of another thread.
    const std::lock_guard lock(exchangeLock_);
    if (!IsOpen()) return kResultNoAnswer;

    const bool receiver = ReceiverMode();
    CHidInterface& link = receiver ? receiver_ : cable_;
    uint32_t timeoutMs = kCableTimeoutMs;
    if (receiver) timeoutMs = isProtected ? kProtectedReceiverTimeoutMs : kReceiverTimeoutMs;
    const bool checkCrc = isProtected && receiver;
    if (checkCrc) vendor::StoreCrc(out);

    const bool traced = !isProtected && TraceEnabled();
    if (traced) TraceReport("命令", out);

    if (!link.Write(out.data(), static_cast<uint32_t>(out.size()), nullptr, timeoutMs)) return kResultWriteFailed;

    // At most two reads: the spare one absorbs a late answer to an earlier request that timed out.
    // An answer that does not echo our command is never taken for ours.
    // Reports of another id that share the collection (the headset's keys) are no answer and cost no
    // attempt; a bounded number of them is passed over.
    vendor::Report in{};
    int result = kResultNoAnswer;
    int foreign = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        in.fill(0);
        uint32_t count = 0;
        const bool ok = link.Read(in.data(), static_cast<uint32_t>(in.size()), &count, timeoutMs);
        if (received != nullptr) *received = ok ? count : 0;
        if (!ok) {
            result = kResultNoAnswer;
            break;
        }
        if (in[vendor::kOffsetReportId] != vendor::kReportId && foreign < kMaxForeignReports) {
            ++foreign;
            --attempt;
            continue;
        }
        const size_t copied = std::min({static_cast<size_t>(count), in.size(), answer.size()});
        std::copy_n(in.begin(), copied, answer.begin());
        std::fill(in.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(count, in.size())), in.end(), 0);

        const uint8_t echoed = in[vendor::kOffsetCommand];
        if (echoed == out[vendor::kOffsetCommand]) {
            result = (checkCrc && !vendor::CrcMatches(in)) ? kResultReceiverCannotServe : kResultDone;
            break;
        }
        if (receiver && echoed == vendor::kReceiverCannotServe) {
            result = kResultReceiverCannotServe;
            break;
        }
        result = kResultNoAnswer;  // another command's answer: try once more, never take it
    }

    if (traced) TraceReport("返回", in);
    return result;
}

}  // namespace zevik
