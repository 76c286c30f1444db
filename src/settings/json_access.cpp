#include "settings/json_access.h"

#include <limits>

namespace zevik::json {

const Json::Value* Member(const Json::Value& v, std::string_view key) {
    if (!v.isObject()) return nullptr;
    return v.find(key.data(), key.data() + key.size());
}

const Json::Value* Element(const Json::Value& v, Json::ArrayIndex index) {
    if (!v.isArray() || index >= v.size()) return nullptr;
    return &v[index];
}

bool IsObjectMember(const Json::Value& v, std::string_view key) {
    const Json::Value* m = Member(v, key);
    return m != nullptr && m->isObject();
}

bool IsArrayMember(const Json::Value& v, std::string_view key) {
    const Json::Value* m = Member(v, key);
    return m != nullptr && m->isArray();
}

std::int32_t AsInt(const Json::Value* v, std::int32_t fallback) {
    if (v == nullptr) return fallback;
    switch (v->type()) {
        case Json::intValue:
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(v->asLargestInt()));
        case Json::uintValue:
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(v->asLargestUInt()));
        case Json::booleanValue:
            return v->asBool() ? 1 : 0;
        case Json::realValue: {
            const double d = v->asDouble();
            if (d >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
                d <= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
                return static_cast<std::int32_t>(d);
            }
            return fallback;
        }
        default:
            return fallback;
    }
}

bool AsBool(const Json::Value* v) {
    if (v == nullptr) return false;
    switch (v->type()) {
        case Json::intValue:
        case Json::uintValue:
        case Json::realValue:
        case Json::booleanValue:
            return v->asBool();
        default:
            return false;
    }
}

std::string AsString(const Json::Value* v, std::string_view fallback) {
    if (v == nullptr || !v->isString()) return std::string(fallback);
    return v->asString();
}

Json::Value& ObjectSlot(Json::Value& v, std::string_view key) {
    if (!v.isObject()) v = Json::Value(Json::objectValue);
    return v[std::string(key)];
}

Json::Value& ArraySlot(Json::Value& v, Json::ArrayIndex index) {
    if (!v.isArray()) v = Json::Value(Json::arrayValue);
    return v[index];
}

}  // namespace zevik::json
