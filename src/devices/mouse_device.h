#pragma once
// COrbantixMouseDevice: the mouse (kind 2 by cable, 6 through its receiver) and its settings page.
//
// Everything the mouse stores lives in one 94-byte settings block (mouse_settings_block.h). The
// object keeps a mirror of the block as last read from the mouse on the current connection and
// writes the whole block back after every change of a performance setting, the lighting or the
// sensitivity stages. A write is only ever built over a mirror read on this connection: when the
// read at connect failed, the write reads the block first and sends nothing when that read fails
// too, so bytes the program does not understand are never replaced by zeros.
//
// Page changes (the On... operations, routed by the main window or HandlePageNotification) update
// the page, change and save the profile, then write the block; the page and profile keep the new
// value even when the mouse cannot be reached, and the next successful write carries it.
//
// Threads: page operations, Connect, Resync, PollStatus and the writes run on the UI thread. The
// two notification readers (cable and receiver) run beside it and only start a timer, change the
// reactive lighting state, or change the active slot and stage and post a page refresh. The
// lighting thread runs the mode table (LightStepPeriod, RunLightStep).

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "devices/key_set_control.h"
#include "devices/light_control.h"
#include "devices/light_sequence_player.h"
#include "devices/lighting_tables.h"
#include "devices/macro_control.h"
#include "devices/mouse_key_image.h"
#include "devices/mouse_lighting.h"
#include "devices/mouse_settings_block.h"
#include "devices/orbantix_usb_device.h"
#include "devices/receiver_event_reader.h"
#include "settings/light_effect_record.h"
#include "settings/light_names_file.h"
#include "settings/mouse_profiledata.h"

namespace zevik {

class CProfileLocations;

inline constexpr int kDeviceKindMouseReceiver = 6;

class COrbantixMouseDevice : public COrbantixUSBDevice {
public:
    static constexpr std::string_view kClassName = "OrbantixMouseDevice";
    static constexpr int kProfileCatalogueIndex = 1;  // the mouse's index in the light files' per-kind arrays
    static constexpr int kMouseLightLevelMax = 4;     // brightness and speed levels 0-4

    // Picks a colour, starting from initial; nothing when the user cancels. The shell provides the
    // modal colour dialog ("PalletDialog"); tests and the command line give their own.
    using ColourPicker = std::function<std::optional<lighting::Rgb>(lighting::Rgb initial)>;

    explicit COrbantixMouseDevice(const DeviceContext& context);
    ~COrbantixMouseDevice() override;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // ---- device contract ----
    void BindPageEx() override;
    void ApplyLightSettings() override;
    // Reads the device state (old-firmware notice, device information, key table and key map,
    // slider ranges), then ApplyProfile, ReadActiveSettings, RefreshPage and the lighting thread.
    // 1 when the device state was read, else the first failed command's result (0 when closed).
    int Connect() override;
    int Resync() override;
    int PollStatus() override;
    bool IsReceiverLinked() override;
    int ApplyProfile() override;
    int RefreshPage() override;
    int CheckMacroKeys() override;
    int RestoreDefaults() override;
    std::vector<int> GetUsedMacros() override;
    // Results: 1 done; 0 channel closed, receiver not linked, or nothing to send; otherwise the
    // first failed command's result (EndConfig is still sent once BeginConfig was).
    int WriteKeyLayer1(int profileSlot, const std::vector<KeyAssignRecord>& keys) override;
    int WriteCurrentKeyLayer1(int profileSlot) override;
    // 0 done or nothing to send; a positive number when the image exceeds the macro memory (the
    // excess in 4-byte units plus one; nothing sent); a negative command result when a command
    // failed, -1 also when the mouse did not answer.
    int WriteMacros(const std::vector<int>& macroNumbers) override;
    // 1 written; 0 channel closed or receiver not linked (nothing sent); otherwise the first failed
    // command's result, or the failed read of a mirror that was missing.
    int WriteSettingsBlock(int blockSlot, int profileSlotValue) override;
    int LoadLightLists() override;
    int LoadProfileFiles() override;
    std::string GetProfileName() override;
    int SaveDeviceProfile() override;
    int SwitchProfile() override;
    void SetProfileDeviceIndex(int index) override;
    void SetLighting(const LightInfoRecord& record) override;
    void SelectKey(int index) override;
    void SelectFunctionPage(int page) override;
    void StepClass1() override;
    void StepClass2() override;
    void StepClass3() override;
    int LightStepPeriod() const override;
    void RunLightStep() override;
    // The mouse runs its lighting itself; the frame is only the page's preview, unseen while the
    // window is hidden in the tray (polling on hold), minimised or covered.
    bool IsLightingUnseen() const override { return IsPollingHold() || IsWindowUnseen(); }
    void SendLightFrame() override;

    // ---- the mouse's own operations ----
    // Reads the active slot and its block into the mirror and takes the device's values into the
    // profile (saved). 1 done; 0 closed or not linked; else the failed read's result.
    int ReadActiveSettings();
    // Sends the four recoil patterns of the kind folder. 1 done; 0 closed, not linked or an image
    // that cannot be built; else the first failed command's result.
    int WriteRecoilData();

    // Notification interfaces: kind 2 on the cable side, kind 6 on the receiver side of the
    // notification channel, each with its own reader.
    bool OpenNotificationOfKind(int kind, const std::string& path);
    void CloseNotificationOfKind(int kind);
    bool IsNotificationOfKindOpen(int kind) const;

    // ---- page changes (Algorithms of the page; each saves the profile and writes the block) ----
    void OnPollingRate(int option);
    void OnLiftOff(int option);
    void OnDeepSleep(int option);
    void OnLinearCalibration(int option);
    void OnMotionSync(int option);
    void OnSensorOption(int option);
    void OnKeyDelay(int item);
    void OnAntiShake(int item);
    void OnDormancy(int item);
    void OnStageEnabled(int stage, bool enabled);
    // Opens the colour picker with the stage's colour; OK stores the chosen colour.
    void OnStageColour(int stage);
    // The slider was released (or set) at value; while it moves only the page follows.
    void OnStageSlider(int stage, int value);
    void OnStageSliderMove(int stage, int value);
    // The edit box lost the focus: its text, clamped, becomes the stage's value.
    void OnStageEditDone(int stage);
    // A click on the edit box: marks the stage's select check and stores all six sliders.
    void OnStageEditClicked(int stage);
    // Windows pointer settings: stored in the profile only, nothing is sent.
    void OnPointerSpeed(int value);
    void OnPointerPrecision(bool on);
    void OnScrollPage(bool on);
    void OnScrollSpeed(int value);
    void OnDoubleClickTime(int value);

    // Routes a notification of this page's controls to the operations above; false when the
    // control is not one of them.
    bool HandlePageNotification(const TNotifyUI& msg);

    // ---- page setters ----
    // Selects option n of the group named prefix + 0..count-1, clearing the others; a value out of
    // range selects option 0.
    void ShowOptionGroup(std::string_view prefix, int count, int value);
    void ShowStage(int stage, const DpiStageRecord& record, bool active);

    // ---- state ----
    void SetColourPicker(ColourPicker picker) { colourPicker_ = std::move(picker); }
    const ColourPicker& GetColourPicker() const { return colourPicker_; }
    CMouseProfiledata& Profile() { return profile_; }
    int GetActiveSlot() const { return activeSlot_.load(); }
    int GetActiveStage() const { return activeStage_.load(); }
    // The mirror and whether it was read from the mouse on this connection.
    const CMouseSettingsBlock& Mirror() const { return mirror_; }
    bool HasMirror() const { return mirrorValid_; }
    const MouseKeyMap& KeyMap() const { return keyMap_; }
    const std::vector<int>& ModeList() const { return modes_.codes; }
    const std::vector<std::string>& ModeNames() const { return modes_.names; }
    const std::vector<bool>& ModeVisible() const { return modes_.visible; }
    // Zone names and the user's lighting sequences, by name, from the light files.
    const std::vector<std::string>& AreaNames() const { return areaNames_; }
    const std::vector<std::string>& SequenceNames() const { return sequenceNames_; }
    // The page's lighting control; null when the page has none.
    ILightControl* LightControlOfPage() const { return lightControl_; }
    // The page's key assignment control; null when the page has none.
    IKeySetControl* KeySetControlOfPage() const { return keySetControl_; }
    IMacroControl* MacroControlOfPage() const { return macroControl_; }

    // ---- the key page ----
    // The assignment the key page built for a key: into the key list and the profile document (not
    // saved, nothing sent); the key's button shows it.
    void StoreKeyAssignment(const KeyAssignRecord& record) override;
    // Writes the key list and the macros it uses, then saves the profile. 0 done; -1 the mouse did
    // not take it (closed, not linked, no answer); a positive number: the macros exceed the mouse's
    // macro memory by that many 4-byte units (nothing sent); another negative number: the failed
    // command's result.
    int WriteKeysAndMacros() override;
    // Gives the key page the macro list and every key button its function's label.
    void ShowKeyAssignments() override;
    // True when key index is the only key with the left button: it may not be reassigned.
    bool IsLastLeftButton(int index) override;

    // The last status record read by PollStatus (empty before the first).
    const std::vector<std::uint8_t>& LastStatus() const { return lastStatus_; }
    std::filesystem::path KindFolder() const;

protected:
    void OnNotificationUsage(std::uint16_t usage) override;

private:
    bool ChannelReady();  // open, and linked when through the receiver
    size_t MacroCapacity() const;  // bytes of macro memory, from the device information
    void LabelKeyButtons();        // every key button shows its function (label and tooltip)
    void RefreshDeviceInfo();      // the device information read again; kept as it was on failure
    // One macro image between BeginConfig and EndConfig; results as WriteMacros.
    int SendMacroImage(const std::vector<std::uint8_t>& image);
    MouseBlockSettings CollectSettings();
    void StoreSettings(const MouseBlockSettings& settings);
    int ReadMirror();    // the block only, into the mirror; no profile change
    void AfterChange();  // save the profile, write the block
    void SetStage(int stage, const std::function<void(DpiStageRecord&)>& change);
    void ChangeSystem(const std::function<void(MouseSystemRecord&)>& change, bool send);
    void HandleNotification(std::uint16_t usage);
    void PostRefresh();
    void ShowStages();
    void RunSequenceStep();
    // The mode code of the current lighting (its mode-list position through the list).
    int CurrentMode() const;
    void EnsureProfileLoaded();

    // A control of this page by name (names compared without case); null when absent.
    CControlUI* Find(std::string_view name) const;
    template <class T>
    T* FindAs(std::string_view name) const {
        return dynamic_cast<T*>(Find(name));
    }

    CMouseProfiledata profile_;
    bool profileLoaded_ = false;
    CMouseSettingsBlock mirror_;
    bool mirrorValid_ = false;
    std::atomic<int> activeSlot_{0};
    std::atomic<int> activeStage_{0};
    std::vector<std::uint8_t> keyTable_;  // N x 3 bytes as the mouse reports them
    MouseKeyMap keyMap_{};
    LightModeLists modes_;  // the mode list: codes, names, shown or not
    std::vector<std::string> areaNames_;
    std::vector<std::string> sequenceNames_;
    ILightControl* lightControl_ = nullptr;  // "LightControlItem"
    IKeySetControl* keySetControl_ = nullptr;  // "KeySetControlItem"
    IMacroControl* macroControl_ = nullptr;    // "MacroControlItem"
    std::vector<std::uint8_t> lastStatus_;

    // Lighting state of the mouse's own steps and the mode list they read (under the base's lighting
    // lock; the UI thread, the only writer, reads the mode list without it).
    MouseLedState leds_;
    std::minstd_rand random_{0x5EED};
    LightSequencePlayer sequence_;

    CControlUI* settingsLayout_ = nullptr;  // "mouse_device_seting_layout"
    ColourPicker colourPicker_;

    // Last, so it stops before anything its handler uses goes.
    CReceiverEventReader receiverEvents_{[this](std::uint16_t usage) { HandleNotification(usage); }};
};

}  // namespace zevik
