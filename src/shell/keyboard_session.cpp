#include "shell/keyboard_session.h"

#include "devices/discovery_interface_list.h"
#include "devices/keyboard_device.h"
#include "shell/headless_session.h"
#include "shell/main_wnd.h"

namespace zevik {

namespace {

bool KeyboardRowLive(CMainWnd& window) {
    const CDiscoveryInterfaceList& list = window.InterfaceList();
    for (std::size_t i = 0; i < list.Size(); ++i) {
        const auto row = list.Row(i);
        if (row && (row->kind == kDeviceKindKeyboard || row->kind == kDeviceKindKeyboardReceiver) && list.IsLive(i)) {
            return true;
        }
    }
    return false;
}

}  // namespace

COrbantixKeyboardDevice* ConnectedKeyboard(CHeadlessSession& session) {
    for (COrbantixUSBDevice* device : session.Window().Devices(CMainWnd::kFamilyKeyboard)) {
        auto* keyboard =
            static_cast<COrbantixKeyboardDevice*>(device->GetInterface(COrbantixKeyboardDevice::kClassName));
        if (keyboard != nullptr && keyboard->CommandChannel().IsOpen() && keyboard->HasMirror()) return keyboard;
    }
    return nullptr;
}

COrbantixKeyboardDevice* WaitForKeyboard(CHeadlessSession& session, std::chrono::milliseconds limit) {
    CMainWnd& window = session.Window();
    // Once the first scan pass is through, a keyboard that is not among its arrivals is not there.
    session.PumpUntil(
        [&] { return ConnectedKeyboard(session) != nullptr || (window.FirstScanDone() && !KeyboardRowLive(window)); },
        limit);
    return ConnectedKeyboard(session);
}

}  // namespace zevik
