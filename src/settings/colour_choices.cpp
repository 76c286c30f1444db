#include "settings/colour_choices.h"

#include <cstdio>
#include <system_error>

#include "platform/trace.h"
#include "settings/json_access.h"

namespace zevik {

namespace {

constexpr std::string_view kInfo = "coloroptioninfo";
constexpr std::string_view kPresets = "palletDialogcoloroption";
constexpr std::string_view kPresetSelection = "palletDialogcoloroption_selectitem";
constexpr std::string_view kCollected = "palletDialogcollectcoloroption";
constexpr std::string_view kCollectedSelection = "palletDialogcollectcoloroption_selectitem";
constexpr std::string_view kColour = "color";
constexpr std::string_view kUserData = "UserData";

bool InRange(int n) {
    return n >= 0 && n < CColourChoices::kSlotCount;
}

// Element n of the named list of "coloroptioninfo", when every level has the right type.
const Json::Value* ListElement(const Json::Value& doc, std::string_view list, int n) {
    if (!InRange(n)) return nullptr;
    const Json::Value* info = json::Member(doc, kInfo);
    const Json::Value* array = info != nullptr ? json::Member(*info, list) : nullptr;
    const Json::Value* element =
        array != nullptr ? json::Element(*array, static_cast<Json::ArrayIndex>(n)) : nullptr;
    return element != nullptr && element->isObject() ? element : nullptr;
}

std::optional<int> Selection(const Json::Value& doc, std::string_view key) {
    const Json::Value* info = json::Member(doc, kInfo);
    const Json::Value* value = info != nullptr ? json::Member(*info, key) : nullptr;
    if (value == nullptr || !value->isInt() || !InRange(value->asInt())) return std::nullopt;
    return value->asInt();
}

// Element n of the named list, made an object (and the list an array of at least n + 1) for writing.
Json::Value& WritableElement(Json::Value& info, std::string_view list, int n) {
    Json::Value& array = json::ObjectSlot(info, list);
    Json::Value& element = json::ArraySlot(array, static_cast<Json::ArrayIndex>(n));
    if (!element.isObject()) element = Json::Value(Json::objectValue);
    return element;
}

}  // namespace

std::string CColourChoices::FormatColour(UiColor colour) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(colour));
    return text;
}

std::optional<UiColor> CColourChoices::ParseColour(std::string_view text) {
    if (text.empty() || text.size() > 8) return std::nullopt;
    UiColor value = 0;
    for (char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value << 4 | static_cast<UiColor>(digit);
    }
    return value;
}

CColourChoices::Source CColourChoices::Load(const std::filesystem::path& userFile,
                                            const std::filesystem::path& defaultFile) {
    userFile_ = userFile;
    const CJsonFileUtil files;
    JsonReadStatus status = JsonReadStatus::Ok;
    doc_ = files.ReadJsonFile(userFile, status);
    if (status == JsonReadStatus::Ok && doc_.isObject()) return Source::User;

    if (status != JsonReadStatus::Missing) {
        // Kept for whoever wants to see what went wrong; the default copy takes its place.
        const std::filesystem::path aside = CJsonFileUtil::MoveAside(userFile);
        Trace("colour choices: " + userFile.string() +
              (aside.empty() ? " is damaged and could not be moved aside"
                             : " was damaged, moved to " + aside.string()));
    }
    doc_ = files.ReadJsonFile(defaultFile, status);
    if (status != JsonReadStatus::Ok || !doc_.isObject()) {
        Trace("colour choices: no default copy at " + defaultFile.string());
        doc_ = Json::Value(Json::objectValue);
        return Source::None;
    }
    if (const JsonWriteResult written = Write(); !written) Trace("colour choices: " + written.message);
    return Source::Default;
}

CColourChoices::Source CColourChoices::Read(const std::filesystem::path& userFile,
                                            const std::filesystem::path& defaultFile) {
    userFile_.clear();
    const CJsonFileUtil files;
    JsonReadStatus status = JsonReadStatus::Ok;
    doc_ = files.ReadJsonFile(userFile, status);
    if (status == JsonReadStatus::Ok && doc_.isObject()) return Source::User;
    doc_ = files.ReadJsonFile(defaultFile, status);
    if (status == JsonReadStatus::Ok && doc_.isObject()) return Source::Default;
    doc_ = Json::Value(Json::objectValue);
    return Source::None;
}

std::optional<UiColor> CColourChoices::Preset(int n) const {
    const Json::Value* element = ListElement(doc_, kPresets, n);
    const Json::Value* colour = element != nullptr ? json::Member(*element, kColour) : nullptr;
    if (colour == nullptr || !colour->isString()) return std::nullopt;
    return ParseColour(colour->asString());
}

std::optional<int> CColourChoices::PresetSelection() const {
    return Selection(doc_, kPresetSelection);
}

CColourChoices::Collected CColourChoices::CollectedSlot(int n) const {
    Collected slot;
    const Json::Value* element = ListElement(doc_, kCollected, n);
    if (element == nullptr) return slot;
    const Json::Value* colour = json::Member(*element, kColour);
    if (colour != nullptr && colour->isString()) slot.colour = ParseColour(colour->asString());
    slot.userData = json::StringMember(*element, kUserData);
    return slot;
}

std::optional<int> CColourChoices::CollectedSelection() const {
    return Selection(doc_, kCollectedSelection);
}

Json::Value& CColourChoices::Info() {
    if (!doc_.isObject()) doc_ = Json::Value(Json::objectValue);
    Json::Value& info = json::ObjectSlot(doc_, kInfo);
    if (!info.isObject()) info = Json::Value(Json::objectValue);
    return info;
}

JsonWriteResult CColourChoices::StorePresets(std::span<const UiColor, kSlotCount> colours, int selected) {
    Json::Value& info = Info();
    for (int n = 0; n < kSlotCount; ++n) {
        WritableElement(info, kPresets, n)[std::string(kColour)] =
            FormatColour(colours[static_cast<size_t>(n)]);
    }
    if (InRange(selected)) info[std::string(kPresetSelection)] = selected;
    return Write();
}

JsonWriteResult CColourChoices::StoreCollected(int n, UiColor colour) {
    if (!InRange(n)) return {false, "colour choices: no collected slot " + std::to_string(n)};
    Json::Value& info = Info();
    Json::Value& element = WritableElement(info, kCollected, n);
    element[std::string(kColour)] = FormatColour(colour);
    element[std::string(kUserData)] = "1";
    info[std::string(kCollectedSelection)] = n;
    return Write();
}

JsonWriteResult CColourChoices::Write() {
    if (userFile_.empty()) return {false, "colour choices: no file to write"};
    std::error_code ec;
    std::filesystem::create_directories(userFile_.parent_path(), ec);
    return CJsonFileUtil().WriteJsonFile(userFile_, doc_);
}

}  // namespace zevik
