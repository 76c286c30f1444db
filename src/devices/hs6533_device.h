#pragma once
// COrbantixHS6533Device: the headset (kind 7) and its settings page. It is two devices in one: a
// vendor HID device whose LEDs are lit frame by frame from the PC with LED output reports, and a USB
// sound card whose microphone and monitoring levels the audio binding reaches through the
// configuration library (the card on the same USB device as the headset's HID interface, looked up
// again at every connect).
//
// Threads: page operations, Connect, PollStatus and the audio operations run on the UI thread. The
// lighting thread runs the steps and hands every frame to the LED output, whose worker sends it; so
// the headset's LEDs go on while the window rests in the tray, and nothing of them runs on the UI
// thread.
//
// The source is split by concern: hs6533_device.cpp (connect, profile, status, defaults),
// hs6533_device_page.cpp (page binding and refresh), hs6533_device_lighting.cpp (lighting and frame).

#include <memory>
#include <string>
#include <vector>

#include "audio/audio_conf_library.h"
#include "devices/headset_audio_binding.h"
#include "devices/headset_led_output.h"
#include "devices/orbantix_usb_device.h"
#include "devices/strip_block_port.h"
#include "devices/strip_light_engine.h"
#include "settings/hs6533_profiledata.h"
#include "settings/light_names_file.h"

namespace zevik {

class ILightControl;
class ISoundPage;
class IVoiceChangerPage;

class COrbantixHS6533Device : public COrbantixUSBDevice {
public:
    static constexpr std::string_view kClassName = "OrbantixHS6533Device";
    static constexpr std::size_t kStatusLength = 6;
    static constexpr std::size_t kStatusConnection = 3;
    static constexpr std::size_t kStatusReport = 4;
    static constexpr int kLightLevelMax = 4;  // brightness and speed levels 0-4
    static constexpr int kProfileCatalogueIndex = 3;
    static constexpr int kLightingPage = 2;  // "deng_Op_tab"'s function page  // the headset's index in the light files' arrays

    explicit COrbantixHS6533Device(const DeviceContext& context);
    // A library of its own (tests): the device uses it in place of the sound card's.
    COrbantixHS6533Device(const DeviceContext& context, std::unique_ptr<IAudioConfLibrary> library);
    ~COrbantixHS6533Device() override;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // ---- device contract ----
    // The base's binding, then the page items; then the audio side starts.
    void BindPage() override;
    void BindPageEx() override;
    // ApplyProfile, the audio state read again (the card found again), RefreshPage, the lighting
    // thread and the LED output. 1 when the channel is open, 0 otherwise (nothing else done).
    int Connect() override;
    // 0x1A reads the 6 status bytes (byte 3: 0, by cable) to the status sink; 0xD01 with byte 4.
    int PollStatus() override;
    int ApplyProfile() override;
    int RefreshPage() override;
    // The factory profile in place of the current one, applied, saved and shown. 1 done.
    int RestoreDefaults() override;
    int LoadProfileFiles() override;
    std::string GetProfileName() override;
    int SaveDeviceProfile() override;
    int SwitchProfile() override;
    void SetLighting(const LightInfoRecord& record) override;

    // ---- lighting (hs6533_device_lighting.cpp) ----
    // The lighting record into the lighting state, the engine and the block's mirror; the per-LED
    // effects and the sequence from the profile.
    void ApplyLightSettings() override;
    // Reads the lighting settings block (the mirror) and tells the main window the slot read
    // (UM_DEVICE_SLOT_CHANGED). The slot; else the failed read's result (the mirror kept).
    int Resync() override;
    // The mirror with the lighting state, at blockSlot x 64 between 0x01 and 0x02; a mirror missing
    // on this connection is read first (nothing sent after a failed read). 1 done; else the first
    // failure.
    int WriteSettingsBlock(int blockSlot, int profileSlotValue) override;
    int LoadLightLists() override;
    // The mode list's code of the record's item (the item itself beyond the list).
    int CurrentModeCode() const;
    const std::vector<int>& ModeList() const { return modes_.codes; }
    const std::vector<bool>& ModeVisible() const { return modes_.visible; }
    const std::vector<std::string>& ModeNames() const { return modes_.names; }
    StripLightEngine& Engine() { return engine_; }
    const CStripBlockPort& BlockPort() const { return blockPort_; }
    int LightStepPeriod() const override;
    void RunLightStep() override;
    // The LEDs need the frames while nobody sees the page.
    bool IsLightingUnseen() const override { return false; }
    CHeadsetLedOutput& LedOutput() { return *ledOutput_; }

    // ---- state ----
    // Connect ran on the open channel (the page shows the headset's state).
    bool IsConnected() const { return connected_; }
    CHs6533Profiledata& Profile() { return profile_; }
    void EnsureProfileLoaded();
    CHeadsetAudioBinding& Audio() { return audio_; }
    // The sound card's name as the library found it at the last connect; empty when none.
    std::string SoundCardName() const;
    const std::vector<std::uint8_t>& LastStatus() const { return lastStatus_; }

    ILightControl* LightControlOfPage() const { return lightControl_; }
    ISoundPage* SoundPage() const { return soundPage_; }
    IVoiceChangerPage* VoiceChangerPage() const { return voiceChangerPage_; }

private:
    CControlUI* Find(std::string_view name) const;
    void ShowAvailability();
    void StopLedOutput();

    CHs6533Profiledata profile_;
    bool profileLoaded_ = false;
    std::unique_ptr<IAudioConfLibrary> library_;
    CAudioConfLibrary* cardLibrary_ = nullptr;  // library_ when it is the sound card's
    CHeadsetAudioBinding audio_;
    std::vector<std::uint8_t> lastStatus_;
    bool connected_ = false;

    ILightControl* lightControl_ = nullptr;           // "LightControlItem"
    ISoundPage* soundPage_ = nullptr;                 // "Voice6533ControlItem"
    IVoiceChangerPage* voiceChangerPage_ = nullptr;  // "MagicControlItem"

    StripLightEngine engine_{headset_led::kLedCount};  // at least the headset's LEDs
    CStripBlockPort blockPort_;
    LightModeLists modes_;  // the mode list: codes, names, shown or not
    std::unique_ptr<CHeadsetLedOutput> ledOutput_;
};

}  // namespace zevik
