#include "settings/macro_key_renumbering.h"

#include "settings/basic_profiledata.h"

namespace zevik {

bool IsMacroAssignment(const AssignmentCode& code) {
    return code.type == kMacroAssignmentType || code.type == kMacroRepeatAssignmentType;
}

bool KeysUseMacro(std::span<const KeyAssignRecord> keys, int macro) {
    for (const KeyAssignRecord& k : keys) {
        if (IsMacroAssignment(k.assignment) && k.assignment.p1 == macro) return true;
    }
    return false;
}

bool RenumberKeysForDeletedMacro(std::vector<KeyAssignRecord>& keys, int macro) {
    bool changed = false;
    for (KeyAssignRecord& k : keys) {
        if (!IsMacroAssignment(k.assignment)) continue;
        if (k.assignment.p1 == macro) {
            k.assignment = k.defaultAssignment;
            changed = true;
        } else if (k.assignment.p1 > macro) {
            --k.assignment.p1;
            changed = true;
        }
    }
    return changed;
}

ProfilesRenumbered RenumberProfilesForDeletedMacro(std::span<const std::filesystem::path> profileFiles,
                                                   const std::filesystem::path& defaultFile, int deviceIndex,
                                                   int macro) {
    ProfilesRenumbered out;
    for (const std::filesystem::path& file : profileFiles) {
        CBasicProfiledata scratch;
        scratch.SetDefaultPath(defaultFile);
        scratch.SetDeviceIndex(deviceIndex);
        scratch.LoadDefaultProfile(file);
        std::vector<KeyAssignRecord> keys = scratch.GetDefaultKeyList();
        if (!RenumberKeysForDeletedMacro(keys, macro)) continue;
        scratch.SetDefaultKeyList(keys);
        if (const JsonWriteResult written = scratch.SaveDefaultProfile(file); !written) {
            out.failures.push_back(written.message);
        } else {
            ++out.changed;
        }
    }
    return out;
}

}  // namespace zevik
