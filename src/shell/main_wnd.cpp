#include "shell/main_wnd.h"
#include "shell/key_handlers.h"
#include "shell/macro_routes.h"

#include <cstdio>
#include <thread>

#include "devices/device_messages.h"
#include "devices/device_option_ui.h"
#include "devices/keyboard_device.h"
#include "devices/mousepad_device.h"
#include "devices/hs6533_device.h"
#include "devices/mouse_device.h"
#include "devices/mp_device_power_ui.h"
#include "devices/orbantix_usb_device.h"
#include "editors/key_set_control_ui.h"
#include "editors/macro_control_ui.h"
#include "editors/magic_control_ui.h"
#include "editors/voice6533_control_ui.h"
#include "editors/redio_macro_button_ui.h"
#include "editors/light_control_ui.h"
#include "editors/shoot_control_ui.h"
#include "platform/desktop_settings.h"
#include "platform/scope_exit.h"
#include "audio_lighting/audio_capture.h"
#include "shell/own_record_mailbox.h"
#include "platform/detached_launch.h"
#include "platform/trace.h"
#include "settings/device_profile_ui.h"
#include "shell/main_routes.h"
#include "shell/secondary_wnd.h"
#include "shell/window_fit.h"
#include "shell/worktool_record.h"
#include "transport/command_channel.h"
#include "update/update_check.h"
#include "ui/button_ui.h"
#include "ui/message_loop.h"
#include "ui/option_ui.h"
#include "ui/ui_backend.h"
#include "ui/vertical_layout_ui.h"

namespace zevik {

namespace {

// The texts of the lighting-control switch; the language files translate them.
constexpr std::string_view kLightControlOnText = "控制灯光";
constexpr std::string_view kLightControlOffText = "不控制灯光";
// Commands the audio capture program is given when the program stops.
constexpr std::array<int, 3> kAudioCaptureStopCommands = {2, 4, 5};

// The program's own key-cap and selection-panel controls: the renderer paints them by class name.
class CDeviceKeyButtonUI final : public CButtonUI {
public:
    std::string_view GetClass() const override { return "DeviceKeyButtonUI"; }
};

class CSelectPanelUI final : public CVerticalLayoutUI {
public:
    std::string_view GetClass() const override { return "SelectPanelUI"; }
};

}  // namespace

CMainWnd::CMainWnd(const DeviceContext& context, IOutsidePrograms* outside)
    : m_context(context),
      m_outside(outside != nullptr ? outside : &m_nobody),
      m_messages(RegisterAppMessages()),
      m_sync(context.clock) {
    m_desktopSettings = {DesktopSettingsCommand(DesktopSettingsPage::Keyboard),
                         DesktopSettingsCommand(DesktopSettingsPage::Mouse)};
    AddOwnRoutes();
    AddLightSyncRoutes();
    AddMusicRoutes();
    AddMainRoutes(m_router, *this);
}

CMainWnd::~CMainWnd() {
    StopOwnCapture();
    StopScan();
    m_trayMenu.reset();
    m_tray.DeleteTrayIcon();
    // The host goes first, while everything it shows is still whole.
    DetachQuietly();
}

CControlUI* CMainWnd::CreateControl(std::string_view className) {
    if (className == CDeviceOptionUI::kClassName) {
        return new CDeviceOptionUI;
    }
    if (className == CMpDevicePowerUI::kClassName) {
        return new CMpDevicePowerUI;
    }
    if (className == COrbantixMouseDevice::kClassName) {
        return new COrbantixMouseDevice(m_context);
    }
    if (className == COrbantixKeyboardDevice::kClassName) {
        return new COrbantixKeyboardDevice(m_context);
    }
    if (className == COrbantixMousePadDevice::kClassName) {
        return new COrbantixMousePadDevice(m_context);
    }
    if (className == COrbantixHS6533Device::kClassName) {
        return new COrbantixHS6533Device(m_context);
    }
    if (className == CVoice6533ControlUI::kSkinTag) {
        return new CVoice6533ControlUI;
    }
    if (className == CMagicControlUI::kSkinTag) {
        return new CMagicControlUI;
    }
    if (className == COrbantixUSBDevice::kClassName) {
        return new COrbantixUSBDevice(m_context);
    }
    if (className == CDeviceProfileUI::kSkinTag) {
        return new CDeviceProfileUI;
    }
    if (className == CLightControlUI::kSkinTag) {
        return new CLightControlUI;
    }
    if (className == CKeySetControlUI::kSkinTag) {
        return new CKeySetControlUI;
    }
    if (className == CMacroControlUI::kSkinTag) {
        return new CMacroControlUI;
    }
    if (className == CShootControlUI::kSkinTag) {
        return new CShootControlUI;
    }
    if (className == CRedioMacroButtonUI::kSkinTag) {
        return new CRedioMacroButtonUI;
    }
    if (className == "SelectPanel") {
        return new CSelectPanelUI;
    }
    if (className == "DeviceKeyButton") {
        return new CDeviceKeyButtonUI;
    }
    return nullptr;
}

// ------------------------------------------------------------------------------------ window init

void CMainWnd::InitWindow() {
    Trace("InitWindow");
    SetIcon(kIconId);
    m_tray.CreateTrayIcon(GetHWND(), kIconId, kProductName, kTrayMessage);
    GetSkinObserver().AddReceiver(this);
    CreateFirstTabs();
}

void CMainWnd::OnWindowInit() {
    // This program drives the lighting from the start.
    m_outside->BroadcastLightControl(1, 1);
    ApplySavedLanguage();
    // Shown by the scan thread's activate message after its first pass.
    ShowWindow(false, false);
    StartScan();
    m_sync.StartThread();
    SetTimer(kFitTimer, 100);
    LoadMusicSettings();
}

// ------------------------------------------------------------------------------------ notifications

void CMainWnd::Notify(TNotifyUI& msg) {
    const ScopeExit checkCapture([this] { UpdateOwnCapture(); });
    if (msg.sType != DUI_MSGTYPE_TIMER) {
        Trace(msg.sType);
        Trace(msg.pSender != nullptr ? msg.pSender->GetName() : std::string());
    }
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        OnWindowInit();
    } else if (msg.sType == DUI_MSGTYPE_WINDOWSIZE) {
        if (msg.pSender != nullptr && msg.pSender->GetName() == "root" && m_displayChanged) {
            m_displayChanged = false;
            FitWindowToMonitor();
        }
    }
    if (m_router.Route(msg) == RouteResult::Consumed) {
        return;
    }
    WindowImplBase::Notify(msg);
}

void CMainWnd::AddOwnRoutes() {
    m_router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "control_light_status", [this](TNotifyUI&, int) {
        SetLightControl(!m_lightControl);
        m_outside->BroadcastLightControl(1, m_lightControl ? 1 : 0);
    });
    m_router.Add(DUI_MSGTYPE_ITEMSELECT, RouteMatch::Name, "device_profile_combo",
                 [this](TNotifyUI&, int) { SetTimer(kProfileSwitchTimer, 400); });
    m_router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Prefix, "windowdeviceset_",
                 [this](TNotifyUI&, int page) { OpenDesktopSettings(page); });
    m_router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "device_import_btn",
                 [this](TNotifyUI&, int) { ExchangeProfileFile(false); });
    m_router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "device_export_btn",
                 [this](TNotifyUI&, int) { ExchangeProfileFile(true); });
}

void CMainWnd::SetDesktopSettingsCommands(Command keyboard, Command mouse) {
    m_desktopSettings = {std::move(keyboard), std::move(mouse)};
    ShowDesktopSettingsButtons();
}

void CMainWnd::ShowDesktopSettingsButtons() {
    for (std::size_t page = 0; page < m_desktopSettings.size(); ++page) {
        const std::string name = "windowdeviceset_" + std::to_string(page);
        const bool shown = m_desktopSettings[page].has_value();
        ForEachDevice({kFamilyMouse, kFamilyKeyboard, kFamilyMousepad, kFamilyHeadset},
                      [&](COrbantixUSBDevice& device) {
                          if (CControlUI* button = m_pm.FindSubControlByName(&device, name)) {
                              button->SetVisible(shown);
                          }
                      });
    }
}

void CMainWnd::OpenDesktopSettings(int page) {
    if (page < 0 || static_cast<std::size_t>(page) >= m_desktopSettings.size() || !m_desktopSettings[page]) {
        return;
    }
    // Starting another program may take a while: the window does not wait for it.
    std::thread([argv = *m_desktopSettings[page]] {
        if (!LaunchDetached(argv)) {
            Trace("the desktop settings did not start: " + argv.front());
        }
    }).detach();
}

// ------------------------------------------------------------------------------------ messages

LRESULT CMainWnd::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    bHandled = false;
    const ScopeExit checkCapture([this] { UpdateOwnCapture(); });
    if (msg == m_messages.updateEvent && wParam == kUpdateEventQuit) {
        // The updater asks the program to end before it replaces it.
        bHandled = true;
        ExitProgram();
        return 0;
    }
    if (msg == m_messages.updateEvent || msg == m_messages.updateRelay) {
        bHandled = true;
        RelayUpdateEvent(wParam, lParam);
        return 0;
    }
    if (msg == UM_OPEN_SETTINGS) {
        bHandled = true;
        OpenSettingsWindow(true);
        return 0;
    }
    if (msg == UM_LANGUAGE_CHANGED) {
        bHandled = true;
        OnLanguageChosen(wParam);
        return 0;
    }
    if (msg == UM_MACRO_HOOK) {
        bHandled = true;
        OnMacroHook(wParam == 1);
        return 0;
    }
    if (msg == UM_INPUT_EVENTS) {
        bHandled = true;
        const int mode = m_hook.Mode();
        for (const InputEvent& event : m_hook.TakeEvents()) {
            if (mode == kHookKeyCapture) {
                OnCapturedInput(*this, mode, event);
            } else {
                OnRecordedInput(*this, event);
            }
        }
        return 0;
    }
    if (msg == UM_EXIT_PROGRAM) {
        // Alt+F4 in one of the window's dialogs.
        bHandled = true;
        ExitProgram();
        return 0;
    }
    if (msg == WM_ACTIVATE || msg == WM_MOUSELEAVE || msg == WM_MOUSEHOVER) {
        OnActivityMessage(msg, wParam);
    }
    if (msg == WM_ACTIVATE && wParam == 0 && m_hook.Mode() == kHookKeyCapture) {
        OnMacroHook(false);  // a key capture ends with the window's turn; a recording goes on
    }
    if (msg == m_messages.activate) {
        char line[64];
        std::snprintf(line, sizeof line, "软件标示 %u，%xd%xd", msg, static_cast<unsigned>(wParam),
                      static_cast<unsigned>(lParam));
        Trace(line);
        m_firstScanDone = true;
        ActivateMainWindow();
    }
    if (msg == m_messages.lightControlSet && wParam == 1) {
        if (lParam == 0 || lParam == 1) {
            SetLightControl(lParam == 1);
        }
    }
    if (msg == m_messages.workToolQuery) {
        AnswerWorkTool();
    }
    if (m_messages.IsGameMessage(msg)) {
        OnGameEvent(wParam, lParam);
        bHandled = true;
        return 0;
    }
    if (msg == WM_DESTROY) {
        Trace("退出测试");
        ExitProgram();
        return 0;  // the library's own handling follows
    }
    if (msg == WM_POWERBROADCAST) {
        OnPowerBroadcast(wParam);
    }
    if (!m_systemAwake) {
        return 0;  // a suspended system handles nothing more until it resumes
    }
    switch (msg) {
        case WM_DISPLAYCHANGE:
            Trace("显示器分辨率发生变化");
            m_displayChanged = true;
            FitWindowToMonitor();
            bHandled = true;
            return 0;
        case WM_DPICHANGED:
            Trace("界面 DPI 发生变化");
            m_pm.SetDPI(static_cast<int>(wParam & 0xFFFF));
            m_pm.ResetDPIAssets();
            CenterWindow();
            bHandled = true;
            return 0;
        case kTrayMessage:
            OnTrayAction(lParam);
            bHandled = true;
            return 0;
        case kMenuCommandMessage: {
            // The record lives for this call only: take the name before anything else runs.
            const auto* command = reinterpret_cast<const MenuCmd*>(wParam);
            const std::string name = command != nullptr ? command->szName : std::string();
            m_router.RouteCommand(kMenuCommandType, name);
            bHandled = true;
            return 0;
        }
        case kDpiNoteMessage:
            Trace("界面 DPI 1发生变化");
            bHandled = true;
            return 0;
        case kSettingProgressMessage:
            if (CControlUI* progress = FindControl("setting_progress")) {
                progress->SetVisible(true);
            }
            bHandled = true;
            return 0;
        case kUpdateDoneMessage:
            if (CControlUI* setButton = FindControl("setbtn")) {
                setButton->SetForeImage("");
            }
            bHandled = true;
            return 0;
        case UM_DEVICE_ARRIVED:
            OnDeviceArrived(static_cast<std::size_t>(wParam));
            bHandled = true;
            return 0;
        case UM_DEVICE_REMOVED:
            OnDeviceRemoved(static_cast<std::size_t>(wParam));
            bHandled = true;
            return 0;
        case UM_DEVICE_POWER:
            ShowDevice(static_cast<int>(wParam), lParam != 0);
            bHandled = true;
            return 0;
        case UM_DEVICE_REFRESHED:
            bHandled = true;  // what follows the device is looked at on the way out (checkCapture)
            return 0;
        case UM_FIRMWARE_OUTDATED:
            OnFirmwareOutdated(static_cast<std::uint16_t>(wParam), static_cast<std::uint16_t>(lParam));
            bHandled = true;
            return 0;
        case kFirmwareNoticeMessage:
            ShowFirmwareNotice();
            bHandled = true;
            return 0;
        case WM_CLOSE:
            // The window manager's close button keeps the program in the tray, as "closebtn" does.
            if (!m_shutDown) {
                CloseToTray();
                bHandled = true;
            }
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            bHandled = true;
            return 0;
        default:
            break;
    }
    return 0;
}

void CMainWnd::OnTimer(UINT_PTR id) {
    if (!m_systemAwake) {
        return;
    }
    switch (id) {
        case kFitTimer:
            KillTimer(id);
            FitWindowToMonitor();
            Invalidate();
            break;
        case kTrayMenuTimer:
            KillTimer(id);
            ShowTrayMenu();
            break;
        case kProfileSwitchTimer:
            KillTimer(id);
            SwitchProfileOfCurrentDevice();
            break;
        case CGameEvents::kReturnTimer:
            KillTimer(id);
            m_game.OnReturnTimer();
            break;
        default:
            break;
    }
}

void CMainWnd::OnActivityMessage(UINT msg, WPARAM wParam) {
    if (msg == WM_ACTIVATE) {
        m_windowActivated = wParam != 0;
        m_pointerInside = wParam != 0;
    } else if (!m_windowActivated) {
        m_pointerInside = msg == WM_MOUSEHOVER;
        Trace(m_pointerInside ? "鼠标移入" : "鼠标移出");
    } else {
        return;
    }
    const bool active = m_pointerInside;
    ForEachDevice({kFamilyMouse, kFamilyMousepad, kFamilyKeyboard},
                  [active](COrbantixUSBDevice& device) { device.SetWindowActive(active); });
}

void CMainWnd::OnPowerBroadcast(WPARAM event) {
    if (event == kPowerResumeAutomatic) {
        m_systemAwake = true;
        SetLightControl(m_lightControl);
    } else if (event == kPowerSuspend) {
        m_systemAwake = false;
        // The devices stop driving the lighting; the flag itself is kept for the resume.
        ForEachDevice({kFamilyMouse, kFamilyMousepad, kFamilyKeyboard},
                      [](COrbantixUSBDevice& device) { device.SetSoftwareLightControl(false); });
    }
}

void CMainWnd::SetLightControl(bool on) {
    m_lightControl = on;
    if (CControlUI* status = FindControl("control_light_status")) {
        status->SetText(on ? kLightControlOnText : kLightControlOffText);
    }
    ForEachDevice({kFamilyMouse, kFamilyMousepad, kFamilyKeyboard},
                  [on](COrbantixUSBDevice& device) { device.SetSoftwareLightControl(on); });
}

UpdateTable CMainWnd::CurrentUpdateTable() {
    InstalledVersions installed;
    installed.software = GetInstalledVersion();
    installed.softwareText = GetInstalledVersionText();
    for (COrbantixUSBDevice* device : m_devices[kFamilyMouse]) {
        CCommandChannel& channel = device->CommandChannel();
        if (!channel.IsOpen()) {
            continue;
        }
        if (channel.ReceiverMode()) {
            // Through the receiver the link reports the receiver's own version.
            const std::uint16_t version = channel.ReceiverInterface().VersionNumber();
            installed.receiver = InstalledVersions::ReceiverVersion{
                static_cast<std::uint8_t>(version >> 8), static_cast<std::uint8_t>(version & 0xFF)};
        } else {
            installed.mouseFirmware = channel.CableInterface().VersionNumber();
        }
        break;
    }
    for (COrbantixUSBDevice* device : m_devices[kFamilyMousepad]) {
        if (device->CommandChannel().IsOpen()) {
            installed.mousepadFirmware = device->CommandChannel().CableInterface().VersionNumber();
            break;
        }
    }
    UpdateTable table = MakeUpdateTable();
    RefreshUpdateVersions(table, installed);
    return table;
}

void CMainWnd::AnswerWorkTool() {
    const UpdateTable table = CurrentUpdateTable();
    const WorkToolRecord record = BuildWorkToolRecord(table);
    m_outside->SendToWorkTool(kWorkToolRecordKind, record);
}

void CMainWnd::OnCopyData(std::uint32_t kind, std::span<const std::uint8_t> data) {
    if (!m_systemAwake) {
        return;
    }
    // Records that come in from outside keep our own capture quiet for a while.
    if (kind == CAudioRecordBuffers::kSampleRecord && !data.empty()) {
        if (CMessageLoop* loop = CMessageLoop::Current()) m_lastOutsideRecord = loop->Now();
    }
    HandleAudioRecord(kind, data);
}

// ------------------------------------------------------------------------------------ tray

void CMainWnd::OnTrayAction(LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONUP) {
        RefreshDeviceList();
        if (IsWindowVisible() && !IsMinimized()) {
            HideMainWindow();
        } else {
            FitWindowToMonitor();
            ShowMainWindow();
        }
    } else if (mouseMessage == WM_RBUTTONUP) {
        SetTimer(kTrayMenuTimer, 10);
    }
}

void CMainWnd::ShowTrayMenu() {
    if (m_trayMenu) {
        m_trayMenu->Close();
    }
    m_trayMenu = std::make_unique<CMenuWnd>();
    // The desktop places the menu beside the tray; the cursor is where the user clicked.
    m_trayMenu->Init(nullptr, "XML_MENU", GetUiBackend().GetCursorPos(), &m_pm, nullptr,
                     CMenuWnd::eMenuAlignment_Top | CMenuWnd::eMenuAlignment_Left);
}

void CMainWnd::OpenMacroActionMenu() {
    if (m_macroActionMenu) m_macroActionMenu->Close();
    m_macroActionMenu = std::make_unique<CMenuWnd>();
    m_macroActionMenu->Init(nullptr, "XML/Menus/macro_action_menu.xml", GetUiBackend().GetCursorPos(), &m_pm, nullptr,
                            CMenuWnd::eMenuAlignment_Top | CMenuWnd::eMenuAlignment_Left);
}

// ------------------------------------------------------------------------------------ window ops

COrbantixUSBDevice* CMainWnd::GetCurrentDevice() {
    CContainerUI* selector = Selector();
    for (int i = 0; selector != nullptr && i < selector->GetCount(); ++i) {
        auto* option =
            static_cast<CDeviceOptionUI*>(selector->GetItemAt(i)->GetInterface(CDeviceOptionUI::kClassName));
        if (option == nullptr || !option->IsVisible() || !option->IsSelected()) {
            continue;
        }
        COrbantixUSBDevice* device = option->GetDevice();
        if (device != nullptr && device->CommandChannel().IsOpen()) {
            return device;
        }
    }
    return nullptr;
}

void CMainWnd::HoldPolling(bool hold) {
    ForEachDevice({kFamilyMouse, kFamilyKeyboard, kFamilyMousepad}, [this, hold](COrbantixUSBDevice& device) {
        if (device.GetBatteryPanel() != 0) {
            device.SetPollingHold(hold);
        } else {
            // Nothing of it is polled, but what is drawn for its page rests while the window is away.
            device.SetWindowUnseen(hold || !IsSeenOnScreen());
        }
    });
    m_sync.Thread().Wake();  // followers that can be seen again need its steps
}

void CMainWnd::OnSeenChanged(bool seen) {
    ForEachDevice({kFamilyMouse, kFamilyMousepad, kFamilyKeyboard},
                  [seen](COrbantixUSBDevice& device) { device.SetWindowUnseen(!seen); });
    m_sync.Thread().Wake();
}

void CMainWnd::CloseToTray() {
    if (!m_trayAvailable) {
        SendSysCommand(kScMinimize);  // without a tray the window must stay reachable
        return;
    }
    HideMainWindow();
}

void CMainWnd::HideMainWindow() {
    CloseChildWindows();
    ShowWindow(false, false);
    HoldPolling(true);
}

void CMainWnd::ShowMainWindow() {
    if (IsMinimized()) {
        SendSysCommand(kScRestore);
    }
    ShowWindow(true, true);
    if (IWindowHost* host = GetHost()) {
        host->BringToFront();
    }
    HoldPolling(false);
    m_pm.NeedUpdate();
}

void CMainWnd::ActivateMainWindow() {
    RefreshDeviceList();
    if (m_startHidden) {
        m_startHidden = false;  // the first pass leaves it in the tray; later requests show it
        HoldPolling(true);
        return;
    }
    ShowMainWindow();
    if (m_onFirstShown) {
        std::function<void()> once = std::move(m_onFirstShown);
        m_onFirstShown = nullptr;
        once();
    }
}

void CMainWnd::SendSysCommand(UINT command) {
    SendMessage(WM_SYSCOMMAND, command, 0);
}

int CMainWnd::FitWindowToMonitor() {
    // A minimised window counts as hidden there and would end hidden: without a tray icon nothing
    // could bring it back, so it is minimised again instead.
    const bool wasMinimized = IsWindowVisible() && IsMinimized();
    const int dpi = ::zevik::FitWindowToMonitor(*this);
    if (wasMinimized) {
        ShowWindow(true, false);
        SendSysCommand(kScMinimize);
    }
    return dpi;
}

void CMainWnd::StopWorkers() {
    ShowWindow(false, false);
    if (m_workersStopped) {
        return;
    }
    m_workersStopped = true;
    StopScan();
    m_sync.StopThread();
    ForEachDevice({kFamilyMouse, kFamilyKeyboard, kFamilyMousepad, kFamilyHeadset},
                  [](COrbantixUSBDevice& device) { device.StopWorkers(); });
    StopOwnCapture();
    for (const int command : kAudioCaptureStopCommands) {
        m_outside->SendToAudioCapture(command, 0);
    }
}

void CMainWnd::ExitProgram() {
    // Idempotent: the tray's exit, the update event, the window's destruction and a second close
    // all end here.
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    if (m_trayMenu) {
        m_trayMenu->Close();
    }
    // No dialog may hold the end back: the settings window gives up a running download.
    CSecondaryWnd::EndAllOwnedBy(GetHWND());
    StopWorkers();
    ForEachDevice({kFamilyMouse, kFamilyKeyboard, kFamilyMousepad, kFamilyHeadset},
                  [](COrbantixUSBDevice& device) {
                      if (device.CommandChannel().IsOpen()) {
                          device.SaveDeviceProfile();
                      }
                      device.CloseNotification();
                      device.CommandChannel().CloseConnections();
                  });
    m_tray.DeleteTrayIcon();
    if (m_onShutdown) {
        m_onShutdown();
    }
    if (CMessageLoop* loop = CMessageLoop::Current()) {
        loop->PostQuit(0);
    }
}

// ------------------------------------------------------------------------------------ profiles

void CMainWnd::SwitchProfileOfCurrentDevice() {
    COrbantixUSBDevice* device = GetCurrentDevice();
    CDeviceProfileUI* bar = ProfileBarOf(device);
    if (bar == nullptr || bar->GetSelectedIndex() < 0) {
        return;
    }
    bar->SelectProfile(bar->GetSelectedIndex(), false);
    ReportProfileSwitch(*this, device->SwitchProfile());
}

void CMainWnd::ExchangeProfileFile(bool save) {
    COrbantixUSBDevice* device = GetCurrentDevice();
    CDeviceProfileUI* bar = ProfileBarOf(device);
    if (bar == nullptr || bar->GetSelectedIndex() < 0 || !m_chooseFile) {
        return;
    }
    const std::string suggested = save ? device->GetProfileName() + ".json" : std::string();
    const std::filesystem::path path = m_chooseFile(save, suggested);
    if (path.empty()) {
        return;
    }
    const ProfileResult result = save ? bar->ExportProfile(path) : bar->ImportProfile(path);
    if (!result.ok()) {
        Trace("profile " + std::string(save ? "export" : "import") + ": " + result.message);
    } else if (result.deviceMustReload) {
        ReportProfileSwitch(*this, device->SwitchProfile());
    }
}

void CMainWnd::SetKeyCapture(bool on) { SendMessage(UM_MACRO_HOOK, on ? 1 : 0, 0); }

void CMainWnd::OnMacroHook(bool install) {
    if (!install) {
        if (!m_hook.IsInstalled()) return;
        m_hook.Uninstall();
        SetKeyEditState(*this, 1, 1);
        return;
    }
    std::string error;
    if (m_hook.Install(kHookKeyCapture, error) == 0) {
        Trace("key capture: " + error);
        return;
    }
    if (m_hook.TakesWindowKeys()) Trace("key capture from the key edit's own keys: " + m_hook.LastError());
    SetKeyEditState(*this, 1, 0);
}

}  // namespace zevik
