#pragma once
// Parsing of skin attribute values. Every parser is total: malformed input yields a clear "false" (or
// std::nullopt) and leaves the output untouched, never a partial value.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/ui_types.h"

namespace zevik {

// "l,t,r,b" (spaces allowed). Missing trailing parts are not accepted.
std::optional<UiRect> ParseRect(std::string_view text);
// "cx,cy".
std::optional<UiSize> ParseSize(std::string_view text);
// A decimal integer, optionally negative.
std::optional<int> ParseInt(std::string_view text);
// "true"/"false" (also "1"/"0").
std::optional<bool> ParseBool(std::string_view text);
// "#AARRGGBB", "#RRGGBB" (opaque), "0xAARRGGBB" or a plain hexadecimal value.
std::optional<UiColor> ParseColor(std::string_view text);

// name="value" name2='value2' ... ; nullopt on a malformed list.
std::optional<std::vector<std::pair<std::string, std::string>>> ParseAttributeList(std::string_view text);

// An image attribute: either a bare path or a list such as
// "file='power/power.png' source='0,0,20,20' corner='2,2,2,2' fade='128'" ("res" is a synonym of
// "file"). Paths use '/' whatever was written.
struct TImageAttribute {
    std::string file;
    std::optional<UiRect> source;
    std::optional<UiRect> dest;
    std::optional<UiRect> corner;
    int fade = 255;
    bool xtiled = false;
    bool ytiled = false;
};
std::optional<TImageAttribute> ParseImageAttribute(std::string_view text);

// Case-insensitive ASCII comparison.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace zevik
