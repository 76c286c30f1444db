#pragma once
// CMagicControlUI: the headset's voice-changer page ("MagicControlItem"): the on/off option
// "magic_enable_option", the area "magic_option_layout" enabled with it, and the voice type options
// "magic_option_" 1-4. Setters raise no notification.

#include <array>
#include <string_view>

#include "devices/headset_audio_pages.h"
#include "ui/horizontal_layout_ui.h"

namespace zevik {

class COptionUI;

class CMagicControlUI : public CHorizontalLayoutUI, public IVoiceChangerPage {
public:
    static constexpr std::string_view kClassName = "MagicControlUI";
    static constexpr std::string_view kSkinTag = "MagicControl";

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // ---- IVoiceChangerPage ----
    void ShowVoiceChanger(bool on) override;
    void SelectVoiceType(int type) override;

    // The type last selected, 0 after a value outside 1-4.
    int GetVoiceType() const { return type_; }
    bool IsVoiceChangerShownOn() const;

    COptionUI* EnableOption();
    COptionUI* TypeOption(int type);
    CControlUI* TypeArea();

private:
    void Bind();

    bool bound_ = false;
    COptionUI* enable_ = nullptr;
    CControlUI* typeArea_ = nullptr;
    std::array<COptionUI*, kTypeCount + 1> types_{};  // index 0 unused
    int type_ = 0;
};

}  // namespace zevik
