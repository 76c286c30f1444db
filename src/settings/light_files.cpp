#include "settings/light_files.h"

#include <array>
#include <limits>

#include "platform/trace.h"
#include "settings/json_access.h"
#include "settings/json_file_util.h"

namespace zevik {

namespace {

constexpr std::size_t kMaxFileNameBytes = 255;  // NAME_MAX of the common Linux file systems

constexpr std::array<std::string_view, 8> kByteKeys = {"LEDREGMode", "LEDBrightness", "LEDSpeed",
                                                       "LEDDirection", "LEDMultiColor", "red",
                                                       "green", "blue"};
constexpr std::array<std::string_view, 2> kWordKeys = {"Time", "Cyle"};

std::uint8_t ByteOf(const Json::Value& step, std::string_view key) {
    return static_cast<std::uint8_t>(json::IntMember(step, key));
}

bool IsIntegerIn(const Json::Value* v, Json::Int64 low, Json::Int64 high) {
    if (v == nullptr || !v->isIntegral() || v->isBool()) return false;
    if (v->isUInt64() && v->asUInt64() > static_cast<Json::UInt64>(high)) return false;
    if (!v->isInt64()) return false;
    const Json::Int64 value = v->asInt64();
    return value >= low && value <= high;
}

}  // namespace

std::vector<LightSequenceEntry> LightSequenceEntries(const Json::Value& config, int deviceIndex) {
    std::vector<LightSequenceEntry> entries;
    if (deviceIndex < 0) return entries;
    const Json::Value* all = json::Member(config, "LightInfo");
    const Json::Value* list = all != nullptr ? json::Element(*all, static_cast<Json::ArrayIndex>(deviceIndex))
                                             : nullptr;
    if (list == nullptr || !list->isArray()) return entries;
    for (const Json::Value& element : *list) {
        entries.push_back({json::StringMember(element, "LightName"), json::StringMember(element, "Guid")});
    }
    return entries;
}

bool IsPlainLightIdentifier(std::string_view identifier) {
    if (identifier.empty() || identifier == "." || identifier == "..") return false;
    if (identifier.size() + kLightFileExtension.size() > kMaxFileNameBytes) return false;
    return identifier.find('/') == std::string_view::npos && identifier.find('\\') == std::string_view::npos &&
           identifier.find('\0') == std::string_view::npos;
}

std::optional<std::filesystem::path> LightFilePath(const std::filesystem::path& folder,
                                                   std::string_view identifier) {
    if (!IsPlainLightIdentifier(identifier)) return std::nullopt;
    return folder / (std::string(identifier) + std::string(kLightFileExtension));
}

std::vector<LightEffectRecord> LightStepsOf(const Json::Value& lightFile) {
    std::vector<LightEffectRecord> steps;
    const Json::Value* list = json::Member(lightFile, "LEDEffectList");
    if (list == nullptr || !list->isArray()) return steps;
    for (const Json::Value& e : *list) {
        LightEffectRecord r;
        r.ledRegMode = ByteOf(e, "LEDREGMode");
        r.ledBrightness = ByteOf(e, "LEDBrightness");
        r.ledSpeed = ByteOf(e, "LEDSpeed");
        r.ledDirection = ByteOf(e, "LEDDirection");
        r.ledMultiColor = ByteOf(e, "LEDMultiColor");
        r.red = ByteOf(e, "red");
        r.green = ByteOf(e, "green");
        r.blue = ByteOf(e, "blue");
        r.time = json::IntMember(e, "Time");
        r.cyle = json::IntMember(e, "Cyle");
        steps.push_back(r);
    }
    return steps;
}

std::optional<std::string> LightFileProblem(const Json::Value& lightFile) {
    if (!lightFile.isObject()) return "not a JSON object";
    const Json::Value* list = json::Member(lightFile, "LEDEffectList");
    if (list == nullptr || !list->isArray()) return "no \"LEDEffectList\" array";
    if (list->empty()) return "\"LEDEffectList\" is empty";
    for (Json::ArrayIndex i = 0; i < list->size(); ++i) {
        const Json::Value& step = (*list)[i];
        const std::string where = "step " + std::to_string(i + 1);
        if (!step.isObject()) return where + " is not an object";
        for (std::string_view key : kByteKeys) {
            if (!IsIntegerIn(json::Member(step, key), 0, 255))
                return where + ": \"" + std::string(key) + "\" is not an integer 0..255";
        }
        for (std::string_view key : kWordKeys) {
            if (!IsIntegerIn(json::Member(step, key), std::numeric_limits<std::int32_t>::min(),
                             std::numeric_limits<std::int32_t>::max()))
                return where + ": \"" + std::string(key) + "\" is not a 32-bit integer";
        }
    }
    return std::nullopt;
}

std::vector<LightEffectRecord> ReadLightSequence(const std::filesystem::path& configPath,
                                                 const Json::Value& config, int deviceIndex,
                                                 std::size_t position) {
    const std::vector<LightSequenceEntry> entries = LightSequenceEntries(config, deviceIndex);
    if (position >= entries.size()) return {};
    const std::string& guid = entries[position].guid;
    const std::optional<std::filesystem::path> file = LightFilePath(configPath.parent_path(), guid);
    if (!file) {
        Trace("light sequence " + std::to_string(position) + ": identifier \"" + guid +
              "\" is not a plain file name; the sequence is left empty");
        return {};
    }
    return LightStepsOf(CJsonFileUtil().ReadJsonFile(*file));
}

}  // namespace zevik
