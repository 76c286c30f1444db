#include "devices/key_layer_image.h"

#include <algorithm>

namespace zevik {

KeyLayerImage BuildKeyLayerImage(std::span<const uint8_t> base, std::span<const uint8_t> positionOf,
                                 std::span<const KeyAssignRecord> keyList,
                                 std::span<const AssignmentCode> defaults, int macroCount,
                                 size_t keyLimit) {
    KeyLayerImage out;
    const size_t positions = base.size() / 3;
    out.image.assign(base.begin(), base.begin() + static_cast<std::ptrdiff_t>(3 * positions));
    const size_t keys = std::min({keyLimit, keyList.size(), positionOf.size(), defaults.size()});
    std::vector<bool> changed(positions, false);
    for (size_t j = 0; j < keys; ++j) {
        const size_t k = positionOf[j];
        if (k >= positions) continue;  // the device lacks this key
        AssignmentCode code = keyList[j].assignment;
        if (IsMacroAssignment(code)) {
            if (code.p1 < macroCount) {
                auto it = std::find(out.macros.begin(), out.macros.end(), code.p1);
                if (it == out.macros.end()) it = out.macros.insert(out.macros.end(), code.p1);
                code.p1 = static_cast<uint8_t>(it - out.macros.begin());
            } else {
                code = defaults[j];
            }
        }
        // Keys with the same factory triple share the position that reports it; one left at its
        // factory triple must not undo another's change there.
        const bool factory = code == defaults[j];
        if (factory && changed[k]) continue;
        changed[k] = !factory;
        out.image[3 * k] = code.type;
        out.image[3 * k + 1] = code.p1;
        out.image[3 * k + 2] = code.p2;
    }
    return out;
}

}  // namespace zevik
