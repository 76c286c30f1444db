#pragma once
// CLightControlUI: the lighting page of a device ("LightControlItem" in the page layout). The user
// picks an effect from the mode list and, as far as the effect allows (the mode table of the page
// kind, light_mode_table.h), a brightness, a speed, a direction, one colour or the seven-colour cycle.
//
// The control holds no data of its own beyond the control values: the profile's "LightInfo" record
// is the store. The main window's lighting handlers read the values through the getters below and
// show what they changed through the setters; the device page fills the list and shows the record.
// The controls are found by name in the control's own subtree the first time they are needed.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/light_control.h"
#include "ui/horizontal_layout_ui.h"
#include "ui/ui_types.h"

namespace zevik {

class CButtonUI;
class CCheckBoxUI;
class CColorPaletteUI;
class CComboUI;
class CEditUI;
class COptionUI;
class CSliderUI;
class CTabLayoutUI;

class CLightControlUI : public CHorizontalLayoutUI, public ILightControl {
public:
    static constexpr std::string_view kClassName = "LightControlUI";
    // The tag by which page layouts create the control.
    static constexpr std::string_view kSkinTag = "LightControl";
    static constexpr int kItemHeight = 30;
    static constexpr int kColourOptionCount = 8;
    static constexpr UiColor kOpaque = 0xFF000000;

    enum class Channel { Red = 0, Green = 1, Blue = 2 };

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // ---- ILightControl ----
    void SetPageKind(int pageKind) override { pageKind_ = pageKind; }
    void FillModeList(const std::vector<std::string>& names, const std::vector<bool>& visible,
                      int brightnessMax, int speedMax) override;
    void ShowLightInfo(const LightInfoRecord& record) override;
    void LoadColourOptions(const std::filesystem::path& userFile,
                           const std::filesystem::path& defaultFile) override;
    // The audio part (light_control_audio.cpp).
    void ShowAudioLightInfo(const AudioLightInfoRecord& record) override;
    std::optional<AudioLightInfoRecord> ReadAudioLightInfo(bool takeColourButton) override;

    int GetPageKind() const { return pageKind_; }
    // Selects the item at index in the mode list without a notification (an index the list does not
    // have selects nothing) and applies the mode table.
    void SelectMode(int index);
    int GetMode() const { return mode_; }
    // The last offer of synchronised lighting: "deng_same_mode" shows while it is set and the current
    // mode offers it.
    void ShowSameModeOption(bool flag);
    bool IsSameModeOffered() const { return sameModeOffered_; }
    bool IsSameModeShown() const;

    // ---- getters ----
    int GetSelectedMode() const;  // -1: nothing selected
    int GetBrightness() const;
    int GetSpeed() const;
    int GetBrightnessMax() const;
    int GetSpeedMax() const;
    int GetDirection() const;  // 1: the first direction option, 0: the second
    bool GetMultiColour() const;
    UiColor GetPaletteColour() const;  // kOpaque without a palette
    // The background colour of "color_option_" n; 0 when there is no such option.
    UiColor GetOptionColour(int n) const;
    std::string GetEditText(Channel channel) const;
    UiColor GetColourButtonColour() const;
    int GetZzccMode() const;
    int GetCustomSlot() const;

    // ---- setters (no notification) ----
    void SetBrightness(int value);
    void SetSpeed(int value);
    void SetDirection(int value);
    void SetMultiColour(bool on);
    void SetEditText(Channel channel, std::string_view text);
    // The three edits show the components in decimal.
    void ShowColourEdits(UiColor colour);
    void SetColourButton(UiColor colour);
    void SetPaletteColour(UiColor colour);
    void SetZzccMode(int index);

    // The controls, for the input of the command line and the tests; null when the skin lacks one.
    CComboUI* ModeCombo();
    CSliderUI* BrightnessSlider();
    CSliderUI* SpeedSlider();
    COptionUI* DirectionOption(int value);  // 1: "deng_FXL_check", 0: "deng_FXR_check"
    COptionUI* MultiColourCheck();
    CColorPaletteUI* Palette();
    CEditUI* ColourEdit(Channel channel);
    CControlUI* ColourOption(int n);
    CControlUI* SameModeButton();

    // ---- audio part (light_control_audio.cpp) ----
    static constexpr int kAudioColourOptionCount = 8;
    // The record as last shown or read back.
    const AudioLightInfoRecord& StoredAudioLightInfo() const { return audioRecord_; }
    // The background colour of "audiocolor_option_" n; 0 when there is no such control.
    UiColor GetAudioOptionColour(int n);
    // The controls, for the input of the command line and the tests; null when the skin lacks one.
    CComboUI* AudioStyleCombo();
    COptionUI* AudioMultiColourCheck();                  // "deng_7audiocolor_check"
    COptionUI* AudioColourTypeCheck(bool foreground);    // "audio_FgColor_check" / "audio_BkColor_check"
    CColorPaletteUI* AudioPalette();                     // "deng_audioColor_Pallet"
    CEditUI* AudioColourEdit(Channel channel);           // "deng_audioedit_R", "_G", "_B"
    CControlUI* AudioColourButton();                     // "deng_audiocolordp_btn"
    CControlUI* AudioColourOption(int n);                // "audiocolor_option_" n
    CControlUI* AudioClearBackgroundButton();            // "Close_bkColor_btn"

    // A typed colour component: a decimal number, 255 above 255; an empty, negative or non-numeric
    // text gives 0.
    static int ComponentOfText(std::string_view text);

private:
    void Bind();
    void BindConst() const;
    CControlUI* FindHere(std::string_view name);
    void ApplyModeTable(int mode);
    void UpdateSameModeButton();

    int pageKind_ = 0;
    int mode_ = 0;
    bool sameModeOffered_ = false;
    bool modeOffersSameMode_ = false;
    bool bound_ = false;

    CComboUI* modeCombo_ = nullptr;            // "light_combo_modeSelect"
    CComboUI* customCombo_ = nullptr;          // "light_combo_custommodeSelect"
    CComboUI* zzccCombo_ = nullptr;            // "light_combo_ZZCCmodeSelect"
    CSliderUI* brightnessSlider_ = nullptr;    // "deng_light_slider"
    CSliderUI* speedSlider_ = nullptr;         // "deng_speed_slider"
    std::array<CEditUI*, 3> edits_{};          // "deng_edit_R", "deng_edit_G", "deng_edit_B"
    CColorPaletteUI* palette_ = nullptr;       // "deng_Color_Pallet"
    CControlUI* colourButton_ = nullptr;       // "deng_colordp_btn"
    COptionUI* multiColourCheck_ = nullptr;    // "deng_7color_check"
    COptionUI* firstDirection_ = nullptr;      // "deng_FXL_check"
    COptionUI* secondDirection_ = nullptr;     // "deng_FXR_check"
    CControlUI* sameModeButton_ = nullptr;     // "deng_same_mode"
    CControlUI* effectLayout_ = nullptr;       // "lighteffect_layout"
    CControlUI* colourLayout_ = nullptr;       // "deng_color_layout"
    CControlUI* paletteLayout_ = nullptr;      // "colorpallet_layout"
    CControlUI* brightnessLayout_ = nullptr;   // "deng_light_layout"
    CControlUI* speedLayout_ = nullptr;        // "deng_speed_layout"
    CControlUI* directionLayout_ = nullptr;    // "deng_fx_layout"
    CControlUI* customLayout_ = nullptr;       // "lightcustom_layout"
    CControlUI* zzccLayout_ = nullptr;         // "light_combo_ZZCCmodeSelectLayout"
    CControlUI* lightColourLayout_ = nullptr;  // "light_color_layout"
    CControlUI* audioLayout_ = nullptr;        // "light_combo_AudiomodeSelectLayout"
    CTabLayoutUI* colourTabs_ = nullptr;       // "light_color_tablayout"
    std::array<CControlUI*, kColourOptionCount> colourOptions_{};  // "color_option_" n

    // The audio part: its controls, found by name each time the record is shown or read (as the page
    // has them then), and the record.
    struct AudioControls {
        CComboUI* style = nullptr;                // "light_combo_audiomodeSelect"
        COptionUI* multiColour = nullptr;         // "deng_7audiocolor_check"
        std::array<CEditUI*, 3> edits{};          // "deng_audioedit_R", "_G", "_B"
        COptionUI* background = nullptr;          // "audio_BkColor_check"
        COptionUI* foreground = nullptr;          // "audio_FgColor_check"
        CColorPaletteUI* palette = nullptr;       // "deng_audioColor_Pallet"
        CControlUI* colourLayout = nullptr;       // "light_audiocolor_layout"
        CControlUI* paletteLayout = nullptr;      // "audiocolorpallet_layout"
        CControlUI* colourButton = nullptr;       // "deng_audiocolordp_btn"
        bool Complete() const;
    };
    AudioControls FindAudioControls();
    AudioLightInfoRecord audioRecord_;
};

}  // namespace zevik
