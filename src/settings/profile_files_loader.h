#pragma once
// Loading a device's profile documents at connect: the kind's folder (made when missing), its default
// document, the selected profile over it, and the lighting ".config" companion named by the device's
// light configuration ("velda_light" when it names none).

#include <string>

#include "settings/profile_locations.h"

namespace zevik {

class CBasicProfiledata;

// False when no profile is selected (the default document alone is loaded then).
bool LoadProfileFilesOfKind(CBasicProfiledata& profile, const CProfileLocations& locations, ProfileKind kind,
                            const std::string& lightConfigName);

}  // namespace zevik
