#pragma once
// The macro image the mouse takes with command 0x15: the macros its buttons use, in the order the
// key image numbers them, each read from its ".mac" file (named by the macro's "Guid" in
// "macro.config" of the mouse's kind folder), in the event image layout of mouse_event_image.h.

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace zevik {

struct MouseMacroImage {
    enum class Status {
        Ready,       // image holds what to send
        Nothing,     // no macro to send
        Unreadable,  // "macro.config" could not be read
        TooLarge     // the image exceeds the mouse's macro memory; nothing may be sent
    };
    Status status = Status::Nothing;
    std::vector<uint8_t> image;
    // For TooLarge: the excess in 4-byte units, plus one (the caller's positive result).
    int excessUnits = 0;
};

// Number of macros listed in the folder's "macro.config" (0 when it cannot be read).
int MouseMacroCount(const std::filesystem::path& folder);
// Their names in list order.
std::vector<std::string> MouseMacroNames(const std::filesystem::path& folder);

// The image of the listed macros for a macro memory of capacity bytes. A macro index beyond the
// list, or a "Guid" that is not a plain file name (a path would reach outside the folder), gives
// a macro without events.
MouseMacroImage BuildMouseMacroImage(const std::filesystem::path& folder, std::span<const int> macros,
                                     size_t capacity);

}  // namespace zevik
