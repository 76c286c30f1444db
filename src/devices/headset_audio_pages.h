#pragma once
// ISoundPage: what the headset's audio operations ask of its sound page ("Voice6533ControlItem"):
// the equaliser's preset options and ten band sliders, the custom equaliser box and name field, and
// the microphone and monitoring options and sliders. The control lives with the editors; the device
// finds it on its page by the interface name. Nothing here raises a notification.

#include <string>
#include <vector>

namespace zevik {

class ISoundPage {
public:
    static constexpr const char* kInterfaceName = "Voice6533Control";
    static constexpr int kBandCount = 10;
    static constexpr int kPresetCount = 13;

    virtual ~ISoundPage() = default;

    // Selects preset option 1-13; another value clears them all.
    virtual void SelectPreset(int preset) = 0;
    // Band slider 0-9.
    virtual void SetBand(int band, int value) = 0;
    virtual int GetBand(int band) const = 0;

    virtual void ShowMicrophone(bool on, int level) = 0;
    virtual void ShowMonitor(bool on, int level) = 0;

    // The custom equaliser area, enabled or disabled as a whole.
    virtual void EnableCustomArea(bool enabled) = 0;
    // The custom equaliser box: its names in order, the selection (-1: none), the name field.
    virtual void SetCustomNames(const std::vector<std::string>& names) = 0;
    // Selects entry index (-1: none) and empties the name field.
    virtual void SelectCustom(int index) = 0;
    virtual int SelectedCustom() const = 0;
    virtual std::string CustomNameText() const = 0;
};

// IVoiceChangerPage: the voice-changer page ("MagicControlItem").
class IVoiceChangerPage {
public:
    static constexpr const char* kInterfaceName = "MagicControl";
    static constexpr int kTypeCount = 4;

    virtual ~IVoiceChangerPage() = default;
    // The on/off option; the type options are enabled with it.
    virtual void ShowVoiceChanger(bool on) = 0;
    // Selects type option 1-4; another value clears them all.
    virtual void SelectVoiceType(int type) = 0;
};

}  // namespace zevik
