#pragma once
// A command channel open on a scripted vendor node through the emulated backend, and a trace sink
// that keeps the lines it is given.

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "fake_vendor_node.h"
#include "platform/trace.h"
#include "transport/command_channel.h"

namespace zevik::test {

class CapturingTraceSink final : public ITraceSink {
public:
    CapturingTraceSink() : previous_(SetTraceSink(this)) {}
    ~CapturingTraceSink() override { SetTraceSink(previous_); }
    CapturingTraceSink(const CapturingTraceSink&) = delete;
    CapturingTraceSink& operator=(const CapturingTraceSink&) = delete;

    void Write(std::string_view line) override {
        std::lock_guard lock(mutex_);
        lines_.emplace_back(line);
    }
    std::vector<std::string> Lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    ITraceSink* previous_;
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

class ChannelTest : public ::testing::Test {
protected:
    ChannelTest() {
        backend_.AddNode(node_);
        path_ = backend_.PathsOf(node_->Name()).at(0);
    }

    // Opens the interface of the mode (the same node serves both) the way the owner does.
    void Connect(int mode = kConnectionCable) {
        ASSERT_TRUE(channel_.OpenConnection(path_, mode));
    }

    std::shared_ptr<FakeVendorNode> node_ = std::make_shared<FakeVendorNode>();
    CEmulatedBackend backend_;
    CCommandChannel channel_{backend_};
    std::string path_;
};

}  // namespace zevik::test
