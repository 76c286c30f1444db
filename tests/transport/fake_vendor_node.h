#pragma once
// A scripted virtual HID node for the command-channel tests: one vendor collection (page 0xFF1C,
// usage 0x92, report id 4, 64-byte reports). It records every request and answers with what the
// test's responder returns; the default responder echoes the request with status 0 and, for read
// commands, a payload whose byte i is the low byte of (address + i).

#include <algorithm>
#include <functional>
#include <mutex>
#include <vector>

#include "transport/hid/emulated_backend.h"
#include "transport/vendor_report.h"

namespace zevik::test {

using vendor::Report;

inline Report ToReport(std::span<const uint8_t> bytes) {
    Report report{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), report.size()), report.begin());
    return report;
}

// The answer a well-behaved device gives: the request's header with status 0, and for reads the
// payload pattern (address + i) & 0xFF.
inline Report DefaultAnswer(const Report& request) {
    Report answer{};
    std::copy_n(request.begin(), vendor::kOffsetPayload, answer.begin());
    answer[vendor::kOffsetStatus] = 0;
    switch (request[vendor::kOffsetCommand]) {
        case vendor::kCmdReadDeviceInfo:
        case vendor::kCmdReadMemory:
        case vendor::kCmdReadKeyTable:
        case vendor::kCmdReadKeyColors:
        case vendor::kCmdReadLedIndexTable:
        case vendor::kCmdReadStatus: {
            const unsigned address = request[vendor::kOffsetAddressLow] | (request[vendor::kOffsetAddressHigh] << 8);
            for (size_t i = 0; i < vendor::kMaxPayload; ++i)
                answer[vendor::kOffsetPayload + i] = static_cast<uint8_t>((address + i) & 0xFF);
            break;
        }
        default: break;
    }
    return answer;
}

class FakeVendorNode final : public IEmulatedHidNode {
public:
    // Answers to send for the n-th request (0-based); an empty list sends nothing.
    using Responder = std::function<std::vector<Report>(const Report& request, size_t index)>;

    explicit FakeVendorNode(std::string name = "fake-vendor", uint16_t productId = 0x225A)
        : name_(std::move(name)), productId_(productId) {}

    std::string Name() const override { return name_; }
    HidAttributes Attributes() const override { return {0x320F, productId_, 0x0100}; }
    uint8_t InterfaceNumber() const override { return 1; }
    std::vector<uint8_t> ReportDescriptor() const override {
        return {0x06, 0x1C, 0xFF,  // usage page 0xFF1C
                0x09, 0x92,        // usage 0x92
                0xA1, 0x01,        // collection (application)
                0x85, 0x04,        //   report id 4
                0x15, 0x00,        //   logical minimum 0
                0x26, 0xFF, 0x00,  //   logical maximum 255
                0x75, 0x08,        //   report size 8
                0x95, 0x3F,        //   report count 63
                0x09, 0x01,        //   usage 1
                0x81, 0x02,        //   input (data, variable, absolute)
                0x09, 0x02,        //   usage 2
                0x91, 0x02,        //   output (data, variable, absolute)
                0xC0};             // end collection
    }
    std::vector<EmulatedCollection> Collections() const override { return {{0xFF1C, 0x92, {4}}}; }

    void OnOutputReport(std::span<const uint8_t> bytes, IEmulatedInputSink& sink) override {
        const Report request = ToReport(bytes);
        Responder responder;
        size_t index = 0;
        {
            std::lock_guard lock(mutex_);
            index = requests_.size();
            requests_.push_back(request);
            responder = responder_;
        }
        const std::vector<Report> answers = responder ? responder(request, index) : std::vector{DefaultAnswer(request)};
        for (const Report& answer : answers) sink.SendInput(answer);
    }

    void SetResponder(Responder responder) {
        std::lock_guard lock(mutex_);
        responder_ = std::move(responder);
    }

    std::vector<Report> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

    void ClearRequests() {
        std::lock_guard lock(mutex_);
        requests_.clear();
    }

private:
    std::string name_;
    uint16_t productId_;
    mutable std::mutex mutex_;
    std::vector<Report> requests_;
    Responder responder_;
};

}  // namespace zevik::test
