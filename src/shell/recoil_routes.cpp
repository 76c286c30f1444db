#include "shell/recoil_routes.h"

#include "devices/mouse_device.h"
#include "editors/shoot_control_ui.h"
#include "platform/trace.h"
#include "shell/main_window_ops.h"
#include "ui/option_ui.h"

namespace zevik {

namespace {

COrbantixMouseDevice* CurrentMouse(IMainWindowOps& ops) {
    return dynamic_cast<COrbantixMouseDevice*>(ops.GetCurrentDevice());
}

CShootControlUI* CurrentPage(IMainWindowOps& ops) { return ShootControlOf(CurrentMouse(ops)); }

bool BecameSelected(const TNotifyUI& msg) {
    const auto* option = dynamic_cast<const COptionUI*>(msg.pSender);
    return option != nullptr && option->IsSelected();
}

}  // namespace

CShootControlUI* ShootControlOf(COrbantixUSBDevice* device) { return FindControlOfClass<CShootControlUI>(device); }

int SendRecoilPatterns(IMainWindowOps& ops) {
    COrbantixMouseDevice* mouse = CurrentMouse(ops);
    if (mouse == nullptr) return 0;
    // Patterns the mouse's folder lacks get their default copies first, as the page shows them.
    if (CShootControlUI* page = ShootControlOf(mouse)) page->LoadGuns();
    const int result = mouse->WriteRecoilData();
    if (result != 1) ops.AskUser("message_text_7", 0);
    return result;
}

void AddRecoilRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "shoot_gun_op_", [&ops](TNotifyUI& msg, int n) {
        CShootControlUI* page = CurrentPage(ops);
        if (page == nullptr || !BecameSelected(msg)) return;
        page->SelectGun(n);
        page->ShowCurrentBullet();
    });
    router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Prefix, "bullet_op_", [&ops](TNotifyUI& msg, int n) {
        if (CShootControlUI* page = CurrentPage(ops); page != nullptr && BecameSelected(msg)) page->SelectBullet(n);
    });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "bullet_selected_prev", [&ops](TNotifyUI&, int) {
        if (CShootControlUI* page = CurrentPage(ops)) page->PrevBullet();
    });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "bullet_selected_next", [&ops](TNotifyUI&, int) {
        if (CShootControlUI* page = CurrentPage(ops)) page->NextBullet();
    });
    for (const char* edit : {"bullet_x_eidt", "bullet_y_eidt", "bullet_delay_eidt"}) {
        router.Add(DUI_MSGTYPE_KILLFOCUS, RouteMatch::Name, edit, [&ops](TNotifyUI&, int) {
            CShootControlUI* page = CurrentPage(ops);
            if (page != nullptr && !page->SaveCurrentBullet()) Trace("recoil: the bullet could not be saved");
        });
    }
    router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "bullet_x_check", [&ops](TNotifyUI&, int) {
        if (CShootControlUI* page = CurrentPage(ops)) page->UpdateXCaption();
    });
    router.Add(DUI_MSGTYPE_SELECTCHANGED, RouteMatch::Name, "bullet_y_check", [&ops](TNotifyUI&, int) {
        if (CShootControlUI* page = CurrentPage(ops)) page->UpdateYCaption();
    });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "shootdate_reset_btn", [&ops](TNotifyUI&, int) {
        std::string error;
        if (CShootControlUI* page = CurrentPage(ops); page != nullptr && !page->ResetCurrentGun(error))
            Trace("recoil: " + error);
    });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "shootdate_import_btn", [&ops](TNotifyUI&, int) {
        CShootControlUI* page = CurrentPage(ops);
        if (page == nullptr) return;
        const std::filesystem::path file = ops.ChooseFile(false, "Import recoil pattern", {}, "Shoot Files", {"*.shoot", "*.Shoot"});
        std::string error;
        if (!file.empty() && !page->ImportGun(file, error)) Trace("recoil: " + error);
    });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "shootdate_export_btn", [&ops](TNotifyUI&, int) {
        CShootControlUI* page = CurrentPage(ops);
        if (page == nullptr) return;
        const std::filesystem::path file = ops.ChooseFile(
            true, "Export recoil pattern", "ShootData_" + std::to_string(page->CurrentGun()) + ".Shoot", "Shoot Files",
            {"*.shoot", "*.Shoot"});
        std::string error;
        if (!file.empty() && !page->ExportGun(file, error)) Trace("recoil: " + error);
    });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "shootdate_save_btn",
               [&ops](TNotifyUI&, int) { SendRecoilPatterns(ops); });
}

}  // namespace zevik
