#include "ui/notify_pump.h"

namespace zevik {

bool CNotifyPump::AddVirtualWnd(std::string_view name, CNotifyPump* pump) {
    if (name.empty() || pump == nullptr || m_virtualWnds.count(name) != 0) return false;
    m_virtualWnds.emplace(std::string(name), pump);
    return true;
}

bool CNotifyPump::RemoveVirtualWnd(std::string_view name) {
    auto it = m_virtualWnds.find(name);
    if (it == m_virtualWnds.end()) return false;
    m_virtualWnds.erase(it);
    return true;
}

void CNotifyPump::SetMessageHandler(std::string_view type, Handler handler) {
    m_handlers.insert_or_assign(std::string(type), std::move(handler));
}

bool CNotifyPump::NotifyPump(TNotifyUI& msg) {
    if (!msg.sVirtualWnd.empty()) {
        auto it = m_virtualWnds.find(msg.sVirtualWnd);
        if (it != m_virtualWnds.end()) return it->second->NotifyPump(msg);
    }
    auto it = m_handlers.find(msg.sType);
    if (it == m_handlers.end() || !it->second) return false;
    it->second(msg);
    return true;
}

}  // namespace zevik
