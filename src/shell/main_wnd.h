#pragma once
// CMainWnd: the program's main window. This part holds its device-list role: it owns the live
// interface list and the scan thread, creates a device tab (power panel, device option and device
// page) per device family, opens and closes the devices' interfaces as the scan thread reports rows
// arriving and leaving, switches a device between its cable and its receiver, and keeps the device
// selector's visibility rule.
//
// Everything here runs on the UI thread; the scan thread reaches it only through UM_DEVICE_ARRIVED and
// UM_DEVICE_REMOVED sent with the loop's Send.

#include <array>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/device_catalogue.h"
#include "devices/device_context.h"
#include "devices/discovery_interface_list.h"
#include "devices/scan_thread.h"
#include "ui/dialog_builder_callback.h"
#include "ui/window_wnd.h"

namespace zevik {

class CContainerUI;
class CControlUI;
class CDeviceOptionUI;
class CMpDevicePowerUI;
class COrbantixUSBDevice;
class CTabLayoutUI;

class CMainWnd : public CWindowWnd, public IDialogBuilderCallback {
public:
    enum Family { kFamilyMouse, kFamilyKeyboard, kFamilyMousepad, kFamilyHeadset, kFamilyCount };
    static constexpr std::string_view kMainSkin = "XML\\main.xml";
    // Total time the link query may take when a device moves to its receiver.
    static constexpr std::chrono::milliseconds kLinkQueryBudget{1300};
    static constexpr std::chrono::milliseconds kLinkQueryPause{50};

    // context.hidBackend must be set; context.uiLoop is the loop the window lives on.
    explicit CMainWnd(const DeviceContext& context);
    ~CMainWnd() override;

    std::string_view GetWindowClassName() const override { return "ZevikMainWnd"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    CControlUI* CreateControl(std::string_view className) override;

    // Builds the main skin (below the resource path) and the tabs of the first two tab rows. False
    // with the builder's message when the skin does not build or lacks a device-list container.
    bool BuildSkin(std::string& error, std::string_view skin = kMainSkin);
    // Folder under which the devices build their profile paths.
    void SetProfileFolder(const std::filesystem::path& folder) { m_profileFolder = folder; }

    // The scan thread (the window must exist).
    bool StartScan();
    void StopScan();
    CScanThread* Scanner() { return m_scan.get(); }

    // ---- handlers (UI thread) ----
    void OnDeviceArrived(std::size_t row);
    void OnDeviceRemoved(std::size_t row);
    bool CreateDeviceTab(std::size_t row, int variant);
    void ConnectDevice(std::size_t row);
    void DisconnectDevice(std::size_t row);
    void SwitchConnection(std::size_t cableRow);
    // UM_DEVICE_POWER: shows (true) or hides the option at that index of "device_select_layout".
    void ShowDevice(int optionIndex, bool show);
    // Counts the visible options and applies the visibility rule; the count.
    int RefreshDeviceList();

    // ---- queries ----
    CDiscoveryInterfaceList& InterfaceList() { return m_list; }
    CControlUI* Root() const { return m_root.get(); }
    CControlUI* FindControl(std::string_view name) const;
    const std::vector<COrbantixUSBDevice*>& Devices(Family family) const { return m_devices[family]; }
    // The device whose tab shows the row's peripheral; null when none.
    COrbantixUSBDevice* DeviceForRow(std::size_t row) const;
    // The tab identity row of a live row (the cable command row of the device), nothing when none.
    std::optional<std::size_t> IdentityRow(std::size_t row) const;
    int VisibleDeviceCount() const;
    // The value last offered to synchronised lighting (1: two or more devices shown).
    int SameModeOffer() const { return m_sameModeOffer; }
    // Link queries sent by the last switch to a receiver.
    int LastLinkQueries() const { return m_lastLinkQueries; }

    static std::optional<Family> FamilyOfKind(int kind);

private:
    CContainerUI* Selector() const;
    CTabLayoutUI* Tab(std::string_view name) const;
    void SelectOption(CDeviceOptionUI* option);
    void HideOption(CDeviceOptionUI* option);
    bool OpenCommand(COrbantixUSBDevice& device, bool receiver, const std::string& path);
    void CloseCommand(COrbantixUSBDevice& device);
    bool QueryLink(COrbantixUSBDevice& device);

    DeviceContext m_context;
    CDiscoveryInterfaceList m_list;
    std::unique_ptr<CScanThread> m_scan;
    std::unique_ptr<CControlUI> m_root;
    std::array<std::vector<COrbantixUSBDevice*>, kFamilyCount> m_devices;
    std::vector<CMpDevicePowerUI*> m_powerPanels;
    std::filesystem::path m_profileFolder;
    UINT m_activateMsg = 0;
    int m_sameModeOffer = 0;
    int m_lastLinkQueries = 0;
};

}  // namespace zevik
