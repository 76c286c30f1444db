#include "settings/profile_option_tabs.h"

namespace zevik {

const std::vector<std::string_view>& AllOptionTabs() {
    static const std::vector<std::string_view> tabs = {
        "deng_Op_tab",       "key_Op_tab",  "macro_Op_tab", "system_Op_tab",    "cursor_Op_tab",
        "6533_voice_Op_tab", "magic_Op_tab", "About_Op_tab", "Virtual7.1_Op_tab"};
    return tabs;
}

OptionTabVisibility OptionTabsForPageKind(int pageKind) {
    switch (pageKind) {
        case 1: return {{"cursor_Op_tab"}, {}};
        case 3: return {{"cursor_Op_tab", "macro_Op_tab", "system_Op_tab", "key_Op_tab"}, {}};
        case 7:
            return {{"cursor_Op_tab", "macro_Op_tab", "system_Op_tab", "key_Op_tab"},
                    {"6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"}};
        default: return {};
    }
}

std::string_view OptionTabForFunctionPage(int functionPage) {
    switch (functionPage) {
        case 1: return "deng_Op_tab";
        case 2: return "key_Op_tab";
        case 3: return "macro_Op_tab";
        case 4: return "system_Op_tab";
        case 5: return "cursor_Op_tab";
        case 6: return "6533_voice_Op_tab";
        case 7: return "magic_Op_tab";
        case 9: return "About_Op_tab";
        case 10: return "Virtual7.1_Op_tab";
        default: return {};
    }
}

}  // namespace zevik
