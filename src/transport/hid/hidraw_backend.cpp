#include "transport/hid/hidraw_backend.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "platform/trace.h"
#include "transport/hid/hidraw_connection.h"
#include "transport/hid_report_descriptor.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kScheme = "hidraw:";
constexpr size_t kMaxDescriptorBytes = 4096;  // the kernel's HID_MAX_DESCRIPTOR_SIZE
constexpr size_t kMaxTextBytes = 4096;
constexpr int kMaxAncestors = 8;  // from the HID device up to its USB interface and device

std::optional<std::string> ReadSmallFile(const fs::path& file, size_t limit) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(limit + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const auto n = static_cast<size_t>(in.gcount());
    if (n > limit || in.bad()) return std::nullopt;
    bytes.resize(n);
    return bytes;
}

std::optional<uint32_t> ParseHex(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
    if (text.empty() || text.size() > 8) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return value;
}

// What sysfs tells about one hidraw node.
struct NodeInfo {
    std::vector<uint8_t> descriptor;
    HidAttributes attributes;
    std::optional<uint32_t> interfaceNumber;
};

// HID_ID=0003:0000320F:0000225A in the HID device's uevent: bus, vendor, product.
bool ReadHidId(const fs::path& hidDevice, HidAttributes& attributes) {
    const auto uevent = ReadSmallFile(hidDevice / "uevent", kMaxTextBytes);
    if (!uevent) return false;
    constexpr std::string_view kKey = "HID_ID=";
    size_t at = 0;
    while (at < uevent->size()) {
        const size_t end = std::min(uevent->find('\n', at), uevent->size());
        const std::string_view line(uevent->data() + at, end - at);
        at = end + 1;
        if (line.substr(0, kKey.size()) != kKey) continue;
        const std::string_view id = line.substr(kKey.size());
        const size_t first = id.find(':');
        const size_t second = first == std::string_view::npos ? first : id.find(':', first + 1);
        if (second == std::string_view::npos) return false;
        const auto vendor = ParseHex(id.substr(first + 1, second - first - 1));
        const auto product = ParseHex(id.substr(second + 1));
        if (!vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF) return false;
        attributes.vendorId = static_cast<uint16_t>(*vendor);
        attributes.productId = static_cast<uint16_t>(*product);
        return true;
    }
    return false;
}

std::optional<NodeInfo> ReadNodeInfo(const fs::path& sysRoot, const std::string& node) {
    std::error_code ec;
    const fs::path hidDevice = fs::canonical(sysRoot / "class" / "hidraw" / node / "device", ec);
    if (ec) return std::nullopt;
    NodeInfo info;
    const auto descriptor = ReadSmallFile(hidDevice / "report_descriptor", kMaxDescriptorBytes);
    if (!descriptor || descriptor->empty()) return std::nullopt;
    info.descriptor.assign(descriptor->begin(), descriptor->end());
    if (!ReadHidId(hidDevice, info.attributes)) return std::nullopt;

    // The USB interface is the nearest ancestor with bInterfaceNumber; the USB device, its parent,
    // holds bcdDevice. Nodes on other buses have neither.
    fs::path dir = hidDevice.parent_path();
    for (int i = 0; i < kMaxAncestors && !dir.empty() && dir != dir.root_path();
         ++i, dir = dir.parent_path()) {
        const auto number = ReadSmallFile(dir / "bInterfaceNumber", kMaxTextBytes);
        if (!number) continue;
        info.interfaceNumber = ParseHex(*number);
        if (const auto bcd = ReadSmallFile(dir.parent_path() / "bcdDevice", kMaxTextBytes)) {
            if (const auto version = ParseHex(*bcd); version && *version <= 0xFFFF)
                info.attributes.versionNumber = static_cast<uint16_t>(*version);
        }
        break;
    }
    return info;
}

// "hidrawN" → N, or nothing for another name.
std::optional<unsigned long> NodeNumber(const std::string& name) {
    constexpr std::string_view kPrefix = "hidraw";
    if (name.size() <= kPrefix.size() || name.compare(0, kPrefix.size(), kPrefix) != 0 || name.size() > 12)
        return std::nullopt;
    unsigned long number = 0;
    for (size_t i = kPrefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return std::nullopt;
        number = number * 10 + static_cast<unsigned long>(name[i] - '0');
    }
    return number;
}

std::string Hex(uint32_t value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", width, value);
    return text;
}

}  // namespace

CHidrawBackend::CHidrawBackend(std::filesystem::path sysRoot, std::filesystem::path devRoot)
    : sysRoot_(std::move(sysRoot)), devRoot_(std::move(devRoot)) {
    watchFd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watchFd_ >= 0 && inotify_add_watch(watchFd_, devRoot_.c_str(),
                                           IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO |
                                               IN_DELETE_SELF | IN_MOVE_SELF) < 0) {
        close(watchFd_);
        watchFd_ = -1;
    }
}

CHidrawBackend::~CHidrawBackend() {
    if (watchFd_ >= 0) close(watchFd_);
}

std::optional<std::uint64_t> CHidrawBackend::ChangeCount() {
    std::lock_guard lock(watchMutex_);
    if (watchFd_ < 0) return std::nullopt;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = read(watchFd_, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN) {
                // The watch broke: from now on every pass looks at the nodes.
                close(watchFd_);
                watchFd_ = -1;
                return std::nullopt;
            }
            break;
        }
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const std::string_view name(event->len > 0 ? event->name : "");
            // Other nodes of /dev come and go all the time; an overflow or a lost watch may hide ours.
            if (name.substr(0, 6) == "hidraw" || (event->mask & (IN_Q_OVERFLOW | IN_IGNORED)) != 0 ||
                event->len == 0) {
                ++changes_;
            }
            if ((event->mask & IN_IGNORED) != 0) {
                close(watchFd_);  // the root itself went away
                watchFd_ = -1;
                return std::nullopt;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return changes_;
}

bool CHidrawBackend::Enumerate(std::vector<std::string>& paths) {
    paths.clear();
    std::error_code ec;
    std::vector<std::pair<unsigned long, std::string>> nodes;
    for (fs::directory_iterator it(sysRoot_ / "class" / "hidraw", ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (const auto number = NodeNumber(name)) nodes.emplace_back(*number, name);
    }
    if (ec) {
        // No hidraw class at all (no HID device was ever bound) is an empty system, not a failure.
        if (ec == std::errc::no_such_file_or_directory) return true;
        Trace("hidraw: cannot list " + (sysRoot_ / "class" / "hidraw").string() + ": " + ec.message());
        return false;
    }
    std::sort(nodes.begin(), nodes.end());

    for (const auto& [number, name] : nodes) {
        const auto info = ReadNodeInfo(sysRoot_, name);
        if (!info) continue;  // gone meanwhile, or not readable: left out, the rest stays packed
        HidReportDescriptor descriptor;
        std::string reason;
        if (!descriptor.Parse(info->descriptor, &reason)) {
            Trace("hidraw: " + name + ": report descriptor refused: " + reason);
            continue;
        }
        std::string stem = std::string(kScheme) + (devRoot_ / name).string() + "#vid_" +
                           Hex(info->attributes.vendorId, 4) + "&pid_" + Hex(info->attributes.productId, 4);
        if (info->interfaceNumber) stem += "&mi_" + Hex(*info->interfaceNumber, 2);
        const size_t collections = descriptor.Collections().size();
        if (collections == 1) {
            paths.push_back(stem);
            continue;
        }
        for (size_t i = 1; i <= collections; ++i)
            paths.push_back(stem + "&col" + Hex(static_cast<uint32_t>(i), 2));
    }
    return true;
}

std::unique_ptr<IHidConnection> CHidrawBackend::Open(const std::string& path, bool wantRead, bool wantWrite) {
    if (path.compare(0, kScheme.size(), kScheme) != 0) return nullptr;
    const std::string nodePath = path.substr(kScheme.size(), path.find('#') - kScheme.size());
    const std::string name = fs::path(nodePath).filename().string();
    // Only nodes under our /dev root, by the name sysfs knows them by.
    if (!NodeNumber(name) || fs::path(nodePath) != devRoot_ / name) return nullptr;

    const auto info = ReadNodeInfo(sysRoot_, name);
    if (!info) return nullptr;
    int flags = O_CLOEXEC | O_NONBLOCK;
    flags |= (wantRead && wantWrite) ? O_RDWR : (wantWrite ? O_WRONLY : O_RDONLY);
    const int fd = ::open(nodePath.c_str(), flags);
    if (fd < 0) {
        // EACCES usually means the udev rule is not installed.
        Trace("hidraw: cannot open " + nodePath + ": " + std::strerror(errno));
        return nullptr;
    }
    auto connection = std::make_unique<CHidrawConnection>(fd, info->descriptor, info->attributes);
    if (!connection->Valid()) return nullptr;
    return connection;
}

}  // namespace zevik
