#pragma once
// CColorPaletteUI: a colour chooser. SetSelectColor from code is silent; UserSelectColor (a pick in
// the palette) stores the colour and raises "colorchanged" (wParam the colour) when it changed.

#include "ui/control_ui.h"

namespace zevik {

class CColorPaletteUI : public CControlUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    UiColor GetSelectColor() const { return m_selectColor; }
    void SetSelectColor(UiColor color);
    void UserSelectColor(UiColor color);

    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    UiColor m_selectColor = 0xFFFF0000;
};

}  // namespace zevik
