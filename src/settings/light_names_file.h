#pragma once
// The names a lighting page shows, read from the light files of the program:
//   "default_light.json" (the factory folder): "DefaultLightName"[k] - the effects of device kind k in
//     mode-list order, each {"LightName", "value", "visible"}; "AreaLightName"[k] - its zone names;
//   "velda_light.config" (the kind folder): "LightInfo"[k] - the user's lighting sequences, by name.
// k is the device's catalogue index (keyboard 0, mouse 1, mousepad 2, headset 3).
//
// The files are only read here, never written. A missing or damaged file, or a section that is not
// an array, gives an empty list; a member of the wrong type reads as absent. An element that is not an
// object still takes its place, so the positions of the elements after it do not move.

#include <filesystem>
#include <string>
#include <vector>

namespace zevik {

struct LightModeName {
    static constexpr int kNoValue = -1;

    std::string name;      // "LightName"; empty when absent
    int value = kNoValue;  // "value": the effect code the device knows; kNoValue when absent
    bool visible = true;   // "visible": only a boolean false hides the item
};

struct LightNames {
    std::vector<LightModeName> modes;    // "DefaultLightName"[k]
    std::vector<std::string> areas;      // "AreaLightName"[k] names
    std::vector<std::string> sequences;  // "LightInfo"[k] names of the light configuration
};

// The modes as parallel lists, as the mode combo and the devices' mode tables take them.
struct LightModeLists {
    std::vector<int> codes;
    std::vector<std::string> names;
    std::vector<bool> visible;
};
LightModeLists SplitLightModes(std::vector<LightModeName> modes);

// The names of device kind index k. Either path may be empty (that file is skipped).
LightNames ReadLightNames(const std::filesystem::path& defaultLightFile,
                          const std::filesystem::path& lightConfigFile, int kindIndex);

}  // namespace zevik
