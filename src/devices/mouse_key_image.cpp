#include "devices/mouse_key_image.h"

#include <algorithm>

namespace zevik {

namespace {
size_t UsablePositions(std::span<const uint8_t> table, int positions) {
    if (positions <= 0) return 0;
    return std::min(static_cast<size_t>(positions), table.size() / 3);
}
}  // namespace

MouseKeyMap BuildMouseKeyMap(std::span<const uint8_t> keyCodeTable, int positions) {
    MouseKeyMap map;
    map.fill(kMouseNoKey);
    const size_t count = UsablePositions(keyCodeTable, positions);
    for (size_t j = 0; j < map.size(); ++j) {
        const AssignmentCode& code = kMouseDefaultKeyCodes[j];
        for (size_t k = 0; k < count && k < kMouseNoKey; ++k) {
            if (keyCodeTable[3 * k] == code.type && keyCodeTable[3 * k + 1] == code.p1 &&
                keyCodeTable[3 * k + 2] == code.p2) {
                map[j] = static_cast<uint8_t>(k);
                break;
            }
        }
    }
    return map;
}

MouseKeyImage BuildMouseKeyImage(std::span<const uint8_t> keyCodeTable, int positions,
                                 const MouseKeyMap& keyMap, std::span<const KeyAssignRecord> keyList,
                                 int macroCount) {
    const size_t count = UsablePositions(keyCodeTable, positions);
    return BuildKeyLayerImage(keyCodeTable.first(3 * count), keyMap, keyList, kMouseDefaultKeyCodes,
                              macroCount, kMouseLogicalKeys);
}

}  // namespace zevik
