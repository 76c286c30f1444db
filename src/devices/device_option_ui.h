#pragma once
// CDeviceOptionUI ("DeviceOption"): one device's entry in the device selector "device_select_layout".
// Its option button "device_select" shows the family's icon and name; its check
// "synchro_device_select" only switches the button to the synchro images. Its timers drive the
// device on the UI thread:
//   1000  SendLightFrame; repaint the page's lighting control when selected and the window is active;
//         again in 50 ms through the receiver, 10 ms by cable, while the channel is open and the
//         device's frame can be seen (ResumeLightFrame starts it again when it can) and moves: it
//         rests while the frame stands still, and the lighting step that changes it starts it again.
//   1001  (50 ms after a connect) through the receiver, hide the option while the link query fails
//         (failure counter 0..4, retry in 2000 ms); otherwise show it, then Connect, then 1005 in
//         50 ms (battery panel, channel open) and 1007 in 2000 ms (receiver).
//   1002  Resync; 1003, 1004 the two spare operations after it. Each runs once per start.
//   1005  PollStatus; again in 3000 ms with a battery panel.
//   1007  (receiver) show a hidden option when linked (and PollStatus with a battery panel), hide a
//         shown one when not; again in 3000 ms while in receiver mode.
// Showing and hiding is asked of the main window with UM_DEVICE_POWER (the option's index in its
// container, 1 or 0); the main window owns the visibility rule.
//
// Timers run through the UI loop of the device's context; they may be started from any thread.
// A timer fires once per start: the handler decides whether it runs again.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/container_ui.h"
#include "ui/notify_ui.h"

namespace zevik {

class COrbantixUSBDevice;
class CMessageLoop;
class COptionUI;
class CCheckBoxUI;

class CDeviceOptionUI : public CContainerUI, public INotifyUI {
public:
    static constexpr std::string_view kClassName = "DeviceOption";

    static constexpr UINT_PTR kTimerLightFrame = 1000;
    static constexpr UINT_PTR kTimerConnect = 1001;
    static constexpr UINT_PTR kTimerResync = 1002;
    static constexpr UINT_PTR kTimerReserved1 = 1003;
    static constexpr UINT_PTR kTimerReserved2 = 1004;
    static constexpr UINT_PTR kTimerPollStatus = 1005;
    static constexpr UINT_PTR kTimerReceiverWatch = 1007;

    static constexpr UINT kConnectDelayMs = 50;
    static constexpr UINT kLinkRetryMs = 2000;
    static constexpr UINT kReceiverWatchMs = 3000;
    static constexpr UINT kPollStatusMs = 3000;
    static constexpr UINT kFirstPollMs = 50;
    static constexpr UINT kFrameCableMs = 10;
    static constexpr UINT kFrameReceiverMs = 50;
    static UINT FramePeriodMs(bool receiver) { return receiver ? kFrameReceiverMs : kFrameCableMs; }
    static constexpr UINT kNotifiedResyncMs = 500;
    static constexpr int kFailureCounterWrap = 5;  // the failure counter runs 0..4

    CDeviceOptionUI() = default;
    ~CDeviceOptionUI() override;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
    // Joins the window's notifiers and applies the icons.
    void DoInit() override;
    // Leaving the tree stops every timer.
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;

    // The device this option drives (not owned); its context supplies the UI loop. Changing or
    // clearing it stops the timers. The device clears it when it is destroyed first.
    void SetDevice(COrbantixUSBDevice* device);
    COrbantixUSBDevice* GetDevice() const { return m_device; }

    // What the main window tells the option when it builds the tab.
    void SetTabHeaderName(std::string_view name) { m_tabHeaderName = name; }
    const std::string& GetTabHeaderName() const { return m_tabHeaderName; }
    void SetPageIndex(int index) { m_pageIndex = index; }
    int GetPageIndex() const { return m_pageIndex; }
    void SetPowerContainerName(std::string_view name) { m_powerContainerName = name; }
    const std::string& GetPowerContainerName() const { return m_powerContainerName; }
    void SetPowerIndex(int index) { m_powerIndex = index; }
    int GetPowerIndex() const { return m_powerIndex; }
    // Chooses the icons and the name text: kind 1/9 "kb_", 2/6 "ms_", 3 "hard_mp_" (variant 0) or
    // "soft_mp_" (variant 1, no icons for another variant), 7 "hd_".
    void SetKindAndVariant(int kind, int variant);
    int GetKind() const { return m_kind; }
    int GetVariant() const { return m_variant; }
    void SetKindName(std::string_view name) { m_kindName = name; }
    const std::string& GetKindName() const { return m_kindName; }
    void SetDevicePage(CControlUI* page) { m_devicePage = page; }
    CControlUI* GetDevicePage() const { return m_devicePage; }
    void SetPageControl(CControlUI* control) { m_pageControl = control; }
    CControlUI* GetPageControl() const { return m_pageControl; }

    // The icon prefix of the kind and variant ("ms_"), "" when the family has no icons.
    static std::string IconPrefix(int kind, int variant);

    // The option button and the synchro check of the layout (null before the layout is built).
    COptionUI* SelectButton() const;
    CCheckBoxUI* SynchroCheck() const;
    bool IsSelected() const;
    void Select(bool selected);
    bool IsSynchro() const;
    // Sets the mark and the button's images to the synchro or normal set.
    void SetSynchro(bool on);

    // The option's index in its container ("device_select_layout"), -1 when it has none.
    int IndexInSelector() const;

    // ---- timers (any thread) ----
    // Starts the timers of a connect: 1001 in 50 ms and the light frame timer 1000.
    void StartConnectTimers();
    // Starts the light frame timer 1000 again when the channel is open and it is not running (the
    // device's frame, unseen while the window was hidden, can be seen again).
    void ResumeLightFrame();
    bool StartTimer(UINT_PTR id, UINT ms);
    bool StopTimer(UINT_PTR id);
    void StopAllTimers();
    bool IsTimerRunning(UINT_PTR id) const;
    // Runs a timer's handler now (the loop calls it when the timer falls due; UI thread).
    void OnTimer(UINT_PTR id);

    // 0..4: failed link checks of timer 1001 since it last wrapped.
    int GetFailureCount() const { return m_failureCount; }

    // Follows the synchro check: its mark switches the button's images.
    void Notify(TNotifyUI& msg) override;

private:
    void OnLightFrameTimer();
    void OnConnectTimer();
    void OnPollStatusTimer();
    void OnReceiverWatchTimer();
    // UM_DEVICE_POWER with the option's index and show (1) or hide (0).
    void AskPower(bool show);
    void ApplyIcons();
    CMessageLoop* Loop() const;

    COrbantixUSBDevice* m_device = nullptr;
    CMessageLoop* m_loop = nullptr;  // the device's UI loop, kept while the device is set
    // When the last light frame was taken, by the loop's clock (read by ResumeLightFrame, which the
    // lighting thread calls).
    std::atomic<std::int64_t> m_lastFrameUs{0};
    std::string m_tabHeaderName;
    int m_pageIndex = -1;
    std::string m_powerContainerName;
    int m_powerIndex = -1;
    int m_kind = 0;
    int m_variant = 0;
    std::string m_kindName;
    CControlUI* m_devicePage = nullptr;
    CControlUI* m_pageControl = nullptr;
    int m_failureCount = 0;
};

}  // namespace zevik
