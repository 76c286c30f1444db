#pragma once
// Reading the light files of a kind folder: "velda_light.config" names the user's lighting
// sequences per device index ("LightInfo"[k][position] = {"LightName", "Guid"}), and each sequence
// is the file Guid + ".light" beside it ("LEDEffectList", an array of steps).
//
// These files come from outside the program: a value of the wrong type reads as absent, a damaged
// file reads as missing, and an identifier that is not a plain file name never leaves the folder.
// Nothing here writes.

#include <json/value.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/light_effect_record.h"

namespace zevik {

inline constexpr std::string_view kLightConfigFileName = "velda_light.config";
inline constexpr std::string_view kLightFileExtension = ".light";

// One entry of "LightInfo"[k]: empty strings where the member is missing or not a string.
struct LightSequenceEntry {
    std::string name;  // "LightName"
    std::string guid;  // "Guid"
    friend bool operator==(const LightSequenceEntry&, const LightSequenceEntry&) = default;
};

// The entries of "LightInfo"[deviceIndex] of a parsed configuration, in order; an element that is
// not an object gives an empty entry, so the positions of the following ones do not move.
std::vector<LightSequenceEntry> LightSequenceEntries(const Json::Value& config, int deviceIndex);

// True when identifier names a file inside the folder: not empty, no folder separator, not "." or
// "..", no NUL, and short enough to be a file name with its extension.
bool IsPlainLightIdentifier(std::string_view identifier);

// folder / identifier + ".light"; nothing when the identifier is not plain.
std::optional<std::filesystem::path> LightFilePath(const std::filesystem::path& folder,
                                                   std::string_view identifier);

// The steps of a parsed light file: every element of "LEDEffectList" gives one record, in order
// (members missing or not integers read as 0, so an element that is no object is an all-zero step;
// byte members keep their low 8 bits). Empty when the list is missing or not an array.
std::vector<LightEffectRecord> LightStepsOf(const Json::Value& lightFile);

// Why a document is not a light file, or nothing when it is one: a JSON object whose
// "LEDEffectList" is a non-empty array of objects, each with the ten integer members in range
// (the eight byte members 0..255, "Time" and "Cyle" 32-bit).
std::optional<std::string> LightFileProblem(const Json::Value& lightFile);

// The sequence at position of "LightInfo"[deviceIndex] in the configuration read from configPath:
// its "Guid" + ".light" in the configuration's folder. Empty (all LEDs off) when any piece is
// missing or damaged; an identifier that is not plain is refused with a trace line.
std::vector<LightEffectRecord> ReadLightSequence(const std::filesystem::path& configPath,
                                                 const Json::Value& config, int deviceIndex,
                                                 std::size_t position);

}  // namespace zevik
