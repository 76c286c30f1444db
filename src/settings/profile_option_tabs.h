#pragma once
// The option tabs of a device page that the profile bar hides, shows and marks.

#include <string_view>
#include <vector>

namespace zevik {

struct OptionTabVisibility {
    std::vector<std::string_view> hidden;
    std::vector<std::string_view> shown;
};

// The nine option tabs, in function page order.
const std::vector<std::string_view>& AllOptionTabs();

// What the bar hides and shows for a page kind (keyboard 1, mouse 2, mousepad 3, headset 7);
// other kinds change nothing.
OptionTabVisibility OptionTabsForPageKind(int pageKind);

// The one tab selected for a function page index (1 "deng_Op_tab" ... 10 "Virtual7.1_Op_tab");
// empty for any other index (8, the performance page, among them), which clears all nine.
std::string_view OptionTabForFunctionPage(int functionPage);

}  // namespace zevik
