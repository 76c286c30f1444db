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
    MouseKeyImage out;
    const size_t count = UsablePositions(keyCodeTable, positions);
    out.image.assign(keyCodeTable.begin(), keyCodeTable.begin() + static_cast<std::ptrdiff_t>(3 * count));
    const size_t keys = std::min(keyList.size(), keyMap.size());
    for (size_t j = 0; j < keys; ++j) {
        const size_t k = keyMap[j];
        if (k >= count) continue;  // the mouse lacks this key (or the map is stale)
        AssignmentCode code = keyList[j].assignment;
        if (code.type == kAssignMacro || code.type == kAssignMacroRepeat) {
            if (code.p1 < macroCount) {
                auto it = std::find(out.macros.begin(), out.macros.end(), code.p1);
                if (it == out.macros.end()) it = out.macros.insert(out.macros.end(), code.p1);
                code.p1 = static_cast<uint8_t>(it - out.macros.begin());
            } else {
                code = kMouseDefaultKeyCodes[j];
            }
        }
        out.image[3 * k] = code.type;
        out.image[3 * k + 1] = code.p1;
        out.image[3 * k + 2] = code.p2;
    }
    return out;
}

}  // namespace zevik
