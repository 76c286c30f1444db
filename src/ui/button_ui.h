#pragma once
// CButtonUI: a label that the user clicks: Activate() raises "click". State images are attribute
// strings for the renderer.

#include "ui/label_ui.h"

namespace zevik {

class CButtonUI : public CLabelUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Raises "click" when visible and enabled.
    bool Activate() override;
    void DoEvent(TEventUI& event) override;

    const std::string& GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(std::string_view image);
    const std::string& GetHotImage() const { return m_sHotImage; }
    void SetHotImage(std::string_view image);
    const std::string& GetPushedImage() const { return m_sPushedImage; }
    void SetPushedImage(std::string_view image);
    const std::string& GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(std::string_view image);

    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    std::string m_sNormalImage;
    std::string m_sHotImage;
    std::string m_sPushedImage;
    std::string m_sDisabledImage;
    bool m_bPressed = false;
};

}  // namespace zevik
