#include "devices/mouse_recoil_image.h"

#include <array>

#include "devices/mouse_event_image.h"
#include "settings/json_file_util.h"

namespace zevik {

std::filesystem::path MouseRecoilFile(const std::filesystem::path& folder, int pattern) {
    return folder / ("ShootData_" + std::to_string(pattern) + ".Shoot");
}

std::optional<std::vector<uint8_t>> BuildMouseRecoilImage(const std::filesystem::path& folder) {
    const CJsonFileUtil files;
    std::array<MouseEventList, kMouseRecoilPatternCount> patterns;
    for (int i = 0; i < kMouseRecoilPatternCount; ++i) {
        patterns[static_cast<size_t>(i)] = EncodeMouseEvents(files.ReadJsonFile(MouseRecoilFile(folder, i)));
    }
    return BuildMouseEventImage(patterns);
}

}  // namespace zevik
