#include "zevik_window.h"

#include <mutex>

#include "devices/device_option_ui.h"
#include "devices/mouse_device.h"
#include "platform/trace.h"
#include "shell/main_routes.h"
#include "transport/command_channel.h"
#include "ui/registered_messages.h"
#include "ui/ui_lib.h"

namespace zevik {

namespace {

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

CZevikWindow::CZevikWindow(const DeviceContext& context, std::string mousePath, bool trayAvailable)
    : context_(context), mousePath_(std::move(mousePath)), trayAvailable_(trayAvailable) {
    AddMainRoutes(router_, *this);
}

CZevikWindow::~CZevikWindow() {
    tray_.DeleteTrayIcon();
}

CControlUI* CZevikWindow::CreateControl(std::string_view className) {
    if (className == COrbantixMouseDevice::kClassName) {
        auto* mouse = new COrbantixMouseDevice(context_);
        mouse_ = mouse;
        return mouse;
    }
    if (className == CDeviceOptionUI::kClassName) return new CDeviceOptionUI;
    if (className == "DeviceKeyButton") return new CDeviceKeyButtonUI;
    if (className == "SelectPanel") return new CSelectPanelUI;
    return nullptr;
}

void CZevikWindow::InitWindow() {
    tray_.CreateTrayIcon(GetHWND(), kTrayIconId, "ZEVIK R300 Prime", kTrayMessage);
    auto* pages = dynamic_cast<CTabLayoutUI*>(m_pm.FindControl("device_switch"));
    CControlUI* noDevice = m_pm.FindControl("No_device_Link");
    if (mousePath_.empty() || pages == nullptr) return;
    CDialogBuilder builder;
    CControlUI* page = builder.Create("XML\\DeviceXml\\mousedevice.xml", {}, this, &m_pm);
    if (page == nullptr || mouse_ == nullptr) {
        Trace("zevik: the mouse page did not load: " + builder.GetLastError());
        delete page;
        mouse_ = nullptr;
        return;
    }
    pages->Add(page);
    page_ = page;
    pages->SelectItem(page, false);
    if (noDevice != nullptr) noDevice->SetVisible(false);
    // The mouse's row of the device catalogue gives its page's counts and names.
    const DeviceTabEntry& tab = kDeviceTabTable[0];
    const DevicePageEntry& entry = kDevicePageTable[0];
    mouse_->SetMainWindow(GetHWND());
    mouse_->SetPageName(entry.pageLayout);
    mouse_->SetLightButtonCount(entry.lightButtonCount);
    mouse_->SetKeyButtonCount(entry.keyButtonCount);
    mouse_->SetBatteryPanel(entry.batteryPanel);
    mouse_->SetLogoLed(entry.logoLed);
    mouse_->SetKindName(tab.kindName);
    mouse_->SetProfileDeviceIndex(tab.profileDeviceIndex);
    mouse_->SetLightConfigName(entry.lightConfiguration);
    mouse_->BindPage();
    AddDeviceCard(tab);
}

void CZevikWindow::AddDeviceCard(const DeviceTabEntry& tab) {
    auto* selector = dynamic_cast<CContainerUI*>(m_pm.FindControl("device_select_layout"));
    if (selector == nullptr) return;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(tab.optionLayout, {}, this, &m_pm));
    auto* option =
        root ? static_cast<CDeviceOptionUI*>(root->GetInterface(CDeviceOptionUI::kClassName)) : nullptr;
    if (option == nullptr) return;
    selector->Add(root.release());
    option->SetKindAndVariant(tab.kind, tab.variant);
    option->SetKindName(tab.kindName);
    option->SetDevicePage(mouse_);
    option->SetPageControl(mouse_);
    option->SetDevice(mouse_);
    mouse_->SetDeviceOption(option);
    option->Select(true);
}

bool CZevikWindow::ConnectMouse() {
    if (mouse_ == nullptr) return false;
    bool opened = false;
    {
        CCommandChannel& channel = mouse_->CommandChannel();
        std::lock_guard lock(channel.ExchangeLock());
        opened = channel.CableInterface().Open(mousePath_, true, true, true, false);
        if (opened) {
            channel.SetOpen(true);
            channel.SetConnectionMode(kConnectionCable);
        }
    }
    if (opened && mouse_->Connect() == 1) return true;
    // A mouse that cannot be reached is not served: the window says there is no device.
    if (page_ != nullptr) page_->SetVisible(false);
    if (CControlUI* noDevice = m_pm.FindControl("No_device_Link")) noDevice->SetVisible(true);
    return false;
}

void CZevikWindow::ShowStartPage() {
    if (auto* tab = dynamic_cast<COptionUI*>(m_pm.FindControl("performance_Op_tab"))) tab->Selected(true);
}

void CZevikWindow::Notify(TNotifyUI& msg) {
    if (router_.Route(msg) == RouteResult::Consumed) return;
    WindowImplBase::Notify(msg);
}

LRESULT CZevikWindow::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    static const UINT updateEvent = RegisterWindowMessage(kUpdateEventMessageName);
    if (msg == updateEvent && wParam == kUpdateEventQuit) {
        // The updater asks the program to end before it replaces it.
        bHandled = true;
        ExitProgram();
        return 0;
    }
    if (msg == kTrayMessage) {
        bHandled = true;
        OnTrayAction(lParam);
        return 0;
    }
    if (msg == WM_MENUCLICK) {
        bHandled = true;
        // The record lives for this call only: take the name before anything else runs.
        const auto* command = reinterpret_cast<const MenuCmd*>(wParam);
        const std::string name = command != nullptr ? command->szName : std::string();
        router_.RouteCommand(kMenuCommandType, name);
        return 0;
    }
    if (msg == WM_CLOSE) {
        // The window manager's close button keeps the program in the tray, as "closebtn" does.
        bHandled = true;
        if (!shutDown_) CloseToTray();
        return 0;
    }
    return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, bHandled);
}

void CZevikWindow::OnTrayAction(LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONUP || mouseMessage == WM_LBUTTONDBLCLK) {
        if (IsWindowVisible() && !IsMinimized())
            HideMainWindow();
        else
            ShowMainWindow();
    } else if (mouseMessage == WM_RBUTTONUP) {
        ShowTrayMenu();
    }
}

void CZevikWindow::ShowTrayMenu() {
    if (trayMenu_) trayMenu_->Close();
    trayMenu_ = std::make_unique<CMenuWnd>();
    trayMenu_->Init(nullptr, "XML_MENU", UiPoint{0, 0}, &m_pm);
}

COrbantixUSBDevice* CZevikWindow::GetCurrentDevice() {
    if (mouse_ == nullptr || !mouse_->CommandChannel().IsOpen()) return nullptr;
    return mouse_;
}

CControlUI* CZevikWindow::FindMainControl(std::string_view name) {
    return m_pm.FindControl(name);
}

void CZevikWindow::CloseToTray() {
    if (trayAvailable_)
        HideMainWindow();
    else
        SendSysCommand(kScMinimize);
}

void CZevikWindow::HideMainWindow() {
    ShowWindow(false, false);
}

void CZevikWindow::ShowMainWindow() {
    ShowWindow(true, true);
    if (IsMinimized()) SendSysCommand(kScRestore);
}

void CZevikWindow::ActivateMainWindow() {
    ShowMainWindow();
    if (GetHost() != nullptr) GetHost()->BringToFront();
}

void CZevikWindow::SendSysCommand(UINT command) {
    SendMessage(WM_SYSCOMMAND, command, 0);
}

void CZevikWindow::ExitProgram() {
    // Idempotent: the tray's exit, the update event and a second close all end here.
    if (shutDown_) return;
    shutDown_ = true;
    if (trayMenu_) trayMenu_->Close();
    tray_.DeleteTrayIcon();
    if (mouse_ != nullptr) {
        mouse_->SaveDeviceProfile();
        mouse_->StopWorkers();
        CCommandChannel& channel = mouse_->CommandChannel();
        std::lock_guard lock(channel.ExchangeLock());
        channel.CableInterface().Close();
        channel.SetOpen(false);
    }
    if (onShutdown_) onShutdown_();
    if (CMessageLoop* loop = CMessageLoop::Current()) loop->PostQuit(0);
}

}  // namespace zevik
