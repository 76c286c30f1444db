#include "settings/hs6533_profiledata.h"

#include "settings/json_access.h"

namespace zevik {

namespace {
const char* const kSystemKeys[] = {"MagicEnable", "MagicType",  "EqType",           "CustomEqSeletIndex",
                                   "MicInSelect", "MicInValue", "MicMoniterSelect", "MicMoniterValue"};

std::int32_t* Fields(HeadsetSystemRecord& r, int i) {
    std::int32_t* fields[] = {&r.magicEnable, &r.magicType,   &r.eqType,           &r.customEqSeletIndex,
                              &r.micInSelect, &r.micInValue, &r.micMoniterSelect, &r.micMoniterValue};
    return fields[i];
}
}  // namespace

int CHs6533Profiledata::PresetElement(int eqType) {
    if (eqType == kCustomEqType) return -1;
    if (eqType >= 1 && eqType <= 12) return eqType;
    return 1;
}

HeadsetSystemRecord CHs6533Profiledata::GetHeadsetSystem() {
    HeadsetSystemRecord r;
    const Json::Value* s = json::Member(CurrentDocument(), "SystemSetStages");
    if (s != nullptr && s->isObject()) {
        for (int i = 0; i < 8; ++i) *Fields(r, i) = json::IntMember(*s, kSystemKeys[i]);
    }
    headsetSystem_ = r;
    return r;
}

void CHs6533Profiledata::SetHeadsetSystem(const HeadsetSystemRecord& record) {
    headsetSystem_ = record;
    HeadsetSystemRecord r = record;
    Json::Value& s = json::ObjectSlot(MutableDocument(), "SystemSetStages");
    for (int i = 0; i < 8; ++i) json::ObjectSlot(s, kSystemKeys[i]) = *Fields(r, i);
}

std::vector<int> CHs6533Profiledata::ReadBands(const char* section, int element) {
    std::vector<int> values;
    if (element < 0 || element >= kMaxCustomEqs) return values;
    Json::Value& presets = json::ObjectSlot(MutableDocument(), section);
    Json::Value& bands = json::ArraySlot(presets, static_cast<Json::ArrayIndex>(element));
    // A preset that is not an array reads as absent and is rebuilt with zero bands.
    if (!bands.isArray()) bands = Json::Value(Json::arrayValue);
    for (Json::ArrayIndex i = 0; i < kBands; ++i) {
        Json::Value& band = bands[i];
        if (!band.isObject()) {
            band = Json::Value(Json::objectValue);
            band["value"] = 0;
        }
        values.push_back(json::IntMember(band, "value"));
    }
    return values;
}

void CHs6533Profiledata::WriteBands(const char* section, int element, const std::vector<int>& values) {
    if (element < 0 || element >= kMaxCustomEqs) return;
    Json::Value& presets = json::ObjectSlot(MutableDocument(), section);
    Json::Value& bands = json::ArraySlot(presets, static_cast<Json::ArrayIndex>(element));
    for (Json::ArrayIndex i = 0; i < kBands && i < values.size(); ++i) {
        json::ObjectSlot(json::ArraySlot(bands, i), "value") = values[i];
    }
}

std::vector<int> CHs6533Profiledata::GetEqValues(int eqType) {
    eqValues_ = ReadBands("EQHzValueInfo", PresetElement(eqType));
    return eqValues_;
}

void CHs6533Profiledata::SetEqValues(int eqType, const std::vector<int>& values) {
    WriteBands("EQHzValueInfo", PresetElement(eqType), values);
}

std::vector<int> CHs6533Profiledata::GetCustomEqValues(int index) {
    return ReadBands("CustomEQHzValueInfo", index);
}

void CHs6533Profiledata::SetCustomEqValues(int index, const std::vector<int>& values) {
    WriteBands("CustomEQHzValueInfo", index, values);
}

std::vector<std::string> CHs6533Profiledata::GetCustomEqNames() {
    std::vector<std::string> names;
    const Json::Value* list = json::Member(CurrentDocument(), "CustomEQNameInfo");
    if (list != nullptr && list->isArray()) {
        for (const Json::Value& e : *list) names.push_back(json::StringMember(e, "Name"));
    }
    return names;
}

void CHs6533Profiledata::SetCustomEqNames(const std::vector<std::string>& names) {
    Json::Value list(Json::arrayValue);
    for (const std::string& name : names) {
        Json::Value e(Json::objectValue);
        e["Name"] = name;
        list.append(e);
    }
    json::ObjectSlot(MutableDocument(), "CustomEQNameInfo") = list;
}

}  // namespace zevik
