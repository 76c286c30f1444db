#include "audio/sound_card_locator.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace zevik {
namespace {

namespace fs = std::filesystem;

// A small sysfs: two USB devices, each with a HID interface (its hidraw node) and, for some, sound
// cards on their audio interfaces; the class folders link into the device tree as the kernel's do.
class FakeSysfs {
public:
    FakeSysfs()
        : root_(fs::temp_directory_path() /
                ("zevik-sysfs-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::remove_all(root_);
        fs::create_directories(root_ / "class" / "hidraw");
        fs::create_directories(root_ / "class" / "sound");
    }
    ~FakeSysfs() { fs::remove_all(root_); }
    const fs::path& Root() const { return root_; }

    fs::path UsbDevice(const std::string& port) {
        const fs::path dir = root_ / "devices" / "pci0000:00" / "usb1" / port;
        fs::create_directories(dir);
        std::ofstream(dir / "idVendor") << "0c76\n";
        return dir;
    }
    void Hidraw(const fs::path& usbDevice, const std::string& interface, const std::string& node) {
        const fs::path hid = usbDevice / interface / "0003:0C76:1630.0004";
        fs::create_directories(hid / "hidraw" / node);
        fs::create_directory_symlink(fs::relative(hid / "hidraw" / node, root_ / "class" / "hidraw"),
                                     root_ / "class" / "hidraw" / node);
        fs::create_directory_symlink(fs::path("../.."), hid / "hidraw" / node / "device");
    }
    void Card(const fs::path& usbDevice, const std::string& interface, const std::string& card) {
        const fs::path audio = usbDevice / interface;
        fs::create_directories(audio / "sound" / card);
        fs::create_directory_symlink(fs::relative(audio / "sound" / card, root_ / "class" / "sound"),
                                     root_ / "class" / "sound" / card);
        fs::create_directory_symlink(fs::path("../.."), audio / "sound" / card / "device");
    }

private:
    fs::path root_;
};

TEST(SoundCardLocator, FindsTheCardOnTheHidrawNodesUsbDevice) {
    FakeSysfs sysfs;
    const fs::path headset = sysfs.UsbDevice("1-2");
    const fs::path other = sysfs.UsbDevice("1-1");
    sysfs.Hidraw(headset, "1-2:1.3", "hidraw3");
    sysfs.Card(headset, "1-2:1.0", "card2");
    sysfs.Card(other, "1-1:1.0", "card0");
    sysfs.Hidraw(other, "1-1:1.2", "hidraw1");
    std::ofstream(sysfs.Root() / "class" / "sound" / "timer");  // not a card

    const CSoundCardLocator locator(sysfs.Root());
    EXPECT_EQ(locator.CardOfHidraw("/dev/hidraw3"), 2);
    EXPECT_EQ(locator.CardOfHidraw("hidraw3"), 2);
    EXPECT_EQ(locator.CardOfHidraw("/dev/hidraw1"), 0);
    EXPECT_EQ(locator.UsbDeviceOf(sysfs.Root() / "class" / "hidraw" / "hidraw3" / "device"),
              fs::canonical(headset));
}

TEST(SoundCardLocator, NoCardOnTheDeviceOrNoSuchNodeGivesNothing) {
    FakeSysfs sysfs;
    const fs::path mouse = sysfs.UsbDevice("1-3");
    const fs::path headset = sysfs.UsbDevice("1-2");
    sysfs.Hidraw(mouse, "1-3:1.1", "hidraw5");
    sysfs.Card(headset, "1-2:1.0", "card1");

    const CSoundCardLocator locator(sysfs.Root());
    EXPECT_EQ(locator.CardOfHidraw("/dev/hidraw5"), std::nullopt);
    EXPECT_EQ(locator.CardOfHidraw("/dev/hidraw9"), std::nullopt);
    EXPECT_EQ(locator.CardOfHidraw("../../etc"), std::nullopt);
    EXPECT_EQ(locator.CardOfHidraw(""), std::nullopt);
    EXPECT_EQ(CSoundCardLocator(sysfs.Root() / "missing").CardOfHidraw("hidraw5"), std::nullopt);
}

TEST(SoundCardLocator, OfSeveralCardsOnTheDeviceTheLowestNumberWins) {
    FakeSysfs sysfs;
    const fs::path headset = sysfs.UsbDevice("2-1");
    sysfs.Hidraw(headset, "2-1:1.3", "hidraw0");
    sysfs.Card(headset, "2-1:1.0", "card11");
    sysfs.Card(headset, "2-1:1.1", "card4");
    EXPECT_EQ(CSoundCardLocator(sysfs.Root()).CardOfHidraw("hidraw0"), 4);
}

}  // namespace
}  // namespace zevik
