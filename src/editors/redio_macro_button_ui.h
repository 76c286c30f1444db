#pragma once
// CRedioMacroButtonUI: a record button of the macro page ("macro_btn_starredio",
// "macro_btn_stopredio"). Besides a button's attributes it takes "redioimage", the image that blinks
// while the page records: with the blinking flag set, a 50 ms timer (id 100) moves a fade value by 20
// between 80 and 255, turning at either end, and shows the image at that fade as the fore image.
// When the blinking ends the skin's own fore image comes back. Each step changes this button's look
// only, so a renderer repaints the button and nothing around it.

#include <string>
#include <string_view>

#include "ui/button_ui.h"

namespace zevik {

class CRedioMacroButtonUI : public CButtonUI {
public:
    static constexpr std::string_view kSkinTag = "RedioMacroButton";
    static constexpr UINT_PTR kBlinkTimer = 100;
    static constexpr UINT kBlinkMs = 50;
    static constexpr int kFadeLow = 80;
    static constexpr int kFadeHigh = 255;
    static constexpr int kFadeStep = 20;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;

    const std::string& GetRedioImage() const { return m_redioImage; }
    void SetRedioImage(std::string_view image);
    // Starts or ends the blinking; the image shows at full strength from the start.
    void SetBlinking(bool blinking);
    bool IsBlinking() const { return m_blinking; }
    int Fade() const { return m_fade; }

private:
    void Step();
    void ShowFade();

    std::string m_redioImage;
    std::string m_restingForeImage;  // the fore image to show again when the blinking ends
    bool m_blinking = false;
    int m_fade = kFadeHigh;
    int m_direction = -1;
};

}  // namespace zevik
