#pragma once
// A fake sysfs and /dev in a temporary folder, laid out as the kernel lays out hidraw nodes:
//   sys/class/hidraw/hidrawN -> sys/devices/usb1/1-N/1-N:1.I/0003:VVVV:PPPP.000N/hidraw/hidrawN
//   .../hidrawN/device -> the HID device (report_descriptor, uevent with HID_ID)
//   1-N:1.I/bInterfaceNumber, 1-N/bcdDevice
//   dev/hidrawN, a plain file standing in for the device node

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace zevik::testing {

class FakeSysfs {
public:
    FakeSysfs() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zevik-sysfs-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) root_ = pattern;
        std::filesystem::create_directories(Sys() / "class" / "hidraw");
        std::filesystem::create_directories(Dev());
    }
    ~FakeSysfs() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    std::filesystem::path Sys() const { return root_ / "sys"; }
    std::filesystem::path Dev() const { return root_ / "dev"; }

    struct Node {
        int number = 0;
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        std::vector<uint8_t> descriptor;
        std::optional<int> interfaceNumber;  // none: not on a USB interface (Bluetooth, virtual)
        std::string bcdDevice = "0102";
        bool writeUevent = true;
    };

    // Returns the HID device folder.
    std::filesystem::path Add(const Node& node) {
        namespace fs = std::filesystem;
        const std::string n = std::to_string(node.number);
        fs::path parent = Sys() / "devices" / "virtual" / ("node" + n);
        if (node.interfaceNumber) {
            const fs::path usbDevice = Sys() / "devices" / "usb1" / ("1-" + n);
            fs::create_directories(usbDevice);
            Write(usbDevice / "bcdDevice", node.bcdDevice + "\n");
            parent = usbDevice / ("1-" + n + ":1." + std::to_string(*node.interfaceNumber));
            fs::create_directories(parent);
            char number[8];
            std::snprintf(number, sizeof number, "%02x\n", *node.interfaceNumber);
            Write(parent / "bInterfaceNumber", number);
        }
        char name[32];
        std::snprintf(name, sizeof name, "0003:%04X:%04X.%04X", node.vendorId, node.productId, node.number);
        const fs::path hid = parent / name;
        const fs::path classDir = hid / "hidraw" / ("hidraw" + n);
        fs::create_directories(classDir);
        fs::create_directory_symlink("../..", classDir / "device");
        fs::create_directory_symlink(classDir, Sys() / "class" / "hidraw" / ("hidraw" + n));
        Write(hid / "report_descriptor", std::string(node.descriptor.begin(), node.descriptor.end()));
        if (node.writeUevent) {
            char uevent[96];
            std::snprintf(uevent, sizeof uevent, "DRIVER=hid-generic\nHID_ID=0003:%08X:%08X\nHID_NAME=Test\n",
                          node.vendorId, node.productId);
            Write(hid / "uevent", uevent);
        }
        Write(Dev() / ("hidraw" + n), "");
        return hid;
    }

private:
    static void Write(const std::filesystem::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }

    std::filesystem::path root_;
};

}  // namespace zevik::testing
