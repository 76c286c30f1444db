#pragma once
// The macro image the mouse and the keyboard take with command 0x15: the macros their keys use, in
// the order the key layer numbers them, each read from its ".mac" file (named by the macro's "Guid"
// in "macro.config" of the device's kind folder), in the event image layout of mouse_event_image.h.
// The device's macro memory is its device information byte 6 x 128 bytes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace zevik {

struct MacroImage {
    enum class Status {
        Ready,       // image holds what to send
        Nothing,     // no macro to send
        Unreadable,  // "macro.config" could not be read
        TooLarge     // the image exceeds the device's macro memory; nothing may be sent
    };
    Status status = Status::Nothing;
    std::vector<uint8_t> image;
    // For TooLarge: the excess in 4-byte units, plus one (the caller's positive result).
    int excessUnits = 0;
};

// Bytes of macro memory a device information record announces (byte 6, in units of 128 bytes).
inline constexpr size_t kDeviceInfoMacroUnitsByte = 6;
inline constexpr size_t kMacroMemoryUnit = 128;
size_t MacroMemoryOf(std::span<const uint8_t> deviceInfo);

// Number of macros listed in the folder's "macro.config" (0 when it cannot be read).
int ListedMacroCount(const std::filesystem::path& folder);
// Their names in list order.
std::vector<std::string> ListedMacroNames(const std::filesystem::path& folder);

// The image of the listed macros for a macro memory of capacity bytes. A macro index beyond the
// list, or a "Guid" that is not a plain file name (a path would reach outside the folder), gives
// a macro without events.
MacroImage BuildMacroImage(const std::filesystem::path& folder, std::span<const int> macros, size_t capacity);

}  // namespace zevik
