#pragma once
// CSoundCardLocator: the sound card that belongs to the same USB device as a hidraw node, found
// through sysfs. A USB headset shows up as one USB device with a HID interface (the hidraw node)
// and audio interfaces (the sound card); both lead up to the same USB device directory, the one
// holding "idVendor".

#include <filesystem>
#include <optional>
#include <string_view>

namespace zevik {

class CSoundCardLocator {
public:
    // sysfsRoot stands for "/sys" (tests give a fake tree).
    explicit CSoundCardLocator(std::filesystem::path sysfsRoot = "/sys") : root_(std::move(sysfsRoot)) {}

    // The ALSA card number for a hidraw node, given as "hidraw3" or "/dev/hidraw3"; nullopt when
    // the node or a card on its USB device is not found. With several cards the lowest number wins.
    std::optional<int> CardOfHidraw(std::string_view hidrawNode) const;

    // The USB device directory a sysfs device directory lies in; nullopt when none.
    std::optional<std::filesystem::path> UsbDeviceOf(const std::filesystem::path& device) const;

private:
    std::filesystem::path root_;
};

}  // namespace zevik
