#pragma once
// ILightControl: what a device page asks of its lighting control ("LightControlItem"). The control
// itself lives with the editors; a device finds it on its page by the interface name and fills it
// without knowing its class.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/audio_light_info_record.h"
#include "settings/light_info_record.h"

namespace zevik {

class ILightControl {
public:
    static constexpr const char* kInterfaceName = "LightControl";

    virtual ~ILightControl() = default;
    // Page kind of the device (keyboard 1, mouse 2, mousepad 3, headset 7): chooses the mode table.
    virtual void SetPageKind(int pageKind) = 0;
    // One list item per name (hidden where visible is false, still taking its index); the sliders'
    // maxima.
    virtual void FillModeList(const std::vector<std::string>& names, const std::vector<bool>& visible,
                              int brightnessMax, int speedMax) = 0;
    // Puts the record into the controls and applies the mode table for its "SelectItem".
    virtual void ShowLightInfo(const LightInfoRecord& record) = 0;
    // The colour options take the presets of the colour choices file: the user copy, else the default
    // copy, else they keep the skin's colours. The file is only read.
    virtual void LoadColourOptions(const std::filesystem::path& userFile,
                                   const std::filesystem::path& defaultFile) = 0;

    // The audio lighting record: stored in the control and shown in its audio controls (style,
    // the colour being edited, the multicolour check), without notifications.
    virtual void ShowAudioLightInfo(const AudioLightInfoRecord& record) = 0;
    // The stored record with the page's choices read back (style, multicolour, which colour is
    // edited); with takeColourButton the colour button's colour also replaces the edited colour.
    // Nothing when a control is missing (the trace names the failure).
    virtual std::optional<AudioLightInfoRecord> ReadAudioLightInfo(bool takeColourButton) = 0;
};

}  // namespace zevik
