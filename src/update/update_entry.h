#pragma once
// UpdateEntry: one product the update check knows, and the four rows the program keeps. The rows
// are built once at start-up; their current versions are refreshed each time the settings window
// opens, from what the devices and the installation report.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zevik {

struct UpdateEntry {
    std::uint32_t hexVersion = 0;      // 1: firmware, versions are hexadecimal; 0: software, decimal
    std::uint32_t kind = 0;            // the item's kind; kUpdateKindReceiver marks the receiver
    std::uint32_t currentVersion = 0;  // 0 while the item is absent
    std::string vendor;                // first part of the app key
    std::string code;                  // model code; kUpdateCodeSoftware marks the program itself
    std::string name;                  // product name
    std::string displayName;           // name shown in the update list
    std::string versionText;           // shown for decimal entries
};

// Kinds of update items. The receiver reports its version through the device connected over it.
inline constexpr std::uint32_t kUpdateKindSoftware = 0;
inline constexpr std::uint32_t kUpdateKindMouse = 2;
inline constexpr std::uint32_t kUpdateKindReceiver = 3;
// Not the mousepad's device kind 3: here 3 is the receiver.
inline constexpr std::uint32_t kUpdateKindMousepad = 4;
inline constexpr const char* kUpdateCodeSoftware = "ALL";

// The rows, in the order the update list shows them.
enum class UpdateRow : std::size_t { Mouse, Receiver, Mousepad, Software };
inline constexpr std::size_t kUpdateRowCount = 4;
using UpdateTable = std::array<UpdateEntry, kUpdateRowCount>;

// The four rows with the maker's product data and no versions yet.
UpdateTable MakeUpdateTable();

// What is installed right now; 0 (or nothing) for what is absent.
struct InstalledVersions {
    std::uint32_t mouseFirmware = 0;
    std::uint32_t mousepadFirmware = 0;
    // High and low byte of the receiver's version, known only while a device is connected through it.
    struct ReceiverVersion {
        std::uint8_t high = 0;
        std::uint8_t low = 0;
    };
    std::optional<ReceiverVersion> receiver;
    std::uint32_t software = 0;  // the installed version as a decimal number ("1.0.7" is 107)
    std::string softwareText;    // its text ("1.0.7"); empty keeps the row's text
};

// Sets every row's current version from the installation. A receiver that is not reachable is
// absent (0): an earlier version would otherwise be offered as current.
void RefreshUpdateVersions(UpdateTable& table, const InstalledVersions& installed);

inline UpdateEntry& Row(UpdateTable& table, UpdateRow row) {
    return table[static_cast<std::size_t>(row)];
}
inline const UpdateEntry& Row(const UpdateTable& table, UpdateRow row) {
    return table[static_cast<std::size_t>(row)];
}

}  // namespace zevik
