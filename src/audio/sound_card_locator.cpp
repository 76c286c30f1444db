#include "audio/sound_card_locator.h"

#include <charconv>
#include <string>
#include <system_error>

namespace zevik {

namespace {
namespace fs = std::filesystem;

// "card12" gives 12; anything else nullopt.
std::optional<int> CardNumber(const std::string& name) {
    constexpr std::string_view kPrefix = "card";
    if (name.size() <= kPrefix.size() || name.compare(0, kPrefix.size(), kPrefix) != 0) return std::nullopt;
    int number = -1;
    const char* first = name.data() + kPrefix.size();
    const char* last = name.data() + name.size();
    const auto [end, ec] = std::from_chars(first, last, number);
    if (ec != std::errc() || end != last || number < 0) return std::nullopt;
    return number;
}
}  // namespace

std::optional<fs::path> CSoundCardLocator::UsbDeviceOf(const fs::path& device) const {
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(root_, ec);
    fs::path dir = fs::canonical(device, ec);
    if (ec) return std::nullopt;
    // Walk up inside the sysfs tree only.
    while (dir.has_relative_path() && dir != root && dir != dir.parent_path()) {
        if (fs::is_regular_file(dir / "idVendor", ec)) return dir;
        dir = dir.parent_path();
    }
    return std::nullopt;
}

std::optional<int> CSoundCardLocator::CardOfHidraw(std::string_view hidrawNode) const {
    const std::string node = fs::path(hidrawNode).filename().string();
    if (node.empty() || node.find("hidraw") != 0) return std::nullopt;
    const std::optional<fs::path> usbDevice = UsbDeviceOf(root_ / "class" / "hidraw" / node / "device");
    if (!usbDevice) return std::nullopt;

    std::optional<int> found;
    std::error_code ec;
    for (fs::directory_iterator it(root_ / "class" / "sound", ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<int> number = CardNumber(it->path().filename().string());
        if (!number || (found && *found <= *number)) continue;
        if (UsbDeviceOf(it->path() / "device") == usbDevice) found = number;
    }
    return found;
}

}  // namespace zevik
