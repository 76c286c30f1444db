#include "devices/keyboard_key_picture.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "ui/attribute_parser.h"
#include "ui/container_ui.h"
#include "ui/control_ui.h"

namespace zevik {

namespace {

constexpr UiColor kLitWhite = 0xFFFFFFFF;

// "light_12" with prefix "light_" -> 12; -1 when the text is not the prefix and a decimal number.
int IndexAfter(std::string_view text, std::string_view prefix) {
    if (text.size() <= prefix.size() || !EqualsNoCase(text.substr(0, prefix.size()), prefix)) return -1;
    const std::string_view digits = text.substr(prefix.size());
    int n = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (error != std::errc() || end != digits.data() + digits.size() || n < 0) return -1;
    return n;
}

void Place(std::vector<CControlUI*>& list, int index, CControlUI* control) {
    if (index >= 0 && static_cast<size_t>(index) < list.size()) list[static_cast<size_t>(index)] = control;
}

bool IsKeyButton(CControlUI& control) {
    return control.GetClass().find("DeviceKeyButton") != std::string_view::npos;
}

}  // namespace

void CKeyboardKeyPicture::Bind(CControlUI* page, int keyCount, int lightCount) {
    Clear();
    m_keys.assign(static_cast<size_t>(std::max(keyCount, 0)), nullptr);
    m_lights.assign(static_cast<size_t>(std::max(lightCount, 0)), nullptr);
    if (page == nullptr) return;
    m_area = page->FindControl([](CControlUI& c) { return EqualsNoCase(c.GetName(), kAreaName); },
                               UIFIND_ALL | UIFIND_ME_FIRST);
    auto* container = m_area != nullptr ? static_cast<CContainerUI*>(m_area->GetInterface("Container")) : nullptr;
    if (container == nullptr) return;
    for (int i = 0; i < container->GetCount(); ++i) {
        CControlUI* child = container->GetItemAt(i);
        if (child == nullptr || !IsKeyButton(*child)) continue;
        Place(m_keys, IndexAfter(child->GetName(), "key_"), child);
        for (const std::string_view text : {std::string_view(child->GetName()), std::string_view(child->GetUserData())}) {
            const int light = IndexAfter(text, "light_");
            if (light < 0 || static_cast<size_t>(light) >= m_lights.size()) continue;
            m_lights[static_cast<size_t>(light)] = child;
            child->SetBkColor(kLitWhite);
        }
    }
}

void CKeyboardKeyPicture::Clear() {
    m_area = nullptr;
    m_keys.clear();
    m_lights.clear();
}

UiColor CKeyboardKeyPicture::ButtonColour(const KeyButtonLight& light) {
    // The preview packs red in bits 0-7, blue in 8-15 and green in 16-23.
    const auto scale = [&light](std::uint32_t channel) {
        return static_cast<UiColor>((channel & 0xFF) * light.intensity / 255);
    };
    return 0xFF000000u | scale(light.colour) << 16 | scale(light.colour >> 16) << 8 | scale(light.colour >> 8);
}

int CKeyboardKeyPicture::Show(const KeyLightPreview& preview) {
    int changed = 0;
    const size_t count = std::min(m_lights.size(), preview.buttons.size());
    for (size_t k = 0; k < count; ++k) {
        CControlUI* button = m_lights[k];
        if (button == nullptr) continue;
        const UiColor colour = ButtonColour(preview.buttons[k]);
        if (button->GetBkColor() == colour) continue;
        button->SetBkColor(colour);
        ++changed;
    }
    return changed;
}

}  // namespace zevik
