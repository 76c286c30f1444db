#pragma once
// A scripted IHidBackend for CHidInterface tests: nodes with a descriptor and attributes, input
// reports queued by the test, output reports recorded, and Cancel that ends a waiting Read.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "transport/hid/hid_backend.h"

namespace zevik::testing {

// A descriptor from tests/data/hid: hex bytes, '#' starts a comment.
inline std::vector<uint8_t> LoadHexDescriptor(const std::string& name) {
    std::ifstream in(std::string(ZEVIK_TEST_DATA_DIR) + "/hid/" + name);
    std::vector<uint8_t> bytes;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string word;
        while (words >> word) bytes.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
    }
    return bytes;
}

struct FakeHidNode {
    std::vector<uint8_t> descriptor;
    HidAttributes attributes{0x320F, 0x225A, 0x0102};
    bool openFails = false;
};

// Shared between the backend and every connection opened on the node, so a test can feed reports
// and look at what was written after CHidInterface took the connection.
struct FakeHidLine {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::vector<uint8_t>> input;
    std::vector<std::vector<uint8_t>> output;
    int readsWaiting = 0;
    int writesWaiting = 0;
    bool writeBlocks = false;  // a Write waits (for its time-out or Cancel) instead of completing
    int cancels = 0;

    void Push(std::vector<uint8_t> report) {
        {
            std::lock_guard lock(mutex);
            input.push_back(std::move(report));
        }
        changed.notify_all();
    }
    // Waits until a Read (or Write) is blocked inside the backend.
    bool WaitForReader(int count = 1) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return readsWaiting >= count; });
    }
    bool WaitForWriter() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return writesWaiting >= 1; });
    }
};

class FakeHidConnection final : public IHidConnection {
public:
    FakeHidConnection(FakeHidNode node, std::shared_ptr<FakeHidLine> line, int* alive)
        : node_(std::move(node)), line_(std::move(line)), alive_(alive) {
        ++*alive_;
    }
    ~FakeHidConnection() override { --*alive_; }

    std::vector<uint8_t> ReportDescriptor() const override { return node_.descriptor; }
    HidAttributes Attributes() const override { return node_.attributes; }

    HidIoResult Read(std::span<uint8_t> buffer, int timeoutMs) override {
        std::unique_lock lock(line_->mutex);
        ++line_->readsWaiting;
        line_->changed.notify_all();
        auto ready = [&] { return cancelled_ || !line_->input.empty(); };
        bool got = true;
        if (timeoutMs == kHidWaitForever) {
            line_->changed.wait(lock, ready);
        } else {
            got = line_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
        }
        --line_->readsWaiting;
        if (cancelled_) return {HidIoStatus::Cancelled, 0};
        if (!got) return {HidIoStatus::TimedOut, 0};
        auto report = std::move(line_->input.front());
        line_->input.pop_front();
        const size_t n = std::min(report.size(), buffer.size());
        std::copy_n(report.begin(), n, buffer.begin());
        return {HidIoStatus::Ok, n};
    }

    HidIoResult Write(std::span<const uint8_t> report, int timeoutMs) override {
        std::unique_lock lock(line_->mutex);
        if (cancelled_) return {HidIoStatus::Cancelled, 0};
        if (line_->writeBlocks) {
            ++line_->writesWaiting;
            line_->changed.notify_all();
            auto done = [&] { return cancelled_; };
            if (timeoutMs == kHidWaitForever) {
                line_->changed.wait(lock, done);
            } else {
                line_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), done);
            }
            --line_->writesWaiting;
            return {cancelled_ ? HidIoStatus::Cancelled : HidIoStatus::TimedOut, 0};
        }
        line_->output.emplace_back(report.begin(), report.end());
        return {HidIoStatus::Ok, report.size()};
    }

    void Cancel() override {
        {
            std::lock_guard lock(line_->mutex);
            cancelled_ = true;
            ++line_->cancels;
        }
        line_->changed.notify_all();
    }

private:
    FakeHidNode node_;
    std::shared_ptr<FakeHidLine> line_;
    int* alive_;
    bool cancelled_ = false;  // guarded by line_->mutex
};

class FakeHidBackend final : public IHidBackend {
public:
    bool Enumerate(std::vector<std::string>& paths) override {
        paths = enumeration;
        return enumerateOk;
    }

    std::unique_ptr<IHidConnection> Open(const std::string& path, bool, bool) override {
        ++opens;
        lastOpenedPath = path;
        if (node.openFails) return nullptr;
        return std::make_unique<FakeHidConnection>(node, line, &aliveConnections);
    }

    std::vector<std::string> enumeration;
    bool enumerateOk = true;
    FakeHidNode node;  // every path opens this node
    std::shared_ptr<FakeHidLine> line = std::make_shared<FakeHidLine>();
    int opens = 0;
    std::string lastOpenedPath;
    int aliveConnections = 0;
};

}  // namespace zevik::testing
