#include "devices/device_option_ui.h"

#include "devices/device_messages.h"
#include "devices/orbantix_usb_device.h"
#include "ui/check_box_ui.h"
#include "ui/message_loop.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {
namespace {

constexpr std::string_view kSelectButtonName = "device_select";
constexpr std::string_view kSynchroCheckName = "synchro_device_select";
constexpr std::string_view kIconFolder = "common/device_ico/";

std::string ImageAttribute(std::string_view prefix, std::string_view variant) {
    return "file='" + std::string(kIconFolder) + std::string(prefix) + std::string(variant) + ".png'";
}

template <typename T>
T* FindChild(CControlUI* root, std::string_view name, std::string_view interfaceName) {
    CControlUI* found = root->FindControl([name](CControlUI& c) { return c.GetName() == name; }, UIFIND_ALL);
    return found != nullptr ? static_cast<T*>(found->GetInterface(interfaceName)) : nullptr;
}

}  // namespace

CDeviceOptionUI::~CDeviceOptionUI() {
    // Unlinked first, so the device's notification thread cannot start a timer after they stopped.
    if (m_device != nullptr && m_device->GetDeviceOption() == this) {
        m_device->SetDeviceOption(nullptr);
    }
    StopAllTimers();
    if (CPaintManagerUI* manager = GetManager()) {
        manager->RemoveNotifier(this);
    }
}

std::string_view CDeviceOptionUI::GetClass() const {
    return "DeviceOptionUI";
}

void* CDeviceOptionUI::GetInterface(std::string_view name) {
    if (name == kClassName) {
        return this;
    }
    return CContainerUI::GetInterface(name);
}

void CDeviceOptionUI::DoInit() {
    if (CPaintManagerUI* manager = GetManager()) {
        manager->AddNotifier(this);
    }
    ApplyIcons();
}

void CDeviceOptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    CPaintManagerUI* previous = GetManager();
    if (previous != nullptr && previous != manager) {
        previous->RemoveNotifier(this);
    }
    if (manager == nullptr) {
        StopAllTimers();
    }
    CContainerUI::SetManager(manager, parent, init);
}

void CDeviceOptionUI::Notify(TNotifyUI& msg) {
    if (msg.pSender != nullptr && msg.pSender == SynchroCheck() && msg.sType == DUI_MSGTYPE_SELECTCHANGED) {
        ApplyIcons();
    }
}

void CDeviceOptionUI::SetDevice(COrbantixUSBDevice* device) {
    if (device != m_device) {
        StopAllTimers();
    }
    m_device = device;
    m_loop = device != nullptr ? device->Context().uiLoop : nullptr;
}

void CDeviceOptionUI::SetKindAndVariant(int kind, int variant) {
    m_kind = kind;
    m_variant = variant;
    ApplyIcons();
}

std::string CDeviceOptionUI::IconPrefix(int kind, int variant) {
    switch (kind) {
        case 1:
        case 9:
            return "kb_";
        case 2:
        case 6:
            return "ms_";
        case 3:
            return variant == 0 ? "hard_mp_" : variant == 1 ? "soft_mp_" : "";
        case 7:
            return "hd_";
        default:
            return "";
    }
}

COptionUI* CDeviceOptionUI::SelectButton() const {
    return FindChild<COptionUI>(const_cast<CDeviceOptionUI*>(this), kSelectButtonName, "Option");
}

CCheckBoxUI* CDeviceOptionUI::SynchroCheck() const {
    return FindChild<CCheckBoxUI>(const_cast<CDeviceOptionUI*>(this), kSynchroCheckName, "CheckBox");
}

bool CDeviceOptionUI::IsSelected() const {
    const COptionUI* button = SelectButton();
    return button != nullptr && button->IsSelected();
}

void CDeviceOptionUI::Select(bool selected) {
    if (COptionUI* button = SelectButton()) {
        button->Selected(selected);
    }
}

bool CDeviceOptionUI::IsSynchro() const {
    const CCheckBoxUI* check = SynchroCheck();
    return check != nullptr && check->GetCheck();
}

void CDeviceOptionUI::SetSynchro(bool on) {
    if (CCheckBoxUI* check = SynchroCheck()) {
        check->SetCheck(on, false);
    }
    ApplyIcons();
}

void CDeviceOptionUI::ApplyIcons() {
    COptionUI* button = SelectButton();
    if (button == nullptr) {
        return;
    }
    const std::string prefix = IconPrefix(m_kind, m_variant);
    if (prefix.empty()) {
        return;  // no family yet: the skin's images stand (the card is drawn from images from the start)
    }
    const bool synchro = IsSynchro();
    button->SetNormalImage(ImageAttribute(prefix, synchro ? "device_synchro" : "device_normal"));
    button->SetHotImage(ImageAttribute(prefix, synchro ? "device_synchro_hot" : "device_hot"));
    button->SetSelectedImage(ImageAttribute(prefix, synchro ? "device_synchro_select" : "device_select"));
    button->SetText(prefix + "device_name_text");
}

int CDeviceOptionUI::IndexInSelector() const {
    const CControlUI* parent = GetParent();
    if (parent == nullptr) {
        return -1;
    }
    auto* container = static_cast<CContainerUI*>(const_cast<CControlUI*>(parent)->GetInterface("Container"));
    return container != nullptr ? container->GetItemIndex(this) : -1;
}

// ---------------------------------------------------------------- timers

CMessageLoop* CDeviceOptionUI::Loop() const {
    return m_loop;
}

void CDeviceOptionUI::StartConnectTimers() {
    StartTimer(kTimerConnect, kConnectDelayMs);
    const bool receiver = m_device != nullptr && m_device->CommandChannel().ReceiverMode();
    StartTimer(kTimerLightFrame, FramePeriodMs(receiver));
}

void CDeviceOptionUI::ResumeLightFrame() {
    if (m_device == nullptr || IsTimerRunning(kTimerLightFrame)) {
        return;
    }
    CCommandChannel& channel = m_device->CommandChannel();
    CMessageLoop* loop = Loop();
    if (!channel.IsOpen() || loop == nullptr) {
        return;
    }
    // A frame changed while the timer rested: it is taken as soon as a period has passed since the
    // last one, not a whole period after the change (one wake-up of the UI thread per frame instead of
    // two).
    const UINT ms = FramePeriodMs(channel.ReceiverMode());
    const CMessageLoop::Duration since =
        loop->Now() - CMessageLoop::Duration(m_lastFrameUs.load(std::memory_order_relaxed));
    loop->SetTimer(this, kTimerLightFrame, ms, [this] { OnTimer(kTimerLightFrame); },
                   CMessageLoop::RoundTimerPeriod(ms) - since);
}

bool CDeviceOptionUI::StartTimer(UINT_PTR id, UINT ms) {
    CMessageLoop* loop = Loop();
    if (loop == nullptr) {
        return false;
    }
    return loop->SetTimer(this, id, ms, [this, id] { OnTimer(id); });
}

bool CDeviceOptionUI::StopTimer(UINT_PTR id) {
    CMessageLoop* loop = Loop();
    return loop != nullptr && loop->KillTimer(this, id);
}

void CDeviceOptionUI::StopAllTimers() {
    if (CMessageLoop* loop = Loop()) {
        loop->KillTimers(this);
    }
}

bool CDeviceOptionUI::IsTimerRunning(UINT_PTR id) const {
    CMessageLoop* loop = Loop();
    return loop != nullptr && loop->HasTimer(this, id);
}

void CDeviceOptionUI::OnTimer(UINT_PTR id) {
    StopTimer(id);  // one run per start; the handler restarts it where it must run again
    if (m_device == nullptr) {
        return;
    }
    switch (id) {
        case kTimerLightFrame:
            OnLightFrameTimer();
            break;
        case kTimerConnect:
            OnConnectTimer();
            break;
        case kTimerResync:
            m_device->Resync();
            break;
        case kTimerReserved1:
            m_device->Reserved1();
            break;
        case kTimerReserved2:
            m_device->Reserved2();
            break;
        case kTimerPollStatus:
            OnPollStatusTimer();
            break;
        case kTimerReceiverWatch:
            OnReceiverWatchTimer();
            break;
        default:
            break;
    }
}

void CDeviceOptionUI::OnLightFrameTimer() {
    COrbantixUSBDevice& device = *m_device;
    if (CMessageLoop* loop = Loop()) {
        m_lastFrameUs.store(loop->Now().count(), std::memory_order_relaxed);
    }
    device.SendLightFrame();
    if (device.IsWindowActive() && IsSelected()) {  // the flag first: finding the button walks the tree
        if (CControlUI* control = device.GetLightControl()) {
            control->NeedUpdate();
        }
    }
    // While no one can see the frame (the window in the tray, minimised or covered), or the frame
    // stands still, the timer rests instead of waking the UI thread on every system tick for nothing;
    // ResumeLightFrame restarts it. A frame streamed to the device goes there from the lighting thread
    // while it is unseen.
    CCommandChannel& channel = device.CommandChannel();
    const bool runs = !device.IsLightingUnseen() && (device.StreamsLightFrames() || !device.RestLightFrame());
    if (channel.IsOpen() && runs) {
        StartTimer(kTimerLightFrame, FramePeriodMs(channel.ReceiverMode()));
    }
}

void CDeviceOptionUI::OnConnectTimer() {
    COrbantixUSBDevice& device = *m_device;
    CCommandChannel& channel = device.CommandChannel();
    if (!channel.IsOpen()) {
        return;  // disconnected before the timer ran: nothing to show or connect
    }
    if (channel.ReceiverMode() && !device.IsReceiverLinked()) {
        AskPower(false);
        m_failureCount = (m_failureCount + 1) % kFailureCounterWrap;
        StartTimer(kTimerConnect, kLinkRetryMs);
        return;
    }
    AskPower(true);
    device.Connect();
    if (device.GetBatteryPanel() != 0 && channel.IsOpen()) {
        StartTimer(kTimerPollStatus, kFirstPollMs);
    }
    if (channel.ReceiverMode()) {
        StartTimer(kTimerReceiverWatch, kLinkRetryMs);
    }
}

void CDeviceOptionUI::OnPollStatusTimer() {
    COrbantixUSBDevice& device = *m_device;
    device.PollStatus();
    if (device.GetBatteryPanel() != 0 && device.CommandChannel().IsOpen()) {
        StartTimer(kTimerPollStatus, kPollStatusMs);
    }
}

void CDeviceOptionUI::OnReceiverWatchTimer() {
    COrbantixUSBDevice& device = *m_device;
    CCommandChannel& channel = device.CommandChannel();
    if (!channel.ReceiverMode() || !channel.IsOpen()) {
        return;
    }
    if (device.IsReceiverLinked()) {
        if (!IsVisible()) {
            AskPower(true);
        }
        if (device.GetBatteryPanel() != 0) {
            device.PollStatus();
        }
    } else if (IsVisible()) {
        AskPower(false);
    }
    StartTimer(kTimerReceiverWatch, kReceiverWatchMs);
}

void CDeviceOptionUI::AskPower(bool show) {
    const int index = IndexInSelector();
    if (index < 0) {
        return;
    }
    m_device->SendToMainWindow(UM_DEVICE_POWER, static_cast<WPARAM>(index), show ? 1 : 0);
}

}  // namespace zevik
