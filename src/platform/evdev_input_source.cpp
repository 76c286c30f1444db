#include "platform/evdev_input_source.h"

#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>


namespace zevik {

namespace {

int OpenNode(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }

// A keyboard or a pointing device: keys, or at least the left button.
bool ReportsKeysOrButtons(const libevdev* device) {
    if (libevdev_has_event_type(device, EV_KEY) == 0) return false;
    return libevdev_has_event_code(device, EV_KEY, KEY_A) != 0 || libevdev_has_event_code(device, EV_KEY, KEY_ENTER) != 0 ||
           libevdev_has_event_code(device, EV_KEY, BTN_LEFT) != 0;
}

std::uint64_t Microseconds(const timeval& t) {
    return static_cast<std::uint64_t>(t.tv_sec) * 1000000u + static_cast<std::uint64_t>(t.tv_usec);
}

}  // namespace

CEvdevInputSource::CEvdevInputSource(std::filesystem::path folder, NodeOpener opener)
    : folder_(std::move(folder)), opener_(opener ? std::move(opener) : NodeOpener(OpenNode)) {}

CEvdevInputSource::~CEvdevInputSource() { Stop(); }

bool CEvdevInputSource::Start(InputEventSink sink, std::string& error) {
    Stop();
    std::vector<std::string> paths;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("event", 0) == 0) paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    bool denied = false;
    for (const std::string& path : paths) {
        const int fd = opener_(path);
        if (fd < 0) {
            denied = denied || errno == EACCES || errno == EPERM;
            continue;
        }
        libevdev* device = nullptr;
        if (libevdev_new_from_fd(fd, &device) != 0 || !ReportsKeysOrButtons(device)) {
            if (device != nullptr) libevdev_free(device);
            ::close(fd);
            continue;
        }
        libevdev_set_clock_id(device, CLOCK_MONOTONIC);
        devices_.push_back({fd, device});
    }
    if (devices_.empty()) {
        error = denied ? "no keyboard or mouse can be read: add yourself to the \"input\" group (sudo usermod -aG "
                         "input $USER), then log out and in again"
                       : "no keyboard or mouse was found in " + folder_.string();
        return false;
    }
    sink_ = std::move(sink);
    std::vector<int> fds;
    for (const Node& node : devices_) fds.push_back(node.fd);
    if (!worker_.Start(std::move(fds), [this](std::size_t i) { Drain(devices_[i]); })) {
        CloseAll();
        error = "the input reader could not be started";
        return false;
    }
    return true;
}

void CEvdevInputSource::Stop() {
    worker_.Stop();
    CloseAll();
}

void CEvdevInputSource::CloseAll() {
    for (Node& node : devices_) {
        libevdev_free(node.device);
        ::close(node.fd);
    }
    devices_.clear();
}

void CEvdevInputSource::Drain(Node& node) {
    input_event ev{};
    int flags = LIBEVDEV_READ_FLAG_NORMAL;
    for (;;) {
        const int rc = libevdev_next_event(node.device, flags, &ev);
        if (rc == LIBEVDEV_READ_STATUS_SYNC) {
            // Events were dropped: the resync only restores the device's state; nothing of it is
            // recorded.
            flags = LIBEVDEV_READ_FLAG_SYNC;
            continue;
        }
        if (rc == -EAGAIN && flags == LIBEVDEV_READ_FLAG_SYNC) {
            flags = LIBEVDEV_READ_FLAG_NORMAL;
            continue;
        }
        if (rc != LIBEVDEV_READ_STATUS_SUCCESS) return;
        if (flags == LIBEVDEV_READ_FLAG_SYNC) continue;
        if (ev.type == EV_KEY) {
            sink_(InputEvent{Microseconds(ev.time), ev.type, ev.code, ev.value});
        }
    }
}

}  // namespace zevik
