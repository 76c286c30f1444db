#pragma once
// CHidInterface: the one object through which the program touches a HID interface of a peripheral.
// It lists interface paths, opens one by path, learns its report lengths and fields from the report
// descriptor, and moves reports with a time-out and cancellation. It knows nothing of the protocol.
//
// Public contract (callers rely on it; the private part belongs to the implementation):
// - Open() true means vendor id, product id, usage page, usage and report lengths can be read at once.
// - Read()/Write() are true only when the transfer completed within the time-out.
// - The input report buffer is exactly InputReportLength() bytes.
// - One thread reads and at most one other writes; Close()/Reopen() may come from a third thread while
//   a Read with kInfinite waits: the transfer ends promptly and nothing is freed until it has left.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "transport/hid/hid_backend.h"

namespace zevik {

// One field of one report: a button range or a single value usage.
struct HidReportField {
    bool isButton = false;
    uint16_t usagePage = 0;
    int32_t lastStatus = 0;  // parser status of the last update; 0 = success
    uint32_t reportId = 0;
    bool isSet = false;      // set when the last unpack filled this entry
    // Button part.
    uint32_t usageMin = 0;
    uint32_t usageMax = 0;
    uint32_t maxUsageListLength = 0;
    std::vector<uint16_t> usages;  // maxUsageListLength entries; usages that are on, then 0
    // Value part.
    uint16_t usage = 0;
    uint32_t rawValue = 0;
    int32_t scaledValue = 0;
};

class CHidInterface {
public:
    static constexpr uint32_t kInfinite = 0xFFFFFFFF;
    static constexpr size_t kMaxPathLength = 260;  // longer paths are refused by Open

    explicit CHidInterface(IHidBackend& backend);
    ~CHidInterface();
    CHidInterface(const CHidInterface&) = delete;
    CHidInterface& operator=(const CHidInterface&) = delete;

    // Replaces the path list by every present interface path and resets the cursor.
    bool EnumeratePaths();
    // The path at the cursor, then advances; null when empty or exhausted. Owned by this object.
    const std::string* NextPath();
    void FreePaths();

    bool Open(const std::string& path, bool wantRead, bool wantWrite, bool overlapped, bool shareReadOnly);
    bool Reopen();
    void Close();
    bool IsOpen() const;

    // transferred may be null; timeoutMs may be kInfinite.
    bool Read(uint8_t* buffer, uint32_t length, uint32_t* transferred, uint32_t timeoutMs);
    bool Write(const uint8_t* buffer, uint32_t length, uint32_t* transferred, uint32_t timeoutMs);
    // One output report as a control transfer (report id first); as Write for the rest.
    bool SetOutputReport(const uint8_t* buffer, uint32_t length, uint32_t timeoutMs);

    // Fills the input field table from one input report (first byte = report id).
    void UnpackInputReport(const uint8_t* report, uint32_t length);

    uint16_t VendorId() const;
    uint16_t ProductId() const;
    uint16_t VersionNumber() const;
    uint16_t UsagePage() const;
    uint16_t Usage() const;
    uint16_t InputReportLength() const;
    uint16_t OutputReportLength() const;
    uint16_t FeatureReportLength() const;
    uint32_t InterfaceNumber() const;
    uint32_t CollectionNumber() const;
    const std::string& DevicePath() const;
    uint8_t* InputReportBuffer();
    uint32_t InputReportBufferLength() const;
    const std::vector<HidReportField>& InputFields() const;

private:
    bool Send(const uint8_t* buffer, uint32_t length, uint32_t* transferred, uint32_t timeoutMs,
              bool controlTransfer);

    struct State;  // the implementation's open-interface state
    IHidBackend& backend_;
    std::unique_ptr<State> state_;
};

}  // namespace zevik
