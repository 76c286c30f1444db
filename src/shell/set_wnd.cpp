#include "shell/set_wnd.h"

#include "ui/combo_ui.h"
#include "ui/message_loop.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

namespace {

constexpr std::string_view kLanguageCombo = "Language_combox_info";

}  // namespace

CSetWnd::CSetWnd(std::vector<LanguageEntry> languages, int current)
    : m_languages(std::move(languages)), m_chosen(current) {}

void CSetWnd::InitWindow() {
    CSecondaryWnd::InitWindow();
    auto* combo = dynamic_cast<CComboUI*>(m_pm.FindControl(kLanguageCombo));
    if (combo == nullptr) return;
    combo->RemoveAll();
    for (const LanguageEntry& language : m_languages) combo->AddItem(language.text);
    combo->SelectItem(m_chosen, false);
}

void CSetWnd::Notify(TNotifyUI& msg) {
    if (msg.pSender != nullptr) {
        const std::string& name = msg.pSender->GetName();
        if (msg.sType == DUI_MSGTYPE_CLICK && name == "closebtn") {
            Close(0);
            return;
        }
        if (msg.sType == DUI_MSGTYPE_ITEMSELECT && name == kLanguageCombo) {
            if (const auto* combo = dynamic_cast<const CComboUI*>(msg.pSender); combo != nullptr) {
                m_chosen = combo->GetCurSel();
                if (const HWND owner = GetParentHWND(); owner != 0) {
                    if (CMessageLoop* loop = CMessageLoop::Current()) {
                        loop->Send(owner, UM_LANGUAGE_CHANGED, static_cast<WPARAM>(m_chosen), 0);
                    }
                }
            }
            return;
        }
    }
    CSecondaryWnd::Notify(msg);
}

}  // namespace zevik
