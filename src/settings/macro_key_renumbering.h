#pragma once
// Keeping key assignments right when a macro is deleted: a key bound to the deleted macro gets its
// factory function back, a key bound to a later macro follows it down by one, so every macro index
// in an assignment code (types 0x70 and 0x71, the index in p1) still names the same macro.

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "settings/assignment_code.h"
#include "settings/key_assign_record.h"

namespace zevik {

inline constexpr std::uint8_t kMacroAssignmentType = 0x70;
inline constexpr std::uint8_t kMacroRepeatAssignmentType = 0x71;

bool IsMacroAssignment(const AssignmentCode& code);
// True when a key of the list is bound to macro (0-based).
bool KeysUseMacro(std::span<const KeyAssignRecord> keys, int macro);
// Applies the deletion of macro to the list; true when a key changed.
bool RenumberKeysForDeletedMacro(std::vector<KeyAssignRecord>& keys, int macro);

struct ProfilesRenumbered {
    int changed = 0;                    // profile files rewritten
    std::vector<std::string> failures;  // English, one per profile that could not be written
};

// Applies the deletion of macro to the key list of each profile file (element deviceIndex of
// "Device"), writing only the files that change. Each file is loaded into a scratch profile object,
// so no device's documents are touched; a file without the element is seeded from defaultFile as
// every profile load does.
ProfilesRenumbered RenumberProfilesForDeletedMacro(std::span<const std::filesystem::path> profileFiles,
                                                   const std::filesystem::path& defaultFile, int deviceIndex,
                                                   int macro);

}  // namespace zevik
