#pragma once
// The keyboard's profile data: the system settings and the per-key colour groups of the custom
// colour mode, on top of the common sections.

#include <span>
#include <vector>

#include "settings/assignment_code.h"
#include "settings/basic_profiledata.h"
#include "settings/key_color_record.h"
#include "settings/keyboard_system_record.h"

namespace zevik {

class CKeyboardProfiledata : public CBasicProfiledata {
public:
    // "SystemStages"; all zero when absent.
    KeyboardSystemRecord GetKeyboardSystem();
    void SetKeyboardSystem(const KeyboardSystemRecord& record);

    // The first keyCount colours of group "CustomLightMode"."LightColorInfo"[group]. A missing
    // group or key reads as zero and is written into the document as zeros (in memory only, until
    // the next SaveProfile), so the group always holds keyCount entries afterwards.
    std::vector<KeyColorRecord> GetKeyColors(int group, int keyCount);
    void SetKeyColors(const std::vector<KeyColorRecord>& colors, int group);

    // "CustomLightMode"."CustomLightModeGroupIndex"; 0 when absent.
    int GetKeyColorGroup();
    void SetKeyColorGroup(int group);

    // Key layer 2, "KeyList2", in the form of "KeyList" (element j: "Assignment" and
    // "DefaultAssignment" of logical key j). The keyboard cannot read it back, so the profile is its
    // only record. One record per entry of defaults (the keyboard's factory triples); a missing
    // section, element or "Assignment" reads as the factory triple. The written section holds both
    // members of every element.
    std::vector<KeyAssignRecord> GetKeyList2(std::span<const AssignmentCode> defaults) const;
    void SetKeyList2(const std::vector<KeyAssignRecord>& list);

    // Groups and keys beyond these are refused: a group index or key count comes from a document
    // or a device, and must not make the document grow without bound.
    static constexpr int kMaxGroups = 256;
    static constexpr int kMaxKeys = 512;

private:
    KeyboardSystemRecord keyboardSystem_;
    std::vector<KeyColorRecord> keyColors_;
    int keyColorGroup_ = 0;
};

}  // namespace zevik
