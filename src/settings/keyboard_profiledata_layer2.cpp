// CKeyboardProfiledata: key layer 2 ("KeyList2").

#include "settings/json_access.h"
#include "settings/keyboard_profiledata.h"

namespace zevik {

namespace {
constexpr std::string_view kKeyList2 = "KeyList2";
}  // namespace

std::vector<KeyAssignRecord> CKeyboardProfiledata::GetKeyList2(std::span<const AssignmentCode> defaults) const {
    std::vector<KeyAssignRecord> records;
    records.reserve(defaults.size());
    const Json::Value* list = json::Member(CurrentDocument(), kKeyList2);
    for (size_t j = 0; j < defaults.size(); ++j) {
        const auto index = static_cast<std::uint16_t>(j);
        KeyAssignRecord r{index, defaults[j], index, defaults[j]};
        const Json::Value* element = list != nullptr ? json::Element(*list, static_cast<Json::ArrayIndex>(j)) : nullptr;
        if (const Json::Value* assignment = element != nullptr ? json::Member(*element, "Assignment") : nullptr;
            assignment != nullptr && assignment->isNumeric()) {
            r.assignment = AssignmentCode::FromInt(json::AsInt(assignment));
        }
        records.push_back(r);
    }
    return records;
}

void CKeyboardProfiledata::SetKeyList2(const std::vector<KeyAssignRecord>& list) {
    Json::Value& keys = json::ObjectSlot(MutableDocument(), kKeyList2);
    for (size_t j = 0; j < list.size(); ++j) {
        Json::Value& element = json::ArraySlot(keys, static_cast<Json::ArrayIndex>(j));
        json::ObjectSlot(element, "Assignment") = list[j].assignment.ToInt();
        element["DefaultAssignment"] = list[j].defaultAssignment.ToInt();
    }
}

}  // namespace zevik
