#pragma once
// CVoice6533ControlUI: the headset's sound page ("Voice6533ControlItem"): equaliser preset options
// "6533_eq_option_" 1-13, band sliders "6533_eq_hz_slider_" 0-9, the microphone's and the
// monitoring's option and slider, the custom equaliser area "custom_eq_option_layout" with its name
// box "custom_eq_name_combo" and name field "custom_eq_name_edit". It holds no settings of its own:
// the headset's audio binding shows its record here. Setters raise no notification.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "devices/headset_audio_pages.h"
#include "ui/horizontal_layout_ui.h"

namespace zevik {

class CComboUI;
class CEditUI;
class COptionUI;
class CSliderUI;

class CVoice6533ControlUI : public CHorizontalLayoutUI, public ISoundPage {
public:
    static constexpr std::string_view kClassName = "Voice6533ControlUI";
    static constexpr std::string_view kSkinTag = "Voice6533Control";
    static constexpr int kNameItemHeight = 30;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // ---- ISoundPage ----
    void SelectPreset(int preset) override;
    void SetBand(int band, int value) override;
    int GetBand(int band) const override;
    void ShowMicrophone(bool on, int level) override;
    void ShowMonitor(bool on, int level) override;
    void EnableCustomArea(bool enabled) override;
    void SetCustomNames(const std::vector<std::string>& names) override;
    void SelectCustom(int index) override;
    int SelectedCustom() const override;
    std::string CustomNameText() const override;

    // The preset last selected, 0 after a value outside 1-13.
    int GetPreset() const { return preset_; }
    bool IsCustomAreaEnabled() const;

    // The controls, for the command line's input and the tests; null when the skin lacks one.
    COptionUI* PresetOption(int preset);
    CSliderUI* BandSlider(int band);
    COptionUI* MicrophoneOption();
    CSliderUI* MicrophoneSlider();
    COptionUI* MonitorOption();
    CSliderUI* MonitorSlider();
    CComboUI* NameBox();
    CEditUI* NameField();

private:
    void Bind() const;

    mutable bool bound_ = false;
    mutable std::array<COptionUI*, kPresetCount + 1> presets_{};  // index 0 unused
    mutable std::array<CSliderUI*, kBandCount> bands_{};
    mutable COptionUI* micOption_ = nullptr;
    mutable CSliderUI* micSlider_ = nullptr;
    mutable COptionUI* monitorOption_ = nullptr;
    mutable CSliderUI* monitorSlider_ = nullptr;
    mutable CControlUI* customArea_ = nullptr;
    mutable CComboUI* nameBox_ = nullptr;
    mutable CEditUI* nameField_ = nullptr;
    int preset_ = 0;
};

}  // namespace zevik
