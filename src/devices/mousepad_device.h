#pragma once
// COrbantixMousePadDevice: the mousepad (kind 3) and its settings page. Its only settings are the
// lighting of its LED strip; its charging pad reports the phone laid on it.
//
// The pad runs its lighting itself: the program computes the same effect (StripLightEngine) only to
// animate the strip's LED buttons on the page, and never streams frames to the pad. Changes of the
// lighting are written in the pad's settings block (CStripBlockPort), which is only ever built over
// a block read from the pad on this connection.
//
// Threads: page operations, Connect, Resync, PollStatus and the writes run on the UI thread. The
// lighting thread runs the engine (LightStepPeriod, RunLightStep); the base's notification reader
// turns the pad's request 0x401 into one Resync 500 ms later.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devices/orbantix_usb_device.h"
#include "devices/strip_block_port.h"
#include "devices/strip_light_engine.h"
#include "settings/basic_profiledata.h"
#include "settings/light_names_file.h"

namespace zevik {

class ILightControl;

class COrbantixMousePadDevice : public COrbantixUSBDevice {
public:
    static constexpr std::string_view kClassName = "OrbantixMousePadDevice";
    static constexpr int kProfileCatalogueIndex = 2;  // the pad's index in the light files' arrays
    static constexpr int kLightLevelMax = 4;          // brightness and speed levels 0-4
    static constexpr std::size_t kStatusLength = 6;
    static constexpr std::size_t kStatusPhone = 5;
    static constexpr int kPhoneUnknown = -1;

    explicit COrbantixMousePadDevice(const DeviceContext& context);
    ~COrbantixMousePadDevice() override;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // ---- device contract ----
    void BindPageEx() override;
    // When open: 0x01, 0x03 into the device information, 0x02; then ApplyProfile, RefreshPage, the
    // lighting thread and a first status read. The block is read by the first write. Result: the
    // first failed command's, 1 when all were done, 0 when closed.
    int Connect() override;
    // Reads the block and tells the page window (0xD00) the slot read. 1 done, else the read's result.
    int Resync() override;
    // 0x1A reads the 6 status bytes for the power panel (byte 5 the phone); every 3 s while open,
    // skipping the read while the window cannot be seen.
    int PollStatus() override;
    int ApplyProfile() override;
    // The profile's lighting into the lighting state, the engine and the block's mirror (mode,
    // brightness, speed, direction, multicolour, colour); the per-LED effects and the sequence.
    void ApplyLightSettings() override;
    int RefreshPage() override;
    int RestoreDefaults() override;
    // 1 written; 0 closed or no address (nothing sent); else the first failure (0x02 still sent
    // once 0x01 was), or the failed read of a block not read yet (then nothing is written).
    int WriteSettingsBlock(int blockSlot, int profileSlotValue) override;
    int LoadLightLists() override;
    int LoadProfileFiles() override;
    std::string GetProfileName() override;
    int SaveDeviceProfile() override;
    int SwitchProfile() override;
    void SetLighting(const LightInfoRecord& record) override;
    int LightStepPeriod() const override;
    void RunLightStep() override;
    // The frame only goes to the page: unseen while the window is hidden, minimised or covered.
    bool IsLightingUnseen() const override { return IsPollingHold() || IsWindowUnseen(); }
    // Preview only: the LED buttons show the engine's frame; nothing is sent to the pad.
    void SendLightFrame() override;

    // ---- the pad's own operations ----
    // Reads the active slot and its block into the mirror. 1 done (the slot is kept); 0 closed;
    // else the failed read's result, and the mirror stays as it was.
    int ReadSettingsBlock();
    // Reads the status bytes once (also while the window rests). 1 done, else the read's result.
    int ReadPadStatus();

    // ---- state ----
    // True once Connect ran on the open channel (false again at the next Connect until it is done).
    bool IsConnected() const { return connected_.load(); }
    CBasicProfiledata& Profile() { return profile_; }
    void EnsureProfileLoaded();
    int GetActiveSlot() const { return activeSlot_.load(); }
    // The phone on the charger as last read (0 none, 1 iPhone, 2 Samsung, 3 other), or kPhoneUnknown.
    int GetPhone() const { return phone_.load(); }
    const std::vector<std::uint8_t>& LastStatus() const { return lastStatus_; }
    const CStripBlockPort& BlockPort() const { return port_; }
    const std::vector<int>& ModeList() const { return modes_.codes; }
    const std::vector<std::string>& ModeNames() const { return modes_.names; }
    const std::vector<bool>& ModeVisible() const { return modes_.visible; }
    // The mode code in force (the mode list's value at "SelectItem").
    int CurrentModeCode() const;
    StripLightEngine& Engine() { return engine_; }
    const StripLightEngine& Engine() const { return engine_; }
    ILightControl* LightControlOfPage() const { return lightControl_; }
    std::filesystem::path KindFolder() const;

private:
    // The lighting state into the engine (mode code through the list).
    void FeedEngine();

    CBasicProfiledata profile_;
    bool profileLoaded_ = false;
    CStripBlockPort port_;
    StripLightEngine engine_;
    LightModeLists modes_;  // the mode list: codes, names, shown or not
    std::vector<std::uint8_t> lastStatus_;
    std::atomic<int> activeSlot_{0};
    std::atomic<int> phone_{kPhoneUnknown};
    std::atomic<bool> connected_{false};
    ILightControl* lightControl_ = nullptr;  // "LightControlItem"
};

}  // namespace zevik
