#pragma once
// The mode tables of the lighting page: for a page kind and a mode index (a position in the page's
// mode list), which parts of the page are enabled, disabled or hidden. Each kind first resets some
// parts, then its row for the mode sets the rest; a mode its table does not list disables everything
// but the effect list.
//
// Page kinds: keyboard 1, mouse 2, mousepad 3, headset 4 and 7 (the same table), and kind 5, which
// no device of the catalogue uses. Any other kind has no table: nothing changes.

#include <optional>
#include <string>

namespace zevik {

// One part of the page: what the table says of it; an empty field leaves that state as it was.
struct LightPartState {
    std::optional<bool> enabled;
    std::optional<bool> visible;

    friend bool operator==(const LightPartState&, const LightPartState&) = default;
};

struct LightModeView {
    bool listed = false;           // the kind's table has a row for the mode
    LightPartState sevenColour;    // "deng_7color_check"
    LightPartState colour;         // "deng_color_layout" and "colorpallet_layout"
    LightPartState brightness;     // "deng_light_layout"
    LightPartState speed;          // "deng_speed_layout"
    LightPartState direction;      // "deng_fx_layout"
    LightPartState lightColour;    // "light_color_layout"
    LightPartState zzccSelector;   // "light_combo_ZZCCmodeSelectLayout"
    LightPartState customLayout;   // "lightcustom_layout"
    LightPartState audioSelector;  // "light_combo_AudiomodeSelectLayout"
    std::optional<int> colourTab;  // "light_color_tablayout"
    // Language keys of "deng_FXL_check" and "deng_FXR_check"; empty: unchanged.
    std::string directionFirstText;
    std::string directionSecondText;
    bool offersSameMode = false;  // the mode offers "deng_same_mode"
};

// True when the kind has a mode table.
bool HasLightModeTable(int pageKind);

// The state of the page for that kind and mode: the kind's reset, then the mode's row.
LightModeView LightModeFor(int pageKind, int mode);

}  // namespace zevik
