#include "settings/profile_files_loader.h"

#include "platform/trace.h"
#include "settings/basic_profiledata.h"
#include "settings/profile_store.h"

namespace zevik {

bool LoadProfileFilesOfKind(CBasicProfiledata& profile, const CProfileLocations& locations, ProfileKind kind,
                            const std::string& lightConfigName) {
    const std::filesystem::path folder = locations.KindFolder(kind);
    if (!locations.EnsureKindFolder(kind)) Trace("the profile folder cannot be created: " + folder.string());
    CProfileStore store(folder, locations.DefaultFile(kind), PageKind(kind));
    store.InitProfiles();
    // Every kind has its own folder: the device's document is element 0 of its files.
    profile.SetDeviceIndex(0);
    profile.SetDefaultPath(locations.DefaultFile(kind));
    profile.LoadDefaultProfile(locations.DefaultFile(kind));
    const std::filesystem::path path = store.GetSelectedProfilePath();
    if (!path.empty()) {
        profile.SetProfilePath(path);
        profile.LoadProfile(path);
    }
    const std::string lightConfig = lightConfigName.empty() ? "velda_light" : lightConfigName;
    profile.SetLightConfigPath(folder / (lightConfig + ".config"));
    profile.LoadLightConfig(profile.GetLightConfigPath());
    return !path.empty();
}

}  // namespace zevik
