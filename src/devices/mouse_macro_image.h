#pragma once
// The mouse's names for the macro image it shares with the keyboard (macro_image.h).

#include "devices/macro_image.h"

namespace zevik {

using MouseMacroImage = MacroImage;

inline int MouseMacroCount(const std::filesystem::path& folder) { return ListedMacroCount(folder); }
inline std::vector<std::string> MouseMacroNames(const std::filesystem::path& folder) {
    return ListedMacroNames(folder);
}
inline MouseMacroImage BuildMouseMacroImage(const std::filesystem::path& folder, std::span<const int> macros,
                                            size_t capacity) {
    return BuildMacroImage(folder, macros, capacity);
}

}  // namespace zevik
