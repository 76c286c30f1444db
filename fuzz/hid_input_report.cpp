// Fuzzes CHidInterface's open and unpack path: a node with a fuzzed descriptor is opened and fuzzed
// input reports of any length are unpacked into its field table.
// Input: two bytes of descriptor length (little-endian), the descriptor, then reports, each one byte
// of length followed by its bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "transport/hid_interface.h"

using namespace zevik;

namespace {

class Node final : public IHidConnection {
public:
    explicit Node(std::vector<uint8_t> descriptor) : descriptor_(std::move(descriptor)) {}
    std::vector<uint8_t> ReportDescriptor() const override { return descriptor_; }
    HidAttributes Attributes() const override { return {0x320F, 0x225A, 0x0100}; }
    HidIoResult Read(std::span<uint8_t>, int) override { return {HidIoStatus::TimedOut, 0}; }
    HidIoResult Write(std::span<const uint8_t> report, int) override {
        return {HidIoStatus::Ok, report.size()};
    }
    void Cancel() override {}

private:
    std::vector<uint8_t> descriptor_;
};

class Backend final : public IHidBackend {
public:
    explicit Backend(std::vector<uint8_t> descriptor) : descriptor_(std::move(descriptor)) {}
    bool Enumerate(std::vector<std::string>& paths) override {
        paths = {"fuzz:node#vid_320f&pid_225a&mi_01"};
        return true;
    }
    std::unique_ptr<IHidConnection> Open(const std::string&, bool, bool) override {
        return std::make_unique<Node>(descriptor_);
    }

private:
    std::vector<uint8_t> descriptor_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t descriptorLength = std::min<size_t>(size - 2, data[0] | (data[1] << 8));
    Backend backend(std::vector<uint8_t>(data + 2, data + 2 + descriptorLength));
    CHidInterface hid(backend);
    // The first byte after the descriptor picks the collection the path names.
    size_t at = 2 + descriptorLength;
    const unsigned collection = at < size ? data[at++] % 5 : 0;
    const std::string path = "fuzz:node#vid_320f&pid_225a&mi_01&col0" + std::to_string(collection);
    if (!hid.Open(path, true, true, true, false)) return 0;
    while (at < size) {
        const size_t declared = data[at++];
        const size_t length = std::min(declared, size - at);
        hid.UnpackInputReport(data + at, static_cast<uint32_t>(length));
        at += length;
    }
    return 0;
}
