#pragma once
// The picture of the keyboard on its page: the key buttons of the container
// "keyboard_device_key_light", found by name and user data, and the lights they show.
//
// A child of class "DeviceKeyButton" is looked at twice, by its name and by its user data: "key_" n
// binds key button n, "light_" n light button n (prefixes without letter case; n below the count).
// One control is usually both. Lights start lit white at full intensity.
//
// A light shows its key's colour scaled by its intensity as the button's background colour. Showing a
// frame touches only the buttons whose colour changed, so an animated page repaints only those keys.

#include <array>
#include <cstdint>
#include <vector>

#include "devices/keyboard_light_preview.h"
#include "ui/ui_types.h"

namespace zevik {

class CControlUI;

class CKeyboardKeyPicture {
public:
    static constexpr const char* kAreaName = "keyboard_device_key_light";

    // Binds the buttons of the area inside page (none when the page has no area); the lists are as
    // long as the counts, null where the skin has no button.
    void Bind(CControlUI* page, int keyCount, int lightCount);
    void Clear();

    CControlUI* Area() const { return m_area; }
    const std::vector<CControlUI*>& KeyButtons() const { return m_keys; }
    const std::vector<CControlUI*>& LightButtons() const { return m_lights; }

    // Shows the preview's button lights; returns how many buttons changed.
    int Show(const KeyLightPreview& preview);

    // The background colour a light shows for a preview entry (opaque; black at intensity 0).
    static UiColor ButtonColour(const KeyButtonLight& light);

private:
    CControlUI* m_area = nullptr;
    std::vector<CControlUI*> m_keys;
    std::vector<CControlUI*> m_lights;
};

}  // namespace zevik
