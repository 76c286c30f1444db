#include "transport/hid_interface.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstring>
#include <span>

#include "platform/trace.h"
#include "transport/hid_report_descriptor.h"

namespace zevik {
namespace {

// Field tables are sized from the device's descriptor; these bounds keep a hostile one from making
// Open allocate without limit.
constexpr size_t kMaxFieldEntries = 1u << 16;
constexpr size_t kMaxUsageArrayEntries = 1u << 20;

// Length of a UTF-8 path in UTF-16 units, the unit of the 260-unit path buffer.
size_t Utf16Length(const std::string& path) {
    size_t units = 0;
    for (unsigned char c : path) {
        if ((c & 0xC0u) == 0x80u) continue;  // continuation byte
        units += (c >= 0xF0u) ? 2 : 1;       // four-byte sequences need a surrogate pair
    }
    return units;
}

// The hexadecimal number right after the first case-insensitive occurrence of key; 0 when absent.
uint32_t HexAfter(const std::string& path, std::string_view key) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    const auto it = std::search(path.begin(), path.end(), key.begin(), key.end(),
                                [&](char a, char b) { return lower(a) == lower(b); });
    if (it == path.end()) return 0;
    uint32_t value = 0;
    int digits = 0;
    for (auto p = it + static_cast<std::ptrdiff_t>(key.size()); p != path.end() && digits < 8;
         ++p, ++digits) {
        const char c = lower(*p);
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else {
            break;
        }
        value = value * 16 + digit;
    }
    return value;
}

int BackendTimeout(uint32_t timeoutMs) {
    if (timeoutMs == CHidInterface::kInfinite) return kHidWaitForever;
    return static_cast<int>(std::min<uint32_t>(timeoutMs, INT_MAX));
}

}  // namespace

struct CHidInterface::State {
    std::vector<std::string> paths;
    uint32_t cursor = 0;

    bool wantRead = false;
    bool wantWrite = false;
    bool overlapped = false;     // every transfer here waits with a time-out; kept for Reopen
    bool shareReadOnly = false;  // hidraw has no share modes; kept for Reopen
    std::string devicePath;

    // Guards everything below. Transfers run without it on the connection they started on; Close
    // takes the connection away first, cancels what is in flight and waits for it to drain.
    mutable std::mutex mutex;
    std::condition_variable idle;
    std::unique_ptr<IHidConnection> connection;
    int activeTransfers = 0;
    bool reading = false;
    bool writing = false;

    HidAttributes attributes;
    HidTopCollection collection;
    bool nodeUsesReportIds = false;
    std::vector<uint8_t> inputReportIds;
    std::array<std::vector<uint8_t>, kHidReportTypeCount> buffers;
    std::array<std::vector<HidReportField>, kHidReportTypeCount> fields;
    uint32_t interfaceNumber = 0;
    uint32_t collectionNumber = 0;

    void FreeTables() {
        for (auto& buffer : buffers) buffer = {};
        for (auto& table : fields) table = {};
        collection = {};
        inputReportIds.clear();
    }
};

CHidInterface::CHidInterface(IHidBackend& backend) : backend_(backend), state_(std::make_unique<State>()) {}

CHidInterface::~CHidInterface() {
    Close();
}

bool CHidInterface::EnumeratePaths() {
    std::vector<std::string> found;
    const bool ok = backend_.Enumerate(found);
    std::lock_guard lock(state_->mutex);
    state_->paths.clear();
    state_->cursor = 0;
    if (!ok) return false;
    // Only usable paths are kept, packed and in the backend's order.
    for (auto& path : found) {
        if (!path.empty()) state_->paths.push_back(std::move(path));
    }
    return true;
}

const std::string* CHidInterface::NextPath() {
    std::lock_guard lock(state_->mutex);
    if (state_->cursor >= state_->paths.size()) return nullptr;
    return &state_->paths[state_->cursor++];
}

void CHidInterface::FreePaths() {
    std::lock_guard lock(state_->mutex);
    state_->paths.clear();
    state_->paths.shrink_to_fit();
    state_->cursor = 0;
}

bool CHidInterface::Open(const std::string& path, bool wantRead, bool wantWrite, bool overlapped,
                         bool shareReadOnly) {
    {
        std::lock_guard lock(state_->mutex);
        state_->wantRead = wantRead;
        state_->wantWrite = wantWrite;
        state_->overlapped = overlapped;
        state_->shareReadOnly = shareReadOnly;
        // A path that does not fit the path buffer is refused rather than cut to another device's.
        state_->devicePath = Utf16Length(path) < kMaxPathLength ? path : std::string();
    }
    if (Utf16Length(path) >= kMaxPathLength) {
        Close();
        Trace("hid: path longer than the path buffer refused");
        return false;
    }
    return Reopen();
}

namespace {

// The field table of one report type: one entry per button capability, then one per value usage.
bool BuildFieldTable(const HidTopCollection& collection, HidReportType type,
                     std::vector<HidReportField>& table, size_t& usageEntries) {
    const auto& buttons = collection.ButtonCaps(type);
    const auto& values = collection.ValueCaps(type);
    size_t count = buttons.size();
    for (const auto& cap : values) count += static_cast<size_t>(cap.usageMax - cap.usageMin) + 1;
    if (count > kMaxFieldEntries) return false;
    table.clear();
    table.reserve(count);
    for (const auto& cap : buttons) {
        HidReportField entry;
        entry.isButton = true;
        entry.usagePage = cap.usagePage;
        entry.reportId = cap.reportId;
        entry.usageMin = cap.usageMin;
        entry.usageMax = cap.usageMax;
        entry.maxUsageListLength = HidMaxUsageListLength(collection, type, cap.usagePage);
        usageEntries += entry.maxUsageListLength;
        if (usageEntries > kMaxUsageArrayEntries) return false;
        entry.usages.assign(entry.maxUsageListLength, 0);
        table.push_back(std::move(entry));
    }
    for (const auto& cap : values) {
        for (uint32_t usage = cap.usageMin; usage <= cap.usageMax; ++usage) {
            HidReportField entry;
            entry.usagePage = cap.usagePage;
            entry.reportId = cap.reportId;
            entry.usage = static_cast<uint16_t>(usage);
            table.push_back(std::move(entry));
        }
    }
    return true;
}

}  // namespace

bool CHidInterface::Reopen() {
    Close();
    State& s = *state_;
    std::lock_guard lock(s.mutex);
    s.attributes = {};
    if (s.devicePath.empty()) return false;
    auto connection = backend_.Open(s.devicePath, s.wantRead, s.wantWrite);
    if (!connection) return false;

    HidReportDescriptor descriptor;
    std::string reason;
    const auto bytes = connection->ReportDescriptor();
    if (!descriptor.Parse(bytes, &reason)) {
        Trace("hid: report descriptor refused: " + reason);
        return false;
    }
    s.interfaceNumber = HexAfter(s.devicePath, "&mi_");
    s.collectionNumber = HexAfter(s.devicePath, "&col");
    const auto& collections = descriptor.Collections();
    const size_t index = s.collectionNumber == 0 ? 0 : s.collectionNumber - 1;
    if (index >= collections.size()) {
        Trace("hid: path names a collection the node does not have");
        return false;
    }
    s.nodeUsesReportIds = std::any_of(collections.begin(), collections.end(), [](const HidTopCollection& c) {
        return std::any_of(c.reportIds.begin(), c.reportIds.end(), [](uint8_t id) { return id != 0; });
    });
    s.collection = collections[index];
    s.attributes = connection->Attributes();
    for (const auto& field : s.collection.fields) {
        if (field.type == HidReportType::Input) s.inputReportIds.push_back(field.reportId);
    }
    std::sort(s.inputReportIds.begin(), s.inputReportIds.end());
    s.inputReportIds.erase(std::unique(s.inputReportIds.begin(), s.inputReportIds.end()),
                           s.inputReportIds.end());

    size_t usageEntries = 0;
    for (size_t type = 0; type < kHidReportTypeCount; ++type) {
        const auto reportType = static_cast<HidReportType>(type);
        s.buffers[type].assign(s.collection.ReportLength(reportType), 0);
        if (!BuildFieldTable(s.collection, reportType, s.fields[type], usageEntries)) {
            Trace("hid: report descriptor describes more fields than supported");
            s.FreeTables();
            s.attributes = {};
            return false;
        }
    }
    s.connection = std::move(connection);
    return true;
}

void CHidInterface::Close() {
    State& s = *state_;
    std::unique_ptr<IHidConnection> connection;
    {
        std::unique_lock lock(s.mutex);
        connection = std::move(s.connection);
        // Cancel only what is in flight: a cancel with nothing to end must not end a later transfer.
        if (connection && s.activeTransfers > 0) connection->Cancel();
        s.idle.wait(lock, [&] { return s.activeTransfers == 0; });
        s.FreeTables();
    }
    // Destroyed outside the lock: no transfer uses it any more.
    connection.reset();
}

bool CHidInterface::IsOpen() const {
    std::lock_guard lock(state_->mutex);
    return state_->connection != nullptr;
}

bool CHidInterface::Read(uint8_t* buffer, uint32_t length, uint32_t* transferred, uint32_t timeoutMs) {
    if (transferred) *transferred = 0;
    State& s = *state_;
    IHidConnection* connection = nullptr;
    bool usesIds = false;
    std::vector<uint8_t> ids;
    uint32_t reportLength = 0;
    {
        std::lock_guard lock(s.mutex);
        if (!s.connection || buffer == nullptr || length == 0) return false;
        connection = s.connection.get();
        usesIds = s.nodeUsesReportIds;
        ids = s.inputReportIds;
        reportLength = s.collection.ReportLength(HidReportType::Input);
        ++s.activeTransfers;
        s.reading = true;
    }

    const auto start = std::chrono::steady_clock::now();
    bool ok = false;
    size_t bytes = 0;
    for (;;) {
        int wait = BackendTimeout(timeoutMs);
        if (wait != kHidWaitForever) {
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            wait = static_cast<int>(std::max<int64_t>(0, wait - spent.count()));
        }
        HidIoResult result;
        if (usesIds) {
            result = connection->Read(std::span<uint8_t>(buffer, length), wait);
        } else {
            // The node sends bare reports; the caller's buffer starts with report id 0 as on Windows.
            result = connection->Read(std::span<uint8_t>(buffer + 1, length - 1), wait);
            buffer[0] = 0;
            if (result.status == HidIoStatus::Ok) ++result.bytes;
        }
        if (result.status != HidIoStatus::Ok) break;
        bytes = std::min<size_t>(result.bytes, length);
        // Reports of the node's other collections are not this interface's: drop them, read on.
        if (bytes == 0 || !std::binary_search(ids.begin(), ids.end(), buffer[0])) {
            if (wait == 0) break;
            continue;
        }
        ok = true;
        break;
    }
    if (ok) {
        // A short report is padded with zeros to the report length, as the Windows driver delivers it.
        std::memset(buffer + bytes, 0, length - bytes);
        bytes = std::max<size_t>(bytes, std::min<uint32_t>(length, reportLength));
        if (transferred) *transferred = static_cast<uint32_t>(bytes);
    }
    {
        std::lock_guard lock(s.mutex);
        s.reading = false;
        --s.activeTransfers;
    }
    s.idle.notify_all();
    return ok;
}

bool CHidInterface::Write(const uint8_t* buffer, uint32_t length, uint32_t* transferred, uint32_t timeoutMs) {
    if (transferred) *transferred = 0;
    return Send(buffer, length, transferred, timeoutMs, false);
}

bool CHidInterface::SetOutputReport(const uint8_t* buffer, uint32_t length, uint32_t timeoutMs) {
    return Send(buffer, length, nullptr, timeoutMs, true);
}

bool CHidInterface::Send(const uint8_t* buffer, uint32_t length, uint32_t* transferred, uint32_t timeoutMs,
                         bool controlTransfer) {
    State& s = *state_;
    IHidConnection* connection = nullptr;
    {
        std::lock_guard lock(s.mutex);
        if (!s.connection || buffer == nullptr || length == 0) return false;
        connection = s.connection.get();
        ++s.activeTransfers;
        s.writing = true;
    }
    const std::span<const uint8_t> report(buffer, length);
    const HidIoResult result = controlTransfer ? connection->SetOutputReport(report, BackendTimeout(timeoutMs))
                                               : connection->Write(report, BackendTimeout(timeoutMs));
    const bool ok = result.status == HidIoStatus::Ok;
    if (ok && transferred) *transferred = static_cast<uint32_t>(std::min<size_t>(result.bytes, length));
    {
        std::lock_guard lock(s.mutex);
        s.writing = false;
        --s.activeTransfers;
    }
    s.idle.notify_all();
    return ok;
}

void CHidInterface::UnpackInputReport(const uint8_t* report, uint32_t length) {
    State& s = *state_;
    std::lock_guard lock(s.mutex);
    auto& table = s.fields[static_cast<size_t>(HidReportType::Input)];
    if (report == nullptr || length == 0 || table.empty()) return;
    const uint8_t id = report[0];
    if (std::none_of(table.begin(), table.end(), [&](const HidReportField& e) { return e.reportId == id; }))
        return;

    // The parser wants the whole report: a short one is read as if padded with zeros.
    const uint16_t reportLength = s.collection.ReportLength(HidReportType::Input);
    std::vector<uint8_t> whole(reportLength, 0);
    std::memcpy(whole.data(), report, std::min<size_t>(length, reportLength));

    // Entries of other reports are marked unset so no reader takes their old usages for new ones.
    for (auto& entry : table) entry.isSet = false;
    for (auto& entry : table) {
        if (entry.reportId != id) continue;
        if (entry.isButton) {
            uint32_t count = entry.maxUsageListLength;
            entry.lastStatus = HidGetUsages(s.collection, HidReportType::Input, entry.usagePage, 0,
                                            entry.usages, count, whole);
            count = std::min<uint32_t>(count, static_cast<uint32_t>(entry.usages.size()));
            // Keep the usages of this entry's range, in order; zero the rest so none is stale.
            uint32_t kept = 0;
            for (uint32_t i = 0; i < count; ++i) {
                const uint16_t usage = entry.usages[i];
                if (usage >= entry.usageMin && usage <= entry.usageMax) entry.usages[kept++] = usage;
            }
            std::fill(entry.usages.begin() + kept, entry.usages.end(), 0);
        } else {
            entry.lastStatus = HidGetUsageValue(s.collection, HidReportType::Input, entry.usagePage, 0,
                                                entry.usage, entry.rawValue, whole);
            if (entry.lastStatus != hid_status::kSuccess) return;  // later entries stay unset
            entry.lastStatus = HidGetScaledUsageValue(s.collection, HidReportType::Input, entry.usagePage, 0,
                                                      entry.usage, entry.scaledValue, whole);
        }
        entry.isSet = true;
    }
}

uint16_t CHidInterface::VendorId() const {
    std::lock_guard lock(state_->mutex);
    return state_->attributes.vendorId;
}
uint16_t CHidInterface::ProductId() const {
    std::lock_guard lock(state_->mutex);
    return state_->attributes.productId;
}
uint16_t CHidInterface::VersionNumber() const {
    std::lock_guard lock(state_->mutex);
    return state_->attributes.versionNumber;
}
uint16_t CHidInterface::UsagePage() const {
    std::lock_guard lock(state_->mutex);
    return state_->collection.usagePage;
}
uint16_t CHidInterface::Usage() const {
    std::lock_guard lock(state_->mutex);
    return state_->collection.usage;
}
uint16_t CHidInterface::InputReportLength() const {
    std::lock_guard lock(state_->mutex);
    return state_->collection.ReportLength(HidReportType::Input);
}
uint16_t CHidInterface::OutputReportLength() const {
    std::lock_guard lock(state_->mutex);
    return state_->collection.ReportLength(HidReportType::Output);
}
uint16_t CHidInterface::FeatureReportLength() const {
    std::lock_guard lock(state_->mutex);
    return state_->collection.ReportLength(HidReportType::Feature);
}
uint32_t CHidInterface::InterfaceNumber() const {
    std::lock_guard lock(state_->mutex);
    return state_->interfaceNumber;
}
uint32_t CHidInterface::CollectionNumber() const {
    std::lock_guard lock(state_->mutex);
    return state_->collectionNumber;
}
const std::string& CHidInterface::DevicePath() const {
    return state_->devicePath;
}
uint8_t* CHidInterface::InputReportBuffer() {
    auto& buffer = state_->buffers[static_cast<size_t>(HidReportType::Input)];
    return buffer.empty() ? nullptr : buffer.data();
}
uint32_t CHidInterface::InputReportBufferLength() const {
    std::lock_guard lock(state_->mutex);
    return static_cast<uint32_t>(state_->buffers[static_cast<size_t>(HidReportType::Input)].size());
}
const std::vector<HidReportField>& CHidInterface::InputFields() const {
    return state_->fields[static_cast<size_t>(HidReportType::Input)];
}

}  // namespace zevik
