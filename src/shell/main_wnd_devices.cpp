#include <thread>

#include "devices/device_option_ui.h"
#include "devices/keyboard_device.h"
#include "devices/keyboard_device.h"
#include "devices/mouse_device.h"
#include "devices/mp_device_power_ui.h"
#include "devices/orbantix_usb_device.h"
#include "editors/light_control_ui.h"
#include "platform/trace.h"
#include "settings/device_profile_ui.h"
#include "settings/profile_locations.h"
#include "shell/lighting_handlers.h"
#include "shell/main_routes.h"
#include "shell/main_wnd.h"
#include "transport/command_channel.h"
#include "ui/container_ui.h"
#include "ui/dialog_builder.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/tab_layout_ui.h"

// The main window's device list: tabs per device family, and the devices' connections as the scan
// thread reports interfaces arriving and leaving.

namespace zevik {

namespace {

constexpr std::string_view kSelectorName = "device_select_layout";
constexpr std::string_view kPageTabName = "device_switch";
constexpr std::string_view kPowerTabName = "device_power_switch";
constexpr std::string_view kNoDeviceName = "No_device_Link";

bool IsCableKind(uint16_t kind) {
    return kind == kKindMouse || kind == kKindKeyboard;
}

}  // namespace

std::optional<CMainWnd::Family> CMainWnd::FamilyOfKind(int kind) {
    switch (kind) {
        case kKindMouse:
        case kKindMouseReceiver:
            return kFamilyMouse;
        case kKindKeyboard:
        case kKindKeyboardReceiver:
            return kFamilyKeyboard;
        case kKindMousepad:
            return kFamilyMousepad;
        case kKindHeadset:
            return kFamilyHeadset;
        default:
            return std::nullopt;
    }
}

CControlUI* CMainWnd::FindControl(std::string_view name) const {
    return const_cast<CPaintManagerUI&>(m_pm).FindControl(name);
}

CContainerUI* CMainWnd::Selector() const {
    CControlUI* c = FindControl(kSelectorName);
    return c ? static_cast<CContainerUI*>(c->GetInterface("Container")) : nullptr;
}

CTabLayoutUI* CMainWnd::Tab(std::string_view name) const {
    CControlUI* c = FindControl(name);
    return c ? static_cast<CTabLayoutUI*>(c->GetInterface("TabLayout")) : nullptr;
}

void CMainWnd::InitProfileBar(COrbantixUSBDevice& device, Family family) {
    CDeviceProfileUI* bar = ProfileBarOf(&device);
    if (bar == nullptr) {
        return;  // a page without a profile bar
    }
    static constexpr std::array<ProfileKind, kFamilyCount> kKinds = {
        ProfileKind::Mouse, ProfileKind::Keyboard, ProfileKind::MousePad, ProfileKind::Headset};
    const ProfileKind kind = kKinds[family];
    const CProfileLocations locations = ProfileLocationsOf(m_context);
    std::string error;
    if (!locations.EnsureKindFolder(kind, &error)) {
        Trace("profiles: " + error);
    }
    bar->SetPageKind(PageKind(kind));
    bar->SetStorePaths(locations.KindFolder(kind), locations.DefaultFile(kind));
    if (const ProfileResult result = bar->InitProfiles(); !result.ok()) {
        Trace("profiles: " + result.message);
    }
}

void CMainWnd::CreateFirstTabs() {
    if (Selector() == nullptr || Tab(kPageTabName) == nullptr || Tab(kPowerTabName) == nullptr) {
        Trace("main skin: the device list containers are missing");
        return;
    }
    // The mouse and keyboard tabs exist before any device is found.
    const InterfaceTable table = MakeInterfaceTable();
    for (std::size_t tab = 0; tab < 2; ++tab) {
        const DeviceTabEntry& entry = kDeviceTabTable[tab];
        if (auto row = FindInterfaceRow(table, static_cast<uint16_t>(entry.vendorId),
                                        static_cast<uint16_t>(entry.productId),
                                        static_cast<uint16_t>(entry.kind), kRoleCommand)) {
            CreateDeviceTab(*row, 0);
        }
    }
    RefreshDeviceList();
}

bool CMainWnd::StartScan() {
    if (m_context.hidBackend == nullptr || m_context.uiLoop == nullptr || GetHWND() == 0) {
        return false;
    }
    if (!m_scan) {
        m_scan = std::make_unique<CScanThread>(*m_context.hidBackend, *m_context.uiLoop, GetHWND(),
                                               m_messages.activate, m_list);
    }
    return m_scan->IsRunning() || m_scan->Start();
}

void CMainWnd::StopScan() {
    if (m_scan) {
        m_scan->Stop();
    }
}

std::optional<std::size_t> CMainWnd::IdentityRow(std::size_t row) const {
    const std::vector<DeviceInterfaceEntry> live = m_list.Snapshot();
    if (row >= live.size()) {
        return std::nullopt;
    }
    std::size_t id = row;
    if (live[row].role == kRoleNotification) {
        auto command =
            FindInterfaceRow(live, live[row].vendorId, live[row].productId, live[row].kind, kRoleCommand);
        if (!command) {
            return std::nullopt;
        }
        id = *command;
    }
    const DeviceInterfaceEntry& e = live[id];
    if (IsReceiverKind(e.kind) && e.hasPartner != 0 && e.partnerRow < live.size() &&
        live[e.partnerRow].partnerRow == id) {
        id = e.partnerRow;
    }
    return id;
}

COrbantixUSBDevice* CMainWnd::DeviceForRow(std::size_t row) const {
    const auto id = IdentityRow(row);
    const auto entry = id ? m_list.Row(*id) : std::nullopt;
    if (!entry) {
        return nullptr;
    }
    for (const auto& family : m_devices) {
        for (COrbantixUSBDevice* device : family) {
            if (SameIdentity(device->GetIdentity(), *entry)) {
                return device;
            }
        }
    }
    return nullptr;
}

void CMainWnd::OnDeviceArrived(std::size_t row) {
    const auto entry = m_list.Row(row);
    if (!entry || !FamilyOfKind(entry->kind)) {
        return;
    }
    if (DeviceForRow(row) == nullptr && !CreateDeviceTab(row, 0)) {
        return;  // no tab for this device: the arrival is a no-op
    }
    ConnectDevice(row);
    RefreshDeviceList();
}

void CMainWnd::OnDeviceRemoved(std::size_t row) {
    if (!m_list.Row(row)) {
        return;
    }
    DisconnectDevice(row);
    RefreshDeviceList();
}

bool CMainWnd::CreateDeviceTab(std::size_t row, int variant) {
    const auto id = IdentityRow(row);
    const auto identity = id ? m_list.Row(*id) : std::nullopt;
    CContainerUI* selector = Selector();
    CTabLayoutUI* pages = Tab(kPageTabName);
    CTabLayoutUI* powers = Tab(kPowerTabName);
    if (!identity || selector == nullptr || pages == nullptr || powers == nullptr) {
        return false;
    }
    const auto family = FamilyOfKind(identity->kind);
    const auto tab = FindDeviceTab(identity->vendorId, identity->productId, identity->kind, variant);
    if (!family || !tab) {
        return false;
    }
    const DeviceTabEntry& tabEntry = kDeviceTabTable[*tab];
    const DevicePageEntry& pageEntry = kDevicePageTable[*tab];

    CDialogBuilder powerBuilder;
    CDialogBuilder optionBuilder;
    CDialogBuilder pageBuilder;
    std::unique_ptr<CControlUI> powerRoot(powerBuilder.Create(kPowerPanelLayout, {}, this, &m_pm));
    std::unique_ptr<CControlUI> optionRoot(optionBuilder.Create(tabEntry.optionLayout, {}, this, &m_pm));
    std::unique_ptr<CControlUI> pageRoot(pageBuilder.Create(pageEntry.pageLayout, {}, this, &m_pm));
    auto* power = powerRoot
                      ? static_cast<CMpDevicePowerUI*>(powerRoot->GetInterface(CMpDevicePowerUI::kClassName))
                      : nullptr;
    auto* option = optionRoot
                       ? static_cast<CDeviceOptionUI*>(optionRoot->GetInterface(CDeviceOptionUI::kClassName))
                       : nullptr;
    auto* device =
        pageRoot ? static_cast<COrbantixUSBDevice*>(pageRoot->GetInterface(COrbantixUSBDevice::kClassName))
                 : nullptr;
    if (power == nullptr || option == nullptr || device == nullptr) {
        return false;  // a layout is missing or its root is of the wrong class: nothing is added
    }

    powers->Add(powerRoot.release());
    power->SetKindAndVariant(identity->kind, variant);
    power->SetBatteryPanel(pageEntry.batteryPanel != 0);

    device->SetPageName(pageEntry.pageLayout);
    device->SetMainWindow(GetHWND());
    device->SetWindowUnseen(!IsSeenOnScreen());
    device->SetLightButtonCount(pageEntry.lightButtonCount);
    device->SetKeyButtonCount(pageEntry.keyButtonCount);
    device->SetBatteryPanel(pageEntry.batteryPanel);
    device->SetLogoLed(pageEntry.logoLed);
    device->SetPowerPanel(power);
    device->SetProfileFolder(ProfileLocationsOf(m_context).DataRoot());
    device->SetKindName(tabEntry.kindName);
    device->SetIdentity(*identity);
    device->SetProfileDeviceIndex(tabEntry.profileDeviceIndex);
    device->SetLightConfigName(pageEntry.lightConfiguration);
    if (auto* mouse = dynamic_cast<COrbantixMouseDevice*>(device)) {
        // A stage's colour is chosen in the picker over this window.
        mouse->SetColourPicker([this](lighting::Rgb initial) -> std::optional<lighting::Rgb> {
            const UiColor argb = 0xFF000000u | static_cast<UiColor>(initial.r) << 16 |
                                 static_cast<UiColor>(initial.g) << 8 | initial.b;
            const std::optional<UiColor> chosen = PickColour(argb);
            if (!chosen) return std::nullopt;
            return lighting::Rgb{static_cast<std::uint8_t>(*chosen >> 16),
                                 static_cast<std::uint8_t>(*chosen >> 8), static_cast<std::uint8_t>(*chosen)};
        });
    }
    device->BindPage();
    // A new page starts with the offer of synchronised lighting that stands.
    if (CLightControlUI* light = LightControlOf(device)) light->ShowSameModeOption(m_sameModeOffer != 0);

    pages->Add(pageRoot.release());
    m_devices[*family].push_back(device);
    InitProfileBar(*device, *family);
    ShowDesktopSettingsButtons();

    selector->Add(optionRoot.release());
    option->SetVisible(false);
    option->SetTabHeaderName(tabEntry.tabHeaderName);
    option->SetPageIndex(pages->GetItemIndex(device));
    option->SetPowerContainerName(tabEntry.powerContainer);
    option->SetPowerIndex(powers->GetItemIndex(power));
    option->SetKindAndVariant(identity->kind, variant);
    option->SetKindName(tabEntry.kindName);
    option->SetDevicePage(device);
    option->SetPageControl(device);
    option->SetDevice(device);
    device->SetDeviceOption(option);
    return true;
}

void CMainWnd::ConnectDevice(std::size_t row) {
    const auto entry = m_list.Row(row);
    COrbantixUSBDevice* device = DeviceForRow(row);
    if (!entry || device == nullptr) {
        return;
    }
    if (entry->role == kRoleNotification) {
        if (auto* keyboard = dynamic_cast<COrbantixKeyboardDevice*>(device)) {
            // The keyboard listens on both connections, each with its own reader.
            keyboard->OpenEventInterface(entry->kind, entry->devicePath);
        } else if (!device->IsNotificationOpen()) {
            device->OpenNotification(entry->devicePath);
        }
        return;
    }
    if (entry->hasPartner != 0 && m_list.IsLive(entry->partnerRow)) {
        const auto partner = m_list.Row(entry->partnerRow);
        // With the other connection open, the cable takes over and a receiver is left alone; when the
        // other connection could not be opened, this one is tried on its own below.
        if (partner && partner->partnerRow == row && device->CommandChannel().IsOpen()) {
            if (IsCableKind(entry->kind)) {
                SwitchConnection(row);
            }
            return;
        }
    }
    const bool receiver = IsReceiverKind(entry->kind);
    if (!device->CommandChannel().IsOpen() &&
        !device->CommandChannel().OpenConnection(entry->devicePath,
                                                 receiver ? kConnectionReceiver : kConnectionCable)) {
        return;  // stays closed and hidden until the row is plugged again
    }
    if (CDeviceOptionUI* option = device->GetDeviceOption()) {
        if (!receiver) {
            SelectOption(option);
        }
        option->StartConnectTimers();
    }
}

void CMainWnd::DisconnectDevice(std::size_t row) {
    const auto entry = m_list.Row(row);
    COrbantixUSBDevice* device = DeviceForRow(row);
    if (!entry || device == nullptr) {
        return;
    }
    if (entry->role == kRoleNotification) {
        if (auto* keyboard = dynamic_cast<COrbantixKeyboardDevice*>(device)) {
            keyboard->CloseEventInterface(entry->kind);
            return;
        }
        device->CloseNotification();
        // The device still talks through its other connection: listen there.
        if (entry->hasPartner != 0 && m_list.IsLive(entry->partnerRow)) {
            if (const auto partner = m_list.Row(entry->partnerRow)) {
                device->OpenNotification(partner->devicePath);
            }
        }
        return;
    }
    if (entry->hasPartner != 0 && m_list.IsLive(entry->partnerRow)) {
        if (IsCableKind(entry->kind)) {
            SwitchConnection(row);
        }
        return;
    }
    device->CommandChannel().CloseConnections();
    if (CDeviceOptionUI* option = device->GetDeviceOption()) {
        option->StopAllTimers();
        HideOption(option);
    }
}

bool CMainWnd::QueryLink(COrbantixUSBDevice& device) {
    // Bounded by total time, not by tries: each query may itself wait for its answer.
    m_lastLinkQueries = 0;
    const auto deadline = std::chrono::steady_clock::now() + kLinkQueryBudget;
    while (true) {
        ++m_lastLinkQueries;
        if (device.IsReceiverLinked()) {
            return true;
        }
        if (std::chrono::steady_clock::now() + kLinkQueryPause >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kLinkQueryPause);
    }
}

void CMainWnd::SwitchConnection(std::size_t cableRow) {
    const auto cable = m_list.Row(cableRow);
    COrbantixUSBDevice* device = DeviceForRow(cableRow);
    if (!cable || device == nullptr || cable->hasPartner == 0) {
        return;
    }
    const auto receiverRow = m_list.Row(cable->partnerRow);
    CCommandChannel& channel = device->CommandChannel();
    bool nowOnReceiver = false;
    bool opened = false;
    {
        std::lock_guard lock(channel.ExchangeLock());
        channel.SetOpen(false);
        if (channel.ReceiverMode()) {
            channel.CableInterface().Close();
            opened = channel.CableInterface().Open(cable->devicePath, true, true, true, false);
            nowOnReceiver = false;
        } else {
            channel.ReceiverInterface().Close();
            channel.CableInterface().Close();
            opened = receiverRow &&
                     channel.ReceiverInterface().Open(receiverRow->devicePath, true, true, true, false);
            nowOnReceiver = true;
        }
        if (opened) {
            channel.SetOpen(true);
            channel.SetConnectionMode(nowOnReceiver ? kConnectionReceiver : kConnectionCable);
        }
    }
    if (!opened) {
        return;
    }
    CDeviceOptionUI* option = device->GetDeviceOption();
    if (nowOnReceiver) {
        if (device->GetBatteryPanel() != 0) {
            QueryLink(*device);
        }
        device->PollStatus();
        if (option != nullptr) {
            option->StartTimer(1007, 2000);
        }
        device->Connect();
    } else {
        if (option != nullptr) {
            option->StartConnectTimers();
            ShowDevice(option->IndexInSelector(), true);
        }
        if (device->GetBatteryPanel() != 0) {
            device->PollStatus();
        }
    }
}

void CMainWnd::SelectOption(CDeviceOptionUI* option) {
    const bool noneVisible = VisibleDeviceCount() == 0;
    option->SetVisible(true);
    if (!noneVisible) {
        return;  // another device is shown and stays selected
    }
    option->Select(true);
    if (CTabLayoutUI* pages = Tab(kPageTabName)) {
        pages->SelectItem(option->GetPageIndex(), false);
    }
    if (CTabLayoutUI* powers = Tab(kPowerTabName)) {
        powers->SelectItem(option->GetPowerIndex(), false);
    }
    ShowStartPage(option->GetDevice());
}

void CMainWnd::ShowStartPage(COrbantixUSBDevice* device) {
    if (device == nullptr) {
        return;
    }
    for (const PageTabRoute& route : kPageTabRoutes) {
        auto* chosen = dynamic_cast<COptionUI*>(m_pm.FindSubControlByName(device, route.name));
        if (chosen != nullptr && chosen->IsSelected()) {
            return;  // the page the user chose stays
        }
    }
    // The mouse opens on its performance page; a device without one (the keyboard) on its lighting page.
    for (const char* name : {"performance_Op_tab", "deng_Op_tab"}) {
        auto* tab = dynamic_cast<COptionUI*>(m_pm.FindSubControlByName(device, name));
        if (tab == nullptr || !tab->IsVisible()) continue;
        if (!tab->IsSelected()) tab->Selected(true);  // as a click: the page route shows the page
        return;
    }
}

void CMainWnd::HideOption(CDeviceOptionUI* option) {
    const bool wasSelected = option->IsSelected();
    option->SetVisible(false);
    option->Select(false);
    if (!wasSelected) {
        return;
    }
    if (CContainerUI* selector = Selector()) {
        for (int i = 0; i < selector->GetCount(); ++i) {
            auto* other = static_cast<CDeviceOptionUI*>(
                selector->GetItemAt(i)->GetInterface(CDeviceOptionUI::kClassName));
            if (other != nullptr && other->IsVisible()) {
                other->Select(true);
                if (CTabLayoutUI* pages = Tab(kPageTabName)) {
                    pages->SelectItem(other->GetPageIndex(), false);
                }
                if (CTabLayoutUI* powers = Tab(kPowerTabName)) {
                    powers->SelectItem(other->GetPowerIndex(), false);
                }
                break;
            }
        }
    }
}

void CMainWnd::ShowDevice(int optionIndex, bool show) {
    CContainerUI* selector = Selector();
    CControlUI* item = selector ? selector->GetItemAt(optionIndex) : nullptr;
    auto* option =
        item ? static_cast<CDeviceOptionUI*>(item->GetInterface(CDeviceOptionUI::kClassName)) : nullptr;
    if (option == nullptr) {
        return;
    }
    if (show) {
        SelectOption(option);
    } else {
        HideOption(option);
    }
    RefreshDeviceList();
}

int CMainWnd::VisibleDeviceCount() const {
    CContainerUI* selector = Selector();
    int count = 0;
    for (int i = 0; selector != nullptr && i < selector->GetCount(); ++i) {
        count += selector->GetItemAt(i)->IsVisible() ? 1 : 0;
    }
    return count;
}

int CMainWnd::RefreshDeviceList() {
    const int count = VisibleDeviceCount();
    if (CControlUI* none = FindControl(kNoDeviceName)) {
        // Firmware too old for the program keeps it up while its notice stands.
        none->SetVisible(count == 0 || !m_noUpgradeMark);
    }
    // Without a device there is no battery or connection to show.
    if (CTabLayoutUI* powers = Tab(kPowerTabName)) {
        powers->SetVisible(count > 0);
    }
    if (count == 0) {
        if (CTabLayoutUI* powers = Tab(kPowerTabName)) {
            powers->SelectItem(0, false);
        }
        if (CTabLayoutUI* pages = Tab(kPageTabName)) {
            pages->SelectItem(0, false);
        }
    }
    OfferSameMode(count >= 2 ? 1 : 0);
    return count;
}

}  // namespace zevik
