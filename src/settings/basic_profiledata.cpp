#include "settings/basic_profiledata.h"

#include "platform/trace.h"
#include "settings/json_access.h"
#include "settings/light_files.h"

namespace zevik {

namespace fs = std::filesystem;

namespace {

std::uint8_t U8(const Json::Value& object, std::string_view key) {
    return static_cast<std::uint8_t>(json::IntMember(object, key));
}
std::uint8_t Flag(const Json::Value& object, std::string_view key) {
    return json::BoolMember(object, key) ? 1 : 0;
}

// The element of the "Device" array at index, when it is an object.
const Json::Value* DeviceElement(const Json::Value& file, int index) {
    const Json::Value* devices = json::Member(file, "Device");
    if (devices == nullptr) return nullptr;
    const Json::Value* element = json::Element(*devices, static_cast<Json::ArrayIndex>(index));
    return element != nullptr && element->isObject() ? element : nullptr;
}

}  // namespace

JsonWriteResult CBasicProfiledata::SaveProfile() { return WriteDeviceEntry(current_, profilePath_); }

JsonWriteResult CBasicProfiledata::SaveDefaultProfile(const fs::path& path) { return WriteDeviceEntry(default_, path); }

JsonWriteResult CBasicProfiledata::WriteDocument(const Json::Value& value, const fs::path& path) {
    return files_.WriteJsonFile(path, value);
}

JsonWriteResult CBasicProfiledata::WriteDeviceEntry(const Json::Value& value, const fs::path& path) {
    JsonWriteResult result;
    if (path.empty()) {
        result.message = "no profile file is bound";
        return result;
    }
    JsonReadStatus status = JsonReadStatus::Ok;
    Json::Value file = files_.ReadJsonFile(path, status);
    bool moveAside = false;
    switch (status) {
        case JsonReadStatus::Ok:
            if (!file.isObject()) {
                moveAside = true;
                file = Json::Value(Json::objectValue);
            } else if (const Json::Value* devices = json::Member(file, "Device");
                       devices != nullptr && !devices->isArray() && !devices->isNull()) {
                moveAside = true;
                file.removeMember("Device");
            }
            break;
        case JsonReadStatus::Missing:
            file = Json::Value(Json::objectValue);
            break;
        case JsonReadStatus::Invalid:
            moveAside = true;
            file = Json::Value(Json::objectValue);
            break;
        case JsonReadStatus::Unreadable:
            result.message = "cannot read " + path.string() + "; left as it is";
            return result;
    }
    if (moveAside && CJsonFileUtil::MoveAside(path).empty()) {
        result.message = "cannot move the damaged file " + path.string() + " aside";
        return result;
    }
    json::ArraySlot(json::ObjectSlot(file, "Device"), static_cast<Json::ArrayIndex>(deviceIndex_)) = value;
    return files_.WriteJsonFile(path, file);
}

void CBasicProfiledata::SetProfilePath(const fs::path& path) {
    if (!path.empty()) profilePath_ = path;
}

void CBasicProfiledata::SetDefaultPath(const fs::path& path) {
    if (!path.empty()) defaultPath_ = path;
}

Json::Value CBasicProfiledata::LoadElement(const fs::path& path) {
    lastError_.clear();
    const Json::Value file = files_.ReadJsonFile(path);
    if (const Json::Value* element = DeviceElement(file, deviceIndex_)) return *element;

    const Json::Value factory = files_.ReadJsonFile(defaultPath_);
    const Json::Value* element = DeviceElement(factory, deviceIndex_);
    if (element == nullptr) {
        lastError_ = "no factory settings in " + defaultPath_.string();
        return Json::Value();
    }
    if (const JsonWriteResult written = WriteDeviceEntry(*element, path); !written) lastError_ = written.message;
    return *element;
}

Json::Value CBasicProfiledata::LoadProfile(const fs::path& path) {
    current_ = LoadElement(path);
    return current_;
}

Json::Value CBasicProfiledata::LoadDefaultProfile(const fs::path& path) {
    default_ = LoadElement(path);
    return default_;
}

Json::Value CBasicProfiledata::LoadLightConfig(const fs::path& path) {
    lightConfig_ = files_.ReadJsonFile(path);
    return lightConfig_;
}

LightInfoRecord CBasicProfiledata::GetLightInfo() {
    const Json::Value* s = json::Member(current_, "LightInfo");
    if (s == nullptr || !s->isObject()) {
        lightInfo_ = lightInfoFallback_;
        return lightInfo_;
    }
    LightInfoRecord r;
    r.selectItem = U8(*s, "SelectItem");
    r.light = U8(*s, "Light");
    r.speed = U8(*s, "Speed");
    r.fx = U8(*s, "Fx");
    r.multiColor = Flag(*s, "MultiColor");
    r.red = U8(*s, "Red");
    r.green = U8(*s, "Green");
    r.blue = U8(*s, "Blue");
    r.zzccLedMode = U8(*s, "ZZCCLedMode");
    r.customGroup = U8(*s, "CustomGroup");
    r.oldLedmode = U8(*s, "OldLedmode");
    lightInfo_ = r;
    return r;
}

void CBasicProfiledata::SetLightInfo(const LightInfoRecord& r) {
    lightInfo_ = r;
    Json::Value s(Json::objectValue);
    s["SelectItem"] = r.selectItem;
    s["Light"] = r.light;
    s["Speed"] = r.speed;
    s["Fx"] = r.fx;
    s["MultiColor"] = r.multiColor ? 1 : 0;
    s["Red"] = r.red;
    s["Green"] = r.green;
    s["Blue"] = r.blue;
    s["ZZCCLedMode"] = r.zzccLedMode;
    s["CustomGroup"] = r.customGroup;
    s["OldLedmode"] = r.oldLedmode;
    json::ObjectSlot(current_, "LightInfo") = s;
}

AudioLightInfoRecord CBasicProfiledata::GetAudioLightInfo() {
    const Json::Value* s = json::Member(current_, "AudioLightInfo");
    if (s == nullptr || !s->isObject()) return audioLightInfo_;
    AudioLightInfoRecord r;
    r.audioMode = U8(*s, "AudioMode");
    r.bkColorR = U8(*s, "BkColorR");
    r.bkColorG = U8(*s, "BkColorG");
    r.bkColorB = U8(*s, "BkColorB");
    r.fgColorR = U8(*s, "FgColorR");
    r.fgColorG = U8(*s, "FgColorG");
    r.fgColorB = U8(*s, "FgColorB");
    r.sevenColorFlags = Flag(*s, "7ColorFlags");
    r.colorTypeFlags = Flag(*s, "ColorTypeFlags");
    audioLightInfo_ = r;
    return r;
}

void CBasicProfiledata::SetAudioLightInfo(const AudioLightInfoRecord& r) {
    audioLightInfo_ = r;
    Json::Value s(Json::objectValue);
    s["AudioMode"] = r.audioMode;
    s["BkColorR"] = r.bkColorR;
    s["BkColorG"] = r.bkColorG;
    s["BkColorB"] = r.bkColorB;
    s["FgColorR"] = r.fgColorR;
    s["FgColorG"] = r.fgColorG;
    s["FgColorB"] = r.fgColorB;
    s["7ColorFlags"] = r.sevenColorFlags ? 1 : 0;
    s["ColorTypeFlags"] = r.colorTypeFlags ? 1 : 0;
    json::ObjectSlot(current_, "AudioLightInfo") = s;
}

std::vector<LightListRecord> CBasicProfiledata::GetLightList() {
    lightList_.clear();
    const Json::Value* list = json::Member(current_, "LightList");
    if (list != nullptr && list->isArray()) {
        for (const Json::Value& e : *list) {
            LightListRecord r;
            if (e.isObject()) {
                r.ledRegMode = U8(e, "LEDREGMode");
                r.ledBrightness = U8(e, "LEDBrightness");
                r.ledSpeed = U8(e, "LEDSpeed");
                r.ledDirection = Flag(e, "LEDDirection");
                r.ledMultiColor = Flag(e, "LEDMultiColor");
                r.red = U8(e, "red");
                r.green = U8(e, "green");
                r.blue = U8(e, "blue");
                r.present = 1;
            }
            lightList_.push_back(r);
        }
    }
    return lightList_;
}

std::vector<LightEffectRecord> CBasicProfiledata::GetCustomLightEffects() {
    customLightEffects_ = ReadLightSequence(lightConfigPath_, lightConfig_, deviceIndex_, lightInfo_.selectItem);
    return customLightEffects_;
}

std::vector<KeyAssignRecord> CBasicProfiledata::ReadKeyList(const Json::Value& document) {
    std::vector<KeyAssignRecord> records;
    const Json::Value* list = json::Member(document, "KeyList");
    if (list == nullptr || !list->isArray()) return records;
    const Json::ArrayIndex count = list->size();
    records.reserve(count);
    for (Json::ArrayIndex i = 0; i < count; ++i) {
        const Json::Value& e = (*list)[i];
        KeyAssignRecord r;
        r.keyIndex = static_cast<std::uint16_t>(i);
        r.assignment = AssignmentCode::FromInt(json::IntMember(e, "Assignment"));
        r.defaultKeyIndex = static_cast<std::uint16_t>(i);
        r.defaultAssignment = AssignmentCode::FromInt(json::IntMember(e, "DefaultAssignment"));
        records.push_back(r);
    }
    return records;
}

void CBasicProfiledata::WriteKeyList(Json::Value& document, const std::vector<KeyAssignRecord>& list) {
    Json::Value& keys = json::ObjectSlot(document, "KeyList");
    for (std::size_t i = 0; i < list.size(); ++i) {
        Json::Value& element = json::ArraySlot(keys, static_cast<Json::ArrayIndex>(i));
        json::ObjectSlot(element, "Assignment") = list[i].assignment.ToInt();
    }
}

std::vector<KeyAssignRecord> CBasicProfiledata::GetKeyList() {
    keyList_ = ReadKeyList(current_);
    return keyList_;
}

std::vector<KeyAssignRecord> CBasicProfiledata::GetDefaultKeyList() {
    defaultKeyList_ = ReadKeyList(default_);
    return defaultKeyList_;
}

void CBasicProfiledata::SetKeyList(const std::vector<KeyAssignRecord>& list) {
    keyList_ = list;
    WriteKeyList(current_, list);
}

void CBasicProfiledata::SetDefaultKeyList(const std::vector<KeyAssignRecord>& list) {
    defaultKeyList_ = list;
    WriteKeyList(default_, list);
}

int CBasicProfiledata::SaveChosenProfile(std::string_view owner) {
    if (GetProfilePath().empty()) return 0;
    const JsonWriteResult written = SaveProfile();
    if (!written) Trace(std::string(owner) + ": profile not saved: " + written.message);
    return written ? 1 : 0;
}

std::string CBasicProfiledata::ProfileName() const {
    return json::StringMember(current_, "profilename");
}

}  // namespace zevik
