#pragma once
// CNotifyPump: routes a notification to a handler by its type, and to a registered "virtual window"
// pump when the sender belongs to that virtual window (attribute "virtualwnd" on it or an ancestor).

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "ui/notify_ui.h"

namespace zevik {

class CNotifyPump {
public:
    using Handler = std::function<void(TNotifyUI&)>;

    CNotifyPump() = default;
    virtual ~CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;

    // The pump is not owned; it must outlive its registration. False when the name is taken.
    bool AddVirtualWnd(std::string_view name, CNotifyPump* pump);
    bool RemoveVirtualWnd(std::string_view name);

    // Handler for one notification type, for any sender (replaces an earlier one of the same type).
    void SetMessageHandler(std::string_view type, Handler handler);

    // A notification of a registered virtual window goes to that pump; otherwise to the handler of
    // its type. True when some handler took it.
    bool NotifyPump(TNotifyUI& msg);

private:
    std::map<std::string, CNotifyPump*, std::less<>> m_virtualWnds;
    std::map<std::string, Handler, std::less<>> m_handlers;
};

}  // namespace zevik
