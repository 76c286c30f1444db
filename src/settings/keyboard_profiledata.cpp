#include "settings/keyboard_profiledata.h"

#include "settings/json_access.h"

namespace zevik {

namespace {
std::uint16_t U16(const Json::Value& object, std::string_view key) {
    return static_cast<std::uint16_t>(json::IntMember(object, key));
}
std::uint8_t U8(const Json::Value& object, std::string_view key) {
    return static_cast<std::uint8_t>(json::IntMember(object, key));
}
Json::Value ColorObject(const KeyColorRecord& c) {
    Json::Value e(Json::objectValue);
    e["Red"] = c.red;
    e["Green"] = c.green;
    e["Blue"] = c.blue;
    e["Alpha"] = c.alpha;
    return e;
}
}  // namespace

KeyboardSystemRecord CKeyboardProfiledata::GetKeyboardSystem() {
    KeyboardSystemRecord r;
    const Json::Value* s = json::Member(CurrentDocument(), "SystemStages");
    if (s != nullptr && s->isObject()) {
        r.SetRepeat(U16(*s, "Repeat"));
        r.SetRepeatDelay(U16(*s, "RepeatDelay"));
        r.SetKey6Flag(U16(*s, "Key6Flag"));
        r.SetPollingRate(U16(*s, "PollingRate"));
        r.SetWFlag(U16(*s, "WFlag"));
        r.SetWinFlag(U16(*s, "WinFlag"));
    }
    keyboardSystem_ = r;
    return r;
}

void CKeyboardProfiledata::SetKeyboardSystem(const KeyboardSystemRecord& r) {
    keyboardSystem_ = r;
    Json::Value& s = json::ObjectSlot(MutableDocument(), "SystemStages");
    json::ObjectSlot(s, "Repeat") = r.Repeat();
    s["RepeatDelay"] = r.RepeatDelay();
    s["Key6Flag"] = r.Key6Flag();
    s["PollingRate"] = r.PollingRate();
    s["WFlag"] = r.WFlag();
    s["WinFlag"] = r.WinFlag();
}

std::vector<KeyColorRecord> CKeyboardProfiledata::GetKeyColors(int group, int keyCount) {
    keyColors_.clear();
    if (group < 0 || group >= kMaxGroups || keyCount <= 0) return keyColors_;
    if (keyCount > kMaxKeys) keyCount = kMaxKeys;

    Json::Value& groups = json::ObjectSlot(json::ObjectSlot(MutableDocument(), "CustomLightMode"), "LightColorInfo");
    Json::Value& colors = json::ArraySlot(groups, static_cast<Json::ArrayIndex>(group));
    // A group that is not an array is damaged; it reads as absent and is rebuilt.
    if (!colors.isArray()) colors = Json::Value(Json::arrayValue);
    for (int k = 0; k < keyCount; ++k) {
        Json::Value& e = colors[static_cast<Json::ArrayIndex>(k)];
        KeyColorRecord c;
        if (e.isObject()) {
            c.red = U8(e, "Red");
            c.green = U8(e, "Green");
            c.blue = U8(e, "Blue");
            c.alpha = U8(e, "Alpha");
        } else {
            e = ColorObject(c);
        }
        keyColors_.push_back(c);
    }
    return keyColors_;
}

void CKeyboardProfiledata::SetKeyColors(const std::vector<KeyColorRecord>& list, int group) {
    if (group < 0 || group >= kMaxGroups) return;
    keyColors_ = list;
    Json::Value& groups = json::ObjectSlot(json::ObjectSlot(MutableDocument(), "CustomLightMode"), "LightColorInfo");
    Json::Value& colors = json::ArraySlot(groups, static_cast<Json::ArrayIndex>(group));
    if (!colors.isArray()) colors = Json::Value(Json::arrayValue);
    for (std::size_t k = 0; k < list.size() && k < static_cast<std::size_t>(kMaxKeys); ++k) {
        colors[static_cast<Json::ArrayIndex>(k)] = ColorObject(list[k]);
    }
}

int CKeyboardProfiledata::GetKeyColorGroup() {
    const Json::Value* s = json::Member(CurrentDocument(), "CustomLightMode");
    keyColorGroup_ = s != nullptr ? json::IntMember(*s, "CustomLightModeGroupIndex") : 0;
    return keyColorGroup_;
}

void CKeyboardProfiledata::SetKeyColorGroup(int group) {
    keyColorGroup_ = group;
    json::ObjectSlot(json::ObjectSlot(MutableDocument(), "CustomLightMode"), "CustomLightModeGroupIndex") = group;
}

}  // namespace zevik
