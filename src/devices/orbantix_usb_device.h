#pragma once
// COrbantixUSBDevice: the base of every device object. A device object is at once the peripheral and
// its settings page: it is the horizontal layout at the root of the page built from the device's page
// layout, created by the window's control factory from the root element's class name
// ("OrbantixUSBDevice", "OrbantixMouseDevice", ...), with the DeviceContext the main window hands to
// its builder callback.
//
// It holds what every device has: its identity row, the command channel and the notification channel,
// the device information, the software lighting state with its light frame and the common lighting
// steps, the page's key and light buttons, the links to its power panel and device option, the
// notification interface with its reader thread, and the lighting thread. The device classes override
// part of the virtual operations below; "empty" bodies do nothing and return 0.
//
// Threads: everything runs on the UI thread except the lighting thread (the step operations and
// LightStepPeriod/RunLightStep are called from it) and the notification thread (OnNotificationUsage).
// The lighting record is read and written under the lighting lock; the light frame is read and written
// entry by entry without one (see CLightFrame).

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "devices/device_context.h"
#include "devices/device_interface_entry.h"
#include "devices/lighting_frame.h"
#include "devices/lighting_levels.h"
#include "devices/lighting_steps.h"
#include "settings/audio_light_info_record.h"
#include "settings/key_assign_record.h"
#include "settings/light_info_record.h"
#include "transport/command_channel.h"
#include "transport/command_set.h"
#include "ui/horizontal_layout_ui.h"
#include "ui/notify_pump.h"
#include "ui/notify_ui.h"

namespace zevik {

class CDeviceOptionUI;
class CLightingThread;
class CMpDevicePowerUI;
class IDeviceStatusSink;
class CNotificationReader;
class CTabLayoutUI;

// Device kind of the object (fixed by each class's constructor).
inline constexpr int kDeviceKindBase = 0;
inline constexpr int kDeviceKindKeyboard = 1;
inline constexpr int kDeviceKindMouse = 2;
inline constexpr int kDeviceKindMousepad = 3;
inline constexpr int kDeviceKindHeadset = 7;

class ILightControl;

class COrbantixUSBDevice : public CHorizontalLayoutUI, public CNotifyPump, public INotifyUI {
public:
    static constexpr std::string_view kClassName = "OrbantixUSBDevice";
    static constexpr int kNoSelection = -1;

    explicit COrbantixUSBDevice(const DeviceContext& context);
    // Stops the lighting and notification threads and closes both channels.
    ~COrbantixUSBDevice() override;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
    // The page's own notifications go through the pump (CNotifyPump).
    void Notify(TNotifyUI& msg) override;

    // ======== virtual operations, in the order of the device contract ========

    // Finds "SelectPanel" on the page and in it "key_" n and "light_" n; sizes the key and light
    // button lists and the light frame from the counts (all empty when the page name is empty).
    // Buttons that are missing stay null in their list. Then BindPageEx.
    virtual void BindPage();
    virtual void ApplyLightSettings() {}

    // The common lighting steps over the device's frame and lighting record (see lighting_steps.h).
    virtual void StepBreathe();
    virtual void StepBreatheFourColours();
    virtual void StepSteady();
    virtual void StepSpectrum();
    virtual void StepBlink();
    virtual void StepBlinkFourColours();
    virtual void StepOff();
    // Shows the frame on the page's light buttons (background colour 0xAARRGGBB with the entry's
    // intensity as alpha) when an entry changed since the frame was last shown; nothing when the
    // software light control flag is clear (setting it shows the frame again).
    virtual void SendLightFrame();
    // An index outside the frame is ignored; GetLightEntry returns 0 there.
    virtual void SetLightEntry(int index, std::uint32_t value);
    virtual std::uint32_t GetLightEntry(int index) const;

    virtual int Connect() { return 0; }
    virtual int Resync() { return 0; }
    // The two spare operations after Resync (timers 1003 and 1004).
    virtual int Reserved1() { return 0; }
    virtual int Reserved2() { return 0; }
    virtual int PollStatus() { return 0; }
    virtual bool IsReceiverLinked() { return false; }
    virtual int ApplyProfile() { return 0; }
    virtual int Reserved3() { return 0; }
    virtual int RefreshPage() { return 0; }
    virtual int Reserved4() { return 0; }
    virtual int Reserved5() { return 0; }
    virtual int CheckMacroKeys() { return 0; }
    virtual int RestoreDefaults() { return 0; }
    // Macro numbers used by key assignments.
    virtual std::vector<int> GetUsedMacros() { return {}; }
    virtual int WriteKeyLayer1(int /*profileSlot*/, const std::vector<KeyAssignRecord>& /*keys*/) {
        return 0;
    }
    virtual int WriteCurrentKeyLayer1(int /*profileSlot*/) { return 0; }
    virtual int WriteCurrentKeyLayer2(int /*profileSlot*/) { return 0; }
    virtual int WriteKeyLayer2(int /*profileSlot*/, const std::vector<KeyAssignRecord>& /*keys*/) {
        return 0;
    }
    virtual int WriteMacros(const std::vector<int>& /*macroNumbers*/) { return 0; }
    // The key page (devices with one). StoreKeyAssignment takes an edited key into the key list and
    // the profile document; WriteKeysAndMacros writes the list and its macros and saves the profile
    // (0 done, -1 not taken, a positive macro excess, another negative command result);
    // IsLastLeftButton guards the one left button a mouse must keep.
    virtual void StoreKeyAssignment(const KeyAssignRecord& /*record*/) {}
    virtual int WriteKeysAndMacros() { return -1; }
    virtual bool IsLastLeftButton(int /*index*/) { return false; }
    virtual void ShowKeyAssignments() {}
    virtual int WriteSettingsBlock(int /*blockSlot*/, int /*profileSlotValue*/) { return 0; }
    virtual int LoadLightLists() { return 0; }
    virtual void SetKeyMap(const std::map<int, int>& map);

    // Lighting building blocks over the per-key levels and the key mask (see CLightLevels).
    virtual void DecayLevel(int index, int mode);
    virtual void MarkRowKeys();
    virtual void RotateMask(int direction);
    virtual void ClearLevels();

    // Stores the page and shows the child of that index in "device_function_switch" and
    // "device_key_function_switch" (an index they do not have leaves them as they are).
    virtual void SelectFunctionPage(int page);
    virtual int GetFunctionPage() const { return m_functionPage; }
    virtual int LoadProfileFiles() { return 0; }
    virtual std::string GetProfileName() { return {}; }
    virtual int SaveDeviceProfile() { return 0; }
    // The profile bar selected another profile: load it and send every setting to the device. 0 done,
    // -1 no answer, another value the device's error.
    virtual int SwitchProfile() { return 0; }
    virtual void SetProfileDeviceIndex(int index) { m_profileDeviceIndex = index; }
    virtual int GetProfileDeviceIndex() const { return m_profileDeviceIndex; }
    // Stores the lighting record and wakes the lighting thread.
    virtual void SetLighting(const LightInfoRecord& record);
    // Stores the audio lighting record and shows it on the page's lighting control.
    virtual void SetAudioLighting(const AudioLightInfoRecord& record);
    // The record read back from the page's lighting control (index 1: with the colour button's
    // colour), stored; the stored record when the page has no lighting control; nothing when the
    // control lacks one of its audio controls.
    virtual std::optional<AudioLightInfoRecord> GetAudioLighting(int index);
    virtual void SelectKey(int index) { m_selectedKey = index; }
    virtual void SelectKey2(int index) { m_selectedKey2 = index; }
    // A click on key index of the page's picture: layer 1, unless the device's page chooses a layer.
    virtual void SelectKeyOnPage(int index) { SelectKey(index); }
    virtual void AudioLevels(std::span<const std::int32_t> /*levels*/) {}
    virtual void AudioBands(std::span<const std::int32_t> /*bands*/) {}
    virtual void BindPageEx() {}
    virtual LightInfoRecord GetLighting() const;
    virtual void StepClass1() {}
    virtual void StepClass2() {}
    virtual void StepClass3() {}

    // The lighting thread's mode table: the period in ticks of the current mode at the current speed,
    // and one step of it. The base uses the keyboard's period table and the common steps by their
    // order (0 breathe, 1 breathe four colours, 2 steady, 3 spectrum, 4 blink, 5 blink four colours,
    // anything else off); each class replaces both with its own table.
    virtual int LightStepPeriod() const;
    virtual void RunLightStep();
    // True while no one can see what the lighting steps compute: a class whose frame only goes to its
    // page says so while the window is hidden. The lighting thread then sleeps until the state changes
    // (SetPollingHold wakes it). The base's frame may go to the device: false.
    virtual bool IsLightingUnseen() const { return false; }
    // True while the lighting thread may sleep: by default while the steps are unseen. A class whose
    // steps also feed the device while unseen (a keyboard's streamed modes) says false then.
    virtual bool LightStepsRest() const { return IsLightingUnseen(); }
    // True while every turn of the frame timer sends the frame to the device itself (a keyboard's
    // streamed modes): while the frame can be seen, the timer then never rests for a still frame.
    virtual bool StreamsLightFrames() const { return false; }

    // ======== non-virtual operations ========

    // Notification interface: opens the notification channel's cable interface on path (under its
    // exchange lock) and starts the reader; false when the open failed. Nothing when already open.
    bool OpenNotification(const std::string& path);
    // Stops the reader (stop event, cancel by close, join) and closes the interface.
    void CloseNotification();
    bool IsNotificationOpen() const { return m_notificationChannel.IsOpen(); }

    // Lighting thread: started by the classes' Connect; idle while the channel is closed.
    bool StartLightingThread();
    void StopLightingThread();
    bool IsLightingThreadRunning() const;
    // Steps run by the lighting thread since it started.
    std::uint64_t LightingStepCount() const;
    // Times the lighting thread woke up since it started (it sleeps until its next due step).
    std::uint64_t LightingWakeCount() const;

    // Stops the lighting and notification threads. Each class calls it first thing in its
    // destructor: the workers call the class's overrides, which must not run while it is destroyed.
    void StopWorkers();

    // Identity row through which the device was connected.
    const DeviceInterfaceEntry& GetIdentity() const { return m_identity; }
    void SetIdentity(const DeviceInterfaceEntry& identity) { m_identity = identity; }

    int GetKind() const { return m_kind; }
    int GetBatteryPanel() const { return m_batteryPanel; }
    void SetBatteryPanel(int flag) { m_batteryPanel = flag; }
    bool IsPollingHold() const { return m_pollingHold; }
    // Set while the window is hidden in the tray. A change wakes a lighting thread that waits for it,
    // and the option's light frame timer starts again once the frame can be seen.
    void SetPollingHold(bool hold);
    // Set while the window is open but none of it can be seen (minimised, covered); a change acts as
    // SetPollingHold's does. Polling goes on: only what is drawn for the page rests.
    bool IsWindowUnseen() const { return m_windowUnseen; }
    void SetWindowUnseen(bool unseen);
    // The option's light frame timer rests while the frame stands still (UI thread, from the timer):
    // true when nothing changed since the frame was last shown; the lighting step that next changes
    // the frame starts the timer again.
    bool RestLightFrame();
    bool IsWindowActive() const { return m_windowActive; }
    void SetWindowActive(bool active) { m_windowActive = active; }
    bool IsSoftwareLightControl() const { return m_softwareLightControl; }
    // Also tells a keyboard (NotifyLightControl) when the flag is set and its channel is open.
    void SetSoftwareLightControl(bool on);
    // Synchronised lighting of the main window: while set, the lighting thread does nothing.
    bool IsSameMode() const { return m_sameMode; }
    void SetSameMode(bool on);

    // Set by the device list while it builds the tab.
    void SetPageName(std::string_view name) { m_pageName = name; }
    const std::string& GetPageName() const { return m_pageName; }
    void SetMainWindow(HWND wnd) { m_mainWindow = wnd; }
    HWND GetMainWindow() const { return m_mainWindow; }
    void SetLightButtonCount(int count) { m_lightButtonCount = count < 0 ? 0 : count; }
    int GetLightButtonCount() const { return m_lightButtonCount; }
    void SetKeyButtonCount(int count) { m_keyButtonCount = count < 0 ? 0 : count; }
    int GetKeyButtonCount() const { return m_keyButtonCount; }
    void SetLogoLed(int led) { m_logoLed = led; }
    int GetLogoLed() const { return m_logoLed; }
    // The power panel also becomes the status sink.
    void SetPowerPanel(CMpDevicePowerUI* panel);
    CMpDevicePowerUI* GetPowerPanel() const { return m_powerPanel; }
    // Where ShowStatus hands the status records the device polls (the power panel unless replaced).
    void SetStatusSink(IDeviceStatusSink* sink) { m_statusSink = sink; }
    // The option and the device unlink each other when either is destroyed first.
    void SetDeviceOption(CDeviceOptionUI* option);
    CDeviceOptionUI* GetDeviceOption() const;
    // Starts a timer of the device's option (any thread); false when the device has no option. Worker
    // threads use this rather than GetDeviceOption(), so the option cannot be destroyed in between.
    bool StartOptionTimer(UINT_PTR id, UINT ms);
    void SetProfileFolder(const std::filesystem::path& folder) { m_profileFolder = folder; }
    const std::filesystem::path& GetProfileFolder() const { return m_profileFolder; }
    void SetKindName(std::string_view name) { m_kindName = name; }
    const std::string& GetKindName() const { return m_kindName; }
    void SetLightConfigName(std::string_view name) { m_lightConfigName = name; }
    const std::string& GetLightConfigName() const { return m_lightConfigName; }
    // The page's lighting control, repainted by the option's timer 1000.
    void SetLightControl(CControlUI* control) { m_lightControl = control; }
    CControlUI* GetLightControl() const { return m_lightControl; }

    CCommandChannel& CommandChannel() { return m_commandChannel; }
    CCommandChannel& NotificationChannel() { return m_notificationChannel; }
    const std::array<std::uint8_t, kDeviceInfoSize>& DeviceInfo() const { return m_deviceInfo; }
    const DeviceContext& Context() const { return m_context; }
    std::uint64_t NowMs() const;

    // Page bindings found by BindPage.
    const std::vector<CControlUI*>& KeyButtons() const { return m_keyButtons; }
    const std::vector<CControlUI*>& LightButtons() const { return m_lightButtons; }
    CControlUI* GetSelectPanel() const { return m_selectPanel; }
    int GetSelectedKey() const { return m_selectedKey; }
    int GetSelectedKey2() const { return m_selectedKey2; }
    const std::map<int, int>& GetKeyMap() const { return m_keyMap; }
    const AudioLightInfoRecord& GetStoredAudioLighting() const { return m_audioLighting; }

    // Messages to the main window through the UI loop; 0 / false when there is no loop or window.
    LRESULT SendToMainWindow(UINT msg, WPARAM wParam, LPARAM lParam);
    bool PostToMainWindow(UINT msg, WPARAM wParam, LPARAM lParam);

    // The frame and animation state, for the device classes' own steps.
    CLightFrame& Frame() { return m_frame; }
    const CLightFrame& Frame() const { return m_frame; }

protected:
    // The lighting control on this page (found by its interface); null when the page has none.
    ILightControl* PageLightControl();
    // Called by each class's constructor.
    void SetKind(int kind) { m_kind = kind; }
    // Called on the notification thread with the first usage of each report. The base: 0x0401 starts
    // the option's timer 1002 in 500 ms (Resync on the UI thread).
    virtual void OnNotificationUsage(std::uint16_t usage);

    // The lighting lock: guards the lighting record, the animation state and the levels. Recursive,
    // so a class's step may call the building blocks while holding it.
    std::recursive_mutex& LightingLock() const { return m_lightingLock; }
    // Under the lighting lock.
    LightAnimation& Animation() { return m_animation; }
    CLightLevels& Levels() { return m_levels; }
    std::array<std::uint8_t, kDeviceInfoSize>& MutableDeviceInfo() { return m_deviceInfo; }
    void SetKeyButtons(std::vector<CControlUI*> buttons) { m_keyButtons = std::move(buttons); }
    void SetLightButtons(std::vector<CControlUI*> buttons) {
        m_lightButtons = std::move(buttons);
        m_frame.MarkChanged();
    }
    // A status record the device read (battery, charging, connection): to the status sink, if any.
    void ShowStatus(std::span<const std::uint8_t> record);
    // Starts the option's light frame timer unless it runs or the frame is unseen (any thread).
    void ResumeLightFrame();
    // The lighting thread looks at its period and rest state again (a class's step changed them).
    void WakeLightingThread();

private:
    // The frame became seen or unseen: wakes the lighting thread, and the option's timer when seen.
    void OnSeenChanged();
    // After a write to the frame (any thread): starts the timer when it rests and the frame changed.
    void WakeLightFrame();
    // Finds a control by name in the subtree of root (root included); null when absent.
    static CControlUI* FindInTree(CControlUI* root, std::string_view name);
    static std::unique_ptr<IHidBackend> MakeNullBackend();
    static IHidBackend& BackendOf(const DeviceContext& context, std::unique_ptr<IHidBackend>& fallback);

    DeviceContext m_context;
    CSteadyDeviceClock m_steadyClock;
    std::unique_ptr<IHidBackend> m_nullBackend;  // only when the context has no backend
    CCommandChannel m_commandChannel;
    CCommandChannel m_notificationChannel;

    std::string m_pageName;
    std::string m_lightConfigName;
    std::string m_kindName;
    std::filesystem::path m_profileFolder;
    int m_kind = kDeviceKindBase;
    int m_keyButtonCount = 0;
    int m_lightButtonCount = 0;
    int m_logoLed = -1;
    std::vector<CControlUI*> m_keyButtons;
    std::vector<CControlUI*> m_lightButtons;
    CControlUI* m_selectPanel = nullptr;
    CTabLayoutUI* m_functionSwitch = nullptr;
    CTabLayoutUI* m_keyFunctionSwitch = nullptr;
    CControlUI* m_lightControl = nullptr;

    mutable std::recursive_mutex m_lightingLock;
    LightInfoRecord m_lighting;
    LightAnimation m_animation;
    CLightLevels m_levels;
    CLightFrame m_frame;
    AudioLightInfoRecord m_audioLighting;

    int m_selectedKey = kNoSelection;
    int m_selectedKey2 = kNoSelection;
    int m_functionPage = 1;
    int m_profileDeviceIndex = 0;
    std::array<std::uint8_t, kDeviceInfoSize> m_deviceInfo{};
    DeviceInterfaceEntry m_identity;
    std::map<int, int> m_keyMap;

    int m_batteryPanel = 0;
    std::atomic<bool> m_pollingHold{false};
    std::atomic<bool> m_windowUnseen{false};
    std::atomic<bool> m_lightFrameResting{false};  // the option's timer 1000 waits for a changed frame
    std::atomic<bool> m_windowActive{true};
    std::atomic<bool> m_softwareLightControl{true};
    std::atomic<bool> m_sameMode{false};

    HWND m_mainWindow = 0;
    CMpDevicePowerUI* m_powerPanel = nullptr;
    IDeviceStatusSink* m_statusSink = nullptr;
    mutable std::mutex m_optionLock;  // the notification thread reaches the option under it
    CDeviceOptionUI* m_deviceOption = nullptr;

    std::unique_ptr<CNotificationReader> m_notificationReader;
    std::unique_ptr<CLightingThread> m_lightingThread;
};

}  // namespace zevik
