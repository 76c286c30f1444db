#pragma once
// Typed, non-throwing, non-modifying reads of JSON documents from disk.
//
// Documents come from files anyone may have edited. jsoncpp throws when a value is read as a type
// it does not hold, and its non-const operator[] adds members, so every read of a stored document
// goes through these helpers: a value of the wrong type counts as absent, and nothing is changed.

#include <json/value.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace zevik::json {

// The member key of object v; nullptr when v is not an object or has no such member.
const Json::Value* Member(const Json::Value& v, std::string_view key);

// Element index of array v; nullptr when v is not an array or is too short.
const Json::Value* Element(const Json::Value& v, Json::ArrayIndex index);

// True when key is a member of v holding an object (an array for IsArrayMember).
bool IsObjectMember(const Json::Value& v, std::string_view key);
bool IsArrayMember(const Json::Value& v, std::string_view key);

// The value as an integer, as the program's readers take it: integers keep their low 32 bits,
// booleans give 0 or 1, fractions inside the 32-bit range are truncated; anything else gives
// fallback.
std::int32_t AsInt(const Json::Value* v, std::int32_t fallback = 0);
// The value as a truth value: any non-zero number or true; anything else gives false.
bool AsBool(const Json::Value* v);
// The value as a string; anything but a string gives fallback.
std::string AsString(const Json::Value* v, std::string_view fallback = {});

// Shorthands on a member of an object.
inline std::int32_t IntMember(const Json::Value& v, std::string_view key, std::int32_t fallback = 0) {
    return AsInt(Member(v, key), fallback);
}
inline bool BoolMember(const Json::Value& v, std::string_view key) { return AsBool(Member(v, key)); }
inline std::string StringMember(const Json::Value& v, std::string_view key) { return AsString(Member(v, key)); }

// For writers: makes v an object when it is not one (null included) and returns its member key;
// the member itself is left as it is.
Json::Value& ObjectSlot(Json::Value& v, std::string_view key);
// For writers: makes v an array when it is not one and returns its element index, growing the
// array with nulls as needed.
Json::Value& ArraySlot(Json::Value& v, Json::ArrayIndex index);

}  // namespace zevik::json
