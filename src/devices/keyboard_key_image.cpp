#include "devices/keyboard_key_image.h"

namespace zevik {

KeyLayerImage BuildKeyboardLayer1Image(std::span<const uint8_t> keyCodeTable, std::span<const uint8_t> positionOf,
                                       std::span<const KeyAssignRecord> keys,
                                       std::span<const AssignmentCode> defaults, int macroCount) {
    return BuildKeyLayerImage(keyCodeTable, positionOf, keys, defaults, macroCount, kKeyboardLayer1Keys);
}

std::vector<uint8_t> BuildKeyboardLayer2Image(std::span<const uint8_t> keyCodeTable,
                                              std::span<const uint8_t> positionOf,
                                              std::span<const KeyAssignRecord> keys,
                                              std::span<const AssignmentCode> defaults) {
    return BuildKeyLayerImage(keyCodeTable, positionOf, keys, defaults, kLayerWithoutMacros, kKeyboardLogicalKeys)
        .image;
}

std::vector<KeyAssignRecord> FactoryKeyLayer(std::span<const AssignmentCode> defaults) {
    std::vector<KeyAssignRecord> layer;
    layer.reserve(defaults.size());
    for (size_t j = 0; j < defaults.size(); ++j) {
        const auto index = static_cast<std::uint16_t>(j);
        layer.push_back(KeyAssignRecord{index, defaults[j], index, defaults[j]});
    }
    return layer;
}

}  // namespace zevik
