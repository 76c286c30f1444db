#include "devices/orbantix_usb_device.h"

#include <utility>

#include "devices/device_option_ui.h"
#include "devices/light_control.h"
#include "devices/lighting_tables.h"
#include "devices/lighting_thread.h"
#include "devices/mp_device_power_ui.h"
#include "devices/notification_reader.h"
#include "platform/trace.h"
#include "ui/message_loop.h"
#include "ui/tab_layout_ui.h"

namespace zevik {
namespace {

constexpr std::uint16_t kResyncUsage = 0x0401;
constexpr const char* kNotificationExitTrace = "MS设备同步线程设定退出";

// The backend of a device built without one: it finds and opens nothing.
class CNullHidBackend final : public IHidBackend {
public:
    bool Enumerate(std::vector<std::string>& paths) override {
        paths.clear();
        return true;
    }
    std::unique_ptr<IHidConnection> Open(const std::string& /*path*/, bool /*wantRead*/,
                                         bool /*wantWrite*/) override {
        return nullptr;
    }
};

// The order of the common steps in the base's own mode table.
enum BaseMode : int {
    kModeBreathe = 0,
    kModeBreatheFourColours = 1,
    kModeSteady = 2,
    kModeSpectrum = 3,
    kModeBlink = 4,
    kModeBlinkFourColours = 5,
};

}  // namespace

std::unique_ptr<IHidBackend> COrbantixUSBDevice::MakeNullBackend() {
    return std::make_unique<CNullHidBackend>();
}

IHidBackend& COrbantixUSBDevice::BackendOf(const DeviceContext& context,
                                           std::unique_ptr<IHidBackend>& fallback) {
    if (context.hidBackend != nullptr) {
        return *context.hidBackend;
    }
    fallback = MakeNullBackend();
    return *fallback;
}

COrbantixUSBDevice::COrbantixUSBDevice(const DeviceContext& context)
    : m_context(context),
      m_commandChannel(BackendOf(context, m_nullBackend)),
      m_notificationChannel(context.hidBackend != nullptr ? *context.hidBackend : *m_nullBackend) {}

COrbantixUSBDevice::~COrbantixUSBDevice() {
    StopWorkers();
    if (CDeviceOptionUI* option = GetDeviceOption(); option != nullptr && option->GetDevice() == this) {
        option->SetDevice(nullptr);  // its timers must not reach a destroyed device
    }
    m_commandChannel.CloseConnections();
}

std::string_view COrbantixUSBDevice::GetClass() const {
    return "OrbantixUSBDeviceUI";
}

void* COrbantixUSBDevice::GetInterface(std::string_view name) {
    if (name == kClassName) {
        return this;
    }
    return CHorizontalLayoutUI::GetInterface(name);
}

void COrbantixUSBDevice::Notify(TNotifyUI& msg) {
    NotifyPump(msg);
}

// ---------------------------------------------------------------- page binding

CControlUI* COrbantixUSBDevice::FindInTree(CControlUI* root, std::string_view name) {
    if (root == nullptr) {
        return nullptr;
    }
    return root->FindControl([name](CControlUI& control) { return control.GetName() == name; },
                             UIFIND_ALL | UIFIND_ME_FIRST);
}

void COrbantixUSBDevice::BindPage() {
    const bool hasPage = !m_pageName.empty();
    const int keyCount = hasPage ? m_keyButtonCount : 0;
    const int lightCount = hasPage ? m_lightButtonCount : 0;

    m_selectPanel = hasPage ? FindInTree(this, "SelectPanel") : nullptr;
    std::vector<CControlUI*> keys(static_cast<size_t>(keyCount), nullptr);
    std::vector<CControlUI*> lights(static_cast<size_t>(lightCount), nullptr);
    if (m_selectPanel != nullptr) {
        for (int i = 0; i < keyCount; ++i) {
            keys[static_cast<size_t>(i)] = FindInTree(m_selectPanel, "key_" + std::to_string(i));
        }
        for (int i = 0; i < lightCount; ++i) {
            lights[static_cast<size_t>(i)] = FindInTree(m_selectPanel, "light_" + std::to_string(i));
        }
    }
    m_keyButtons = std::move(keys);
    m_lightButtons = std::move(lights);
    {
        std::lock_guard lock(m_lightingLock);
        m_frame.Resize(lightCount);
    }

    auto asTab = [](CControlUI* control) {
        return control != nullptr ? static_cast<CTabLayoutUI*>(control->GetInterface("TabLayout")) : nullptr;
    };
    m_functionSwitch = hasPage ? asTab(FindInTree(this, "device_function_switch")) : nullptr;
    m_keyFunctionSwitch = hasPage ? asTab(FindInTree(this, "device_key_function_switch")) : nullptr;
    if (hasPage) {
        BindPageEx();
    }
}

void COrbantixUSBDevice::SelectFunctionPage(int page) {
    m_functionPage = page;
    if (m_functionSwitch != nullptr) {
        m_functionSwitch->SelectItem(page);
    }
    if (m_keyFunctionSwitch != nullptr) {
        m_keyFunctionSwitch->SelectItem(page);
    }
}

// ---------------------------------------------------------------- lighting

void COrbantixUSBDevice::StepBreathe() {
    std::lock_guard lock(m_lightingLock);
    zevik::StepBreathe(m_lighting, m_animation, m_frame);
}

void COrbantixUSBDevice::StepBreatheFourColours() {
    std::lock_guard lock(m_lightingLock);
    zevik::StepBreatheFourColours(m_lighting, m_animation, m_frame);
}

void COrbantixUSBDevice::StepSteady() {
    std::lock_guard lock(m_lightingLock);
    zevik::StepSteady(m_lighting, m_animation, m_frame);
}

void COrbantixUSBDevice::StepSpectrum() {
    std::lock_guard lock(m_lightingLock);
    zevik::StepSpectrum(m_lighting, m_animation, m_frame);
}

void COrbantixUSBDevice::StepBlink() {
    std::lock_guard lock(m_lightingLock);
    zevik::StepBlink(m_lighting, m_animation, m_frame, NowMs());
}

void COrbantixUSBDevice::StepBlinkFourColours() {
    std::lock_guard lock(m_lightingLock);
    zevik::StepBlinkFourColours(m_lighting, m_animation, m_frame, NowMs());
}

void COrbantixUSBDevice::StepOff() {
    std::lock_guard lock(m_lightingLock);
    zevik::StepOff(m_lighting, m_animation, m_frame);
}

void COrbantixUSBDevice::SendLightFrame() {
    if (!m_frame.TakeChanged() || !m_softwareLightControl.load(std::memory_order_relaxed)) {
        return;
    }
    const int count = std::min(m_frame.Size(), static_cast<int>(m_lightButtons.size()));
    for (int i = 0; i < count; ++i) {
        CControlUI* button = m_lightButtons[static_cast<size_t>(i)];
        if (button == nullptr) {
            continue;
        }
        const std::uint32_t entry = m_frame.Get(i);
        const lighting::Rgb colour = lighting::EntryColour(entry);
        // The intensity becomes the alpha of the button's light colour.
        const UiColor argb = (static_cast<UiColor>(lighting::EntryIntensity(entry)) << 24) |
                             (static_cast<UiColor>(colour.r) << 16) | (static_cast<UiColor>(colour.g) << 8) |
                             static_cast<UiColor>(colour.b);
        button->SetBkColor(argb);
    }
}

void COrbantixUSBDevice::SetLightEntry(int index, std::uint32_t value) {
    m_frame.Set(index, value);
    WakeLightFrame();
}

std::uint32_t COrbantixUSBDevice::GetLightEntry(int index) const {
    return m_frame.Get(index);
}

void COrbantixUSBDevice::SetKeyMap(const std::map<int, int>& map) {
    m_keyMap = map;
}

void COrbantixUSBDevice::DecayLevel(int index, int mode) {
    std::lock_guard lock(m_lightingLock);
    m_levels.DecayLevel(index, mode);
}

void COrbantixUSBDevice::MarkRowKeys() {
    std::lock_guard lock(m_lightingLock);
    m_levels.MarkRowKeys();
}

void COrbantixUSBDevice::RotateMask(int direction) {
    std::lock_guard lock(m_lightingLock);
    m_levels.RotateMask(direction);
}

void COrbantixUSBDevice::ClearLevels() {
    std::lock_guard lock(m_lightingLock);
    m_levels.ClearLevels();
}

void COrbantixUSBDevice::SetLighting(const LightInfoRecord& record) {
    {
        std::lock_guard lock(m_lightingLock);
        m_lighting = record;
    }
    if (m_lightingThread) {
        m_lightingThread->Wake();
    }
}

LightInfoRecord COrbantixUSBDevice::GetLighting() const {
    std::lock_guard lock(m_lightingLock);
    return m_lighting;
}

ILightControl* COrbantixUSBDevice::PageLightControl() {
    CControlUI* found = FindControl(
        [](CControlUI& c) { return c.GetInterface(ILightControl::kInterfaceName) != nullptr; },
        UIFIND_ALL | UIFIND_ME_FIRST);
    return found != nullptr ? static_cast<ILightControl*>(found->GetInterface(ILightControl::kInterfaceName))
                            : nullptr;
}

void COrbantixUSBDevice::SetAudioLighting(const AudioLightInfoRecord& record) {
    m_audioLighting = record;
    if (ILightControl* control = PageLightControl()) control->ShowAudioLightInfo(record);
}

std::optional<AudioLightInfoRecord> COrbantixUSBDevice::GetAudioLighting(int index) {
    ILightControl* control = PageLightControl();
    if (control == nullptr) return m_audioLighting;
    const std::optional<AudioLightInfoRecord> read = control->ReadAudioLightInfo(index == 1);
    if (read) m_audioLighting = *read;
    return read;
}

int COrbantixUSBDevice::LightStepPeriod() const {
    const LightInfoRecord light = GetLighting();
    return lighting::StepPeriod(light.selectItem, light.speed);
}

void COrbantixUSBDevice::RunLightStep() {
    switch (GetLighting().selectItem) {
        case kModeBreathe:
            StepBreathe();
            break;
        case kModeBreatheFourColours:
            StepBreatheFourColours();
            break;
        case kModeSteady:
            StepSteady();
            break;
        case kModeSpectrum:
            StepSpectrum();
            break;
        case kModeBlink:
            StepBlink();
            break;
        case kModeBlinkFourColours:
            StepBlinkFourColours();
            break;
        default:
            StepOff();
            break;
    }
}

std::uint64_t COrbantixUSBDevice::NowMs() const {
    return m_context.clock != nullptr ? m_context.clock->NowMs() : m_steadyClock.NowMs();
}

bool COrbantixUSBDevice::StartLightingThread() {
    if (!m_lightingThread) {
        CLightingThread::Hooks hooks;
        hooks.channelOpen = [this] { return m_commandChannel.IsOpen(); };
        hooks.idle = [this] {
            return m_commandChannel.StreamPaused() || m_sameMode.load(std::memory_order_relaxed);
        };
        hooks.unseen = [this] { return LightStepsRest(); };
        hooks.periodTicks = [this] { return LightStepPeriod(); };
        hooks.step = [this] {
            RunLightStep();
            WakeLightFrame();
        };
        m_lightingThread = std::make_unique<CLightingThread>(std::move(hooks));
    }
    if (m_lightingThread->IsRunning()) {
        return true;
    }
    return m_lightingThread->Start();
}

void COrbantixUSBDevice::StopLightingThread() {
    if (m_lightingThread) {
        m_lightingThread->Stop();
    }
}

std::uint64_t COrbantixUSBDevice::LightingWakeCount() const {
    return m_lightingThread ? m_lightingThread->WakeCount() : 0;
}

bool COrbantixUSBDevice::IsLightingThreadRunning() const {
    return m_lightingThread && m_lightingThread->IsRunning();
}

std::uint64_t COrbantixUSBDevice::LightingStepCount() const {
    return m_lightingThread ? m_lightingThread->StepCount() : 0;
}

void COrbantixUSBDevice::WakeLightingThread() {
    if (m_lightingThread) {
        m_lightingThread->Wake();
    }
}

void COrbantixUSBDevice::SetSameMode(bool on) {
    m_sameMode.store(on, std::memory_order_relaxed);
    if (m_lightingThread) {
        m_lightingThread->Wake();
    }
}

void COrbantixUSBDevice::SetPollingHold(bool hold) {
    m_pollingHold.store(hold);
    OnSeenChanged();
}

void COrbantixUSBDevice::SetWindowUnseen(bool unseen) {
    if (m_windowUnseen.exchange(unseen) != unseen) {
        OnSeenChanged();
    }
}

void COrbantixUSBDevice::OnSeenChanged() {
    if (m_lightingThread) {
        m_lightingThread->Wake();
    }
    ResumeLightFrame();  // it rested while the frame was unseen
}

void COrbantixUSBDevice::ResumeLightFrame() {
    if (IsLightingUnseen()) {
        return;  // OnSeenChanged starts it once the frame can be seen
    }
    std::lock_guard lock(m_optionLock);
    if (m_deviceOption != nullptr) {
        m_deviceOption->ResumeLightFrame();
    }
}

void COrbantixUSBDevice::WakeLightFrame() {
    if (m_frame.HasChanged() && m_lightFrameResting.exchange(false)) {
        ResumeLightFrame();
    }
}

bool COrbantixUSBDevice::RestLightFrame() {
    if (m_frame.HasChanged()) {
        return false;
    }
    m_lightFrameResting.store(true);
    // A step that changed the frame after the check either finds the mark (and starts the timer
    // itself) or left its change for this second look, which takes the mark back.
    return !(m_frame.HasChanged() && m_lightFrameResting.exchange(false));
}

void COrbantixUSBDevice::SetSoftwareLightControl(bool on) {
    m_softwareLightControl.store(on, std::memory_order_relaxed);
    if (on) {
        // The buttons kept whatever they showed while the flag was clear.
        m_frame.MarkChanged();
        WakeLightFrame();
    }
    if (on && m_kind == kDeviceKindKeyboard && m_commandChannel.IsOpen()) {
        NotifyLightControl(m_commandChannel);
    }
}

void COrbantixUSBDevice::StopWorkers() {
    StopLightingThread();
    CloseNotification();
}

// ---------------------------------------------------------------- notification interface

bool COrbantixUSBDevice::OpenNotification(const std::string& path) {
    if (m_notificationChannel.IsOpen()) {
        return true;
    }
    {
        std::lock_guard lock(m_notificationChannel.ExchangeLock());
        if (!m_notificationChannel.CableInterface().Open(path, true, true, true, false)) {
            return false;
        }
        m_notificationChannel.SetOpen(true);
    }
    m_notificationReader = std::make_unique<CNotificationReader>(
        m_notificationChannel.CableInterface(), m_notificationChannel.ExchangeLock(),
        [this](std::uint16_t usage) { OnNotificationUsage(usage); }, kNotificationExitTrace);
    m_notificationReader->Start();
    return true;
}

void COrbantixUSBDevice::CloseNotification() {
    if (m_notificationReader) {
        m_notificationReader->RequestStop();
    }
    {
        // Closing cancels the reader's pending read.
        std::lock_guard lock(m_notificationChannel.ExchangeLock());
        m_notificationChannel.SetOpen(false);
        m_notificationChannel.CableInterface().Close();
    }
    if (m_notificationReader) {
        m_notificationReader->Join();
        m_notificationReader.reset();
    }
}

void COrbantixUSBDevice::OnNotificationUsage(std::uint16_t usage) {
    if (usage != kResyncUsage) {
        return;
    }
    Trace("接收到自动添加设备的同步信息要求");
    StartOptionTimer(CDeviceOptionUI::kTimerResync, CDeviceOptionUI::kNotifiedResyncMs);
}

bool COrbantixUSBDevice::StartOptionTimer(UINT_PTR id, UINT ms) {
    std::lock_guard lock(m_optionLock);
    return m_deviceOption != nullptr && m_deviceOption->StartTimer(id, ms);
}

void COrbantixUSBDevice::SetPowerPanel(CMpDevicePowerUI* panel) {
    m_powerPanel = panel;
    m_statusSink = panel;
}

void COrbantixUSBDevice::ShowStatus(std::span<const std::uint8_t> record) {
    if (m_statusSink != nullptr) m_statusSink->ShowDeviceStatus(record);
}

void COrbantixUSBDevice::SetDeviceOption(CDeviceOptionUI* option) {
    std::lock_guard lock(m_optionLock);
    m_deviceOption = option;
}

CDeviceOptionUI* COrbantixUSBDevice::GetDeviceOption() const {
    std::lock_guard lock(m_optionLock);
    return m_deviceOption;
}

// ---------------------------------------------------------------- main window

LRESULT COrbantixUSBDevice::SendToMainWindow(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_context.uiLoop == nullptr || m_mainWindow == 0) {
        return 0;
    }
    return m_context.uiLoop->Send(m_mainWindow, msg, wParam, lParam).value_or(0);
}

bool COrbantixUSBDevice::PostToMainWindow(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_context.uiLoop == nullptr || m_mainWindow == 0) {
        return false;
    }
    return m_context.uiLoop->Post(m_mainWindow, msg, wParam, lParam);
}

}  // namespace zevik
