#include "shell/main_routes.h"

#include <array>
#include <string>
#include <string_view>

#include "devices/keyboard_device.h"
#include "devices/mouse_device.h"
#include "devices/orbantix_usb_device.h"
#include "settings/device_profile_ui.h"
#include "shell/audio_lighting_routes.h"
#include "shell/key_routes.h"
#include "shell/keyboard_lighting_routes.h"
#include "shell/headset_routes.h"
#include "shell/keyboard_routes.h"
#include "shell/macro_routes.h"
#include "shell/lighting_routes.h"
#include "shell/recoil_routes.h"
#include "shell/main_window_ops.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

const PageTabRoute kPageTabRoutes[10] = {{"deng_Op_tab", 2, false},       {"key_Op_tab", 2, true},
                                         {"macro_Op_tab", 3, true},       {"performance_Op_tab", 8, true},
                                         {"system_Op_tab", 4, true},      {"cursor_Op_tab", 5, false},
                                         {"6533_voice_Op_tab", 6, false}, {"magic_Op_tab", 7, false},
                                         {"About_Op_tab", 9, true},       {"Virtual7.1_Op_tab", 10, false}};

namespace {

// The tabs that follow the page: the performance tab alone, or exactly one of the other four.
constexpr std::array<const char*, 5> kCachedTabs = {"key_Op_tab", "macro_Op_tab", "system_Op_tab",
                                                    "About_Op_tab", "performance_Op_tab"};

bool IsSelectedOption(const TNotifyUI& msg) {
    const auto* option = dynamic_cast<const COptionUI*>(msg.pSender);
    return option != nullptr && option->IsSelected();
}

COrbantixMouseDevice* CurrentMouse(IMainWindowOps& ops) {
    return dynamic_cast<COrbantixMouseDevice*>(ops.GetCurrentDevice());
}

// The profile bar inside the current device's page.
CDeviceProfileUI* CurrentProfileBar(IMainWindowOps& ops) {
    return ProfileBarOf(ops.GetCurrentDevice());
}

// A function page not built yet holds a placeholder for each tab that shows it (two tabs share page
// 2), with the tab's name as user data: the chosen tab's placeholder shows, the others hide. A built
// part of a shared page is marked the same way.
constexpr std::string_view kPagePlaceholder = "page_placeholder";
constexpr std::string_view kSharedPagePart = "shared_page";

void ShowPlaceholdersOf(COrbantixUSBDevice& device, std::string_view tab) {
    device.FindControl(
        [tab](CControlUI& control) {
            const std::string& name = control.GetName();
            if ((name == kPagePlaceholder || name == kSharedPagePart) && !control.GetUserData().empty()) {
                control.SetVisible(control.GetUserData() == tab);
            }
            return false;
        },
        UIFIND_ALL);
}

}  // namespace

CDeviceProfileUI* ProfileBarOf(COrbantixUSBDevice* device) {
    if (device == nullptr || device->GetManager() == nullptr) return nullptr;
    const auto bars = device->GetManager()->FindSubControlsByClass(device, CDeviceProfileUI::kClassName);
    return bars.empty() ? nullptr : dynamic_cast<CDeviceProfileUI*>(bars.front());
}

void AddWindowRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    router.SkipDefault("click_wpremove");
    router.SkipDefault("click_wpedit");
    const auto click = [&router](const char* name, CNotifyRouter::Handler handler) {
        router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, name, std::move(handler));
    };
    click("closebtn", [&ops](TNotifyUI&, int) { ops.CloseToTray(); });
    click("nodevice_ok_btn", [&ops](TNotifyUI&, int) { ops.HideMainWindow(); });
    click("setbtn", [&ops](TNotifyUI&, int) { ops.OpenSettingsWindow(false); });
    click("skinbtn", [&ops](TNotifyUI&, int) { ops.OpenSkinFrame(); });
    click("minbtn", [&ops](TNotifyUI&, int) { ops.SendSysCommand(kScMinimize); });
    click("maxbtn", [&ops](TNotifyUI&, int) { ops.SendSysCommand(kScMaximize); });
    click("restorebtn", [&ops](TNotifyUI&, int) { ops.SendSysCommand(kScRestore); });
    click("default_btn", [&ops](TNotifyUI&, int) {
        if (ops.GetCurrentDevice() == nullptr || ops.AskUser("message_text_22", 1) != 1) return;
        if (COrbantixUSBDevice* device = ops.GetCurrentDevice()) device->RestoreDefaults();
    });
}

void AddPageTabRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    for (const PageTabRoute& tab : kPageTabRoutes) {
        router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, tab.name, [&ops, tab](TNotifyUI& msg, int) {
            if (!IsSelectedOption(msg)) return;
            COrbantixUSBDevice* device = ops.GetCurrentDevice();
            if (device == nullptr) return;
            device->SelectFunctionPage(tab.page);
            ShowPlaceholdersOf(*device, tab.name);
            if (!tab.updateCachedTabs) return;
            const std::string_view selected = tab.name;
            for (const char* name : kCachedTabs) {
                if (auto* option = dynamic_cast<COptionUI*>(ops.FindMainControl(name))) {
                    option->Selected(selected == name, false);
                }
            }
        });
    }
}

void AddProfileBarRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    using BarOp = ProfileResult (CDeviceProfileUI::*)();
    struct Button {
        const char* name;
        const char* question;
        BarOp op;
    };
    static constexpr Button kButtons[] = {
        {"device_add_btn", "message_text_27", &CDeviceProfileUI::AddProfile},
        {"device_sub_btn", "message_text_29", &CDeviceProfileUI::DeleteProfile},
        {"device_copy_btn", "message_text_26", &CDeviceProfileUI::CopyProfile},
        {"device_reset_btn", "message_text_22", &CDeviceProfileUI::ResetProfile}};
    for (const Button& button : kButtons) {
        router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, button.name, [&ops, button](TNotifyUI&, int) {
            if (CurrentProfileBar(ops) == nullptr) return;
            if (ops.AskUser(button.question, 1) != 1) return;
            // The dialog ran the loop: the device may have gone meanwhile.
            CDeviceProfileUI* bar = CurrentProfileBar(ops);
            if (bar == nullptr) return;
            const ProfileResult result = (bar->*button.op)();
            if (button.op == &CDeviceProfileUI::ResetProfile) {
                ops.ResetColourChoices();
                ops.ResetMusicSettings();
            }
            // A reset changes the selected profile under the device: it takes it up again.
            if (result.deviceMustReload && button.op == &CDeviceProfileUI::ResetProfile) {
                ReportProfileSwitch(ops, ops.GetCurrentDevice()->SwitchProfile());
            }
        });
    }
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "device_profile_edit_save_btn", [&ops](TNotifyUI&, int) {
        CDeviceProfileUI* bar = CurrentProfileBar(ops);
        if (bar == nullptr) return;
        const std::string name = bar->GetNameEditText();
        if (name.empty()) return;
        const ProfileResult result = bar->RenameProfile(name);
        if (result.ok()) return;
        if (result.code == 0) {
            ops.AskUser("message_text_5", 0);  // another profile has this name
        } else if (result.code == 2) {
            ops.AskUser("message_text_25", 0);  // nothing but blanks
        }
    });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::NameCase, "profile_fun_spread_btn", [&ops](TNotifyUI&, int) {
        if (CDeviceProfileUI* bar = CurrentProfileBar(ops)) bar->ShowProfileMenu(!bar->IsProfileMenuShown());
    });
}

void AddMousePageRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    // The mouse page decides what each of its controls means; the table fixes which reach it.
    const auto toMouse = [&ops](TNotifyUI& msg, int) {
        if (COrbantixMouseDevice* mouse = CurrentMouse(ops)) {
            mouse->HandlePageNotification(msg);
        } else if (auto* keyboard = dynamic_cast<COrbantixKeyboardDevice*>(ops.GetCurrentDevice())) {
            keyboard->HandlePageNotification(msg);  // the report rate's options share the mouse's names
        }
    };
    struct Entry {
        const char* type;
        RouteMatch match;
        const char* name;
    };
    static constexpr Entry kEntries[] = {
        {DUI_MSGTYPE_CLICK, RouteMatch::Prefix, "DPI_color_option_"},
        {DUI_MSGTYPE_CLICK, RouteMatch::Prefix, "DPI_select_check_"},
        {DUI_MSGTYPE_CLICK, RouteMatch::Prefix, "DPI_edit_"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "DPI_enable_check_"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "polling_rate_option_"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "Silent_Altitude_option_"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "deep_sleep_option_"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "Linear_Calibration_option_"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "motion_sync_option_"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "sensor_lif_option_"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "mouse_device_seting_option_"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "pointer_precision_check"},
        {DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "scrolls_page_check"},
        {DUI_MSGTYPE_VALUECHANGED, RouteMatch::Prefix, "DPI_slider_"},
        {DUI_MSGTYPE_VALUECHANGED, RouteMatch::Name, "pointer_speed_slider"},
        {DUI_MSGTYPE_VALUECHANGED, RouteMatch::Name, "scroll_speed_slider"},
        {DUI_MSGTYPE_VALUECHANGED, RouteMatch::Name, "double_click_slider"},
        {DUI_MSGTYPE_MOVEVALUECHANGED, RouteMatch::Prefix, "DPI_slider_"},
        {DUI_MSGTYPE_ITEMSELECT, RouteMatch::Name, "Dormancy_combo_timeSelect"},
        {DUI_MSGTYPE_ITEMSELECT, RouteMatch::Name, "Key_Delay_combo_timeSelect"},
        {DUI_MSGTYPE_ITEMSELECT, RouteMatch::Name, "Anti_Shake_combo_timeSelect"},
        {DUI_MSGTYPE_KILLFOCUS, RouteMatch::Prefix, "DPI_edit_"},
    };
    for (const Entry& entry : kEntries) router.Add(entry.type, entry.match, entry.name, toMouse);
}

void AddMenuCommandRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    router.Add(kMenuCommandType, RouteMatch::Name, "exit", [&ops](TNotifyUI&, int) { ops.ExitProgram(); });
    router.Add(kMenuCommandType, RouteMatch::Name, "show", [&ops](TNotifyUI&, int) { ops.ShowMainWindow(); });
    router.Add(kMenuCommandType, RouteMatch::Name, "about_menu",
               [&ops](TNotifyUI&, int) { ops.OpenAboutWindow(); });
    router.Add(kMenuCommandType, RouteMatch::Name, "setwnd_menu",
               [&ops](TNotifyUI&, int) { ops.OpenSettingsWindow(true); });
}

void AddMainRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    AddWindowRoutes(router, ops);
    AddPageTabRoutes(router, ops);
    AddProfileBarRoutes(router, ops);
    AddMousePageRoutes(router, ops);
    AddKeyboardPageRoutes(router, ops);
    AddHeadsetPageRoutes(router, ops);
    AddLightingRoutes(router, ops);
    AddKeyboardLightingRoutes(router, ops);
    AddAudioLightingRoutes(router, ops);
    AddKeyRoutes(router, ops);
    AddMacroRoutes(router, ops);
    AddRecoilRoutes(router, ops);
    AddMenuCommandRoutes(router, ops);
}

}  // namespace zevik
