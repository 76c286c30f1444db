#pragma once
// CEvdevInputSource: the desktop's keyboards and mice through libevdev. Start opens every readable
// /dev/input/event* node that reports keys or buttons (never grabbed: the desktop keeps its input)
// and runs one worker that polls them and a stop eventfd; events carry the monotonic clock. After a
// SYN_DROPPED the device is resynchronised and what the resync reports is not delivered. Stop ends
// the worker and closes the nodes. When no node can be read, Start fails with a message that names
// the "input" group.

#include <functional>
#include <string>
#include <vector>

#include "platform/input_poll_worker.h"
#include "platform/input_source.h"

struct libevdev;

namespace zevik {

class CEvdevInputSource final : public IInputSource {
public:
    // Opens a node read-only and non-blocking; a file descriptor or -1 with errno set.
    using NodeOpener = std::function<int(const std::string& path)>;

    explicit CEvdevInputSource(std::filesystem::path folder = "/dev/input", NodeOpener opener = {});
    ~CEvdevInputSource() override;
    CEvdevInputSource(const CEvdevInputSource&) = delete;
    CEvdevInputSource& operator=(const CEvdevInputSource&) = delete;

    bool Start(InputEventSink sink, std::string& error) override;
    void Stop() override;
    bool ReadsInputDevices() const override { return true; }

    // The nodes open while running.
    size_t OpenNodes() const { return devices_.size(); }

private:
    struct Node {
        int fd = -1;
        libevdev* device = nullptr;
    };
    void Drain(Node& node);
    void CloseAll();

    std::filesystem::path folder_;
    NodeOpener opener_;
    InputEventSink sink_;
    std::vector<Node> devices_;
    CInputPollWorker worker_;
};

}  // namespace zevik
