#include "settings/macro_deletion.h"

#include "settings/basic_profiledata.h"
#include "settings/macro_key_renumbering.h"
#include "settings/profile_store.h"

namespace zevik {

namespace {

std::vector<std::filesystem::path> OtherProfileFiles(const MacroDeletionPlace& place) {
    const CProfileStore profiles(place.kindFolder, place.defaultFile, 0);
    std::vector<std::filesystem::path> files;
    for (const ProfileEntry& entry : profiles.ListedProfiles()) {
        std::filesystem::path file = profiles.ProfileFilePathOf(entry.uuid);
        if (file != place.currentProfile) files.push_back(std::move(file));
    }
    return files;
}

}  // namespace

MacroDeletionResult DeleteMacroEverywhere(const MacroDeletionPlace& place, int macro, ICurrentMacroKeys& current,
                                          const MacroDeletionQuestion& ask) {
    MacroDeletionResult out;
    const CMacroStore store(place.kindFolder);
    const std::size_t count = store.Entries().size();
    if (macro < 0 || static_cast<std::size_t>(macro) >= count) {
        out.removal = MacroStoreResult::Refused("there is no macro " + std::to_string(macro + 1) +
                                                " (the list holds " + std::to_string(count) + ")");
        return out;
    }
    std::vector<KeyAssignRecord> keys = current.CurrentKeys();
    // Every question before anything changes: a late "no" must not leave half a deletion behind.
    if (!ask("message_text_4") || (KeysUseMacro(keys, macro) && !ask("message_text_2"))) {
        out.declined = true;
        out.removal = MacroStoreResult::Refused("the deletion was declined");
        return out;
    }

    const std::vector<std::filesystem::path> others = OtherProfileFiles(place);
    const ProfilesRenumbered renumbered =
        RenumberProfilesForDeletedMacro(others, place.defaultFile, place.deviceIndex, macro);
    out.otherProfilesChanged = renumbered.changed;
    out.failures = renumbered.failures;

    // The list loses the macro before the device hears of it: what is sent with the renumbered keys
    // is read from the list as it is after the deletion.
    out.removal = store.RemoveMacro(macro);
    if (RenumberKeysForDeletedMacro(keys, macro)) {
        out.currentChanged = true;
        out.deviceFailure = current.SendKeys(keys);
        // Saved whatever the device said: the profile must not keep an index the list no longer has.
        if (const JsonWriteResult saved = current.SaveKeys(keys); !saved) out.failures.push_back(saved.message);
    }
    return out;
}

CProfileFileMacroKeys::CProfileFileMacroKeys(std::filesystem::path profile, std::filesystem::path defaultFile,
                                             int deviceIndex)
    : profile_(std::move(profile)), defaultFile_(std::move(defaultFile)), deviceIndex_(deviceIndex) {}

std::vector<KeyAssignRecord> CProfileFileMacroKeys::CurrentKeys() {
    if (profile_.empty()) return {};
    CBasicProfiledata scratch;
    scratch.SetDefaultPath(defaultFile_);
    scratch.SetDeviceIndex(deviceIndex_);
    scratch.LoadDefaultProfile(profile_);
    return scratch.GetDefaultKeyList();
}

JsonWriteResult CProfileFileMacroKeys::SaveKeys(const std::vector<KeyAssignRecord>& keys) {
    if (profile_.empty()) return {true, {}};
    CBasicProfiledata scratch;
    scratch.SetDefaultPath(defaultFile_);
    scratch.SetDeviceIndex(deviceIndex_);
    scratch.LoadDefaultProfile(profile_);
    scratch.SetDefaultKeyList(keys);
    return scratch.SaveDefaultProfile(profile_);
}

}  // namespace zevik
