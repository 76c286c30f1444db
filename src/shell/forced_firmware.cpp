#include "shell/forced_firmware.h"

namespace zevik {

std::optional<ForcedFirmwareRow> ForcedFirmwareFor(std::uint16_t productId, std::uint16_t version) {
    for (const ForcedFirmwareRow& row : kForcedFirmwareTable) {
        if (row.productId == productId && version < row.minimumVersion) return row;
    }
    return std::nullopt;
}

}  // namespace zevik
