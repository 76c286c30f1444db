#include "ui/color_palette_ui.h"

#include "ui/attribute_parser.h"
#include "ui/notify_ui.h"

namespace zevik {

std::string_view CColorPaletteUI::GetClass() const { return "ColorPaletteUI"; }

void* CColorPaletteUI::GetInterface(std::string_view name) {
    if (name == "ColorPalette") return this;
    return CControlUI::GetInterface(name);
}

void CColorPaletteUI::SetSelectColor(UiColor color) {
    if (color == m_selectColor) return;
    m_selectColor = color;
    NotifyChange(UiChange::State);
}

void CColorPaletteUI::UserSelectColor(UiColor color) {
    if (!IsEnabled() || color == m_selectColor) return;
    SetSelectColor(color);
    SendNotify(DUI_MSGTYPE_COLORCHANGED, static_cast<WPARAM>(color));
}

void CColorPaletteUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "selectcolor") {
        if (auto c = ParseColor(value)) SetSelectColor(*c);
    }
    CControlUI::SetAttribute(name, value);
}

}  // namespace zevik
