#include "shell/pad_session.h"

#include "devices/discovery_interface_list.h"
#include "devices/mousepad_device.h"
#include "shell/headless_session.h"
#include "shell/main_wnd.h"

namespace zevik {

namespace {

bool PadRowLive(CMainWnd& window) {
    const CDiscoveryInterfaceList& list = window.InterfaceList();
    for (std::size_t i = 0; i < list.Size(); ++i) {
        const auto row = list.Row(i);
        if (row && row->kind == kDeviceKindMousepad && list.IsLive(i)) return true;
    }
    return false;
}

}  // namespace

COrbantixMousePadDevice* ConnectedPad(CHeadlessSession& session) {
    for (COrbantixUSBDevice* device : session.Window().Devices(CMainWnd::kFamilyMousepad)) {
        auto* pad = static_cast<COrbantixMousePadDevice*>(device->GetInterface(COrbantixMousePadDevice::kClassName));
        if (pad != nullptr && pad->CommandChannel().IsOpen() && pad->IsConnected()) return pad;
    }
    return nullptr;
}

COrbantixMousePadDevice* WaitForPad(CHeadlessSession& session, std::chrono::milliseconds limit) {
    CMainWnd& window = session.Window();
    // Once the first scan pass is through, a pad that is not among its arrivals is not there.
    session.PumpUntil([&] { return ConnectedPad(session) != nullptr || (window.FirstScanDone() && !PadRowLive(window)); },
                      limit);
    return ConnectedPad(session);
}

}  // namespace zevik
