#pragma once
// The recoil image the mouse takes with command 0x17: its four patterns ("guns"), read from the
// pattern files "ShootData_0.Shoot" ... "ShootData_3.Shoot" of the mouse's kind folder, in the event
// image layout of mouse_event_image.h. A pattern file that is missing or not JSON counts as a
// pattern without events; a null entry of "Events" is sent as four zero bytes.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zevik {

inline constexpr int kMouseRecoilPatternCount = 4;

// "ShootData_" + n + ".Shoot" in folder.
std::filesystem::path MouseRecoilFile(const std::filesystem::path& folder, int pattern);

// The image of the four pattern files; nullopt when it would not fit its 16-bit length.
std::optional<std::vector<uint8_t>> BuildMouseRecoilImage(const std::filesystem::path& folder);

}  // namespace zevik
