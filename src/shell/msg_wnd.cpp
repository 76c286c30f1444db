#include "shell/msg_wnd.h"

#include "shell/dialog_answers.h"
#include "ui/control_ui.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/resource_manager.h"

namespace zevik {

namespace {

// WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW.
constexpr UINT kMsgStyle = 0x82000000;
constexpr UINT kMsgExStyle = 0x00000080;

}  // namespace

std::string FormatMessageText(std::string_view text, const std::optional<std::string>& argument) {
    std::string shown(text);
    if (!argument) return shown;
    const std::size_t d = shown.find("%d");
    const std::size_t s = shown.find("%s");
    const std::size_t at = std::min(d, s);
    if (at != std::string::npos) shown.replace(at, 2, *argument);
    return shown;
}

void CMsgWnd::SetMessage(std::string_view titleKey, std::string_view textKey, int buttons,
                         const std::optional<std::string>& argument) {
    if (!titleKey.empty()) {
        if (CControlUI* title = m_pm.FindControl("MessageTitle")) title->SetText(titleKey);
    }
    if (!textKey.empty()) {
        if (CControlUI* text = m_pm.FindControl("MessageText")) {
            if (argument) {
                text->SetText(
                    FormatMessageText(CResourceManager::GetInstance()->ResolveText(textKey), argument));
            } else {
                text->SetText(textKey);
            }
        }
    }
    if (CControlUI* cancel = m_pm.FindControl("cancel_btn")) cancel->SetVisible(buttons == 1);
    if (CControlUI* confirm = m_pm.FindControl("confirm_btn")) confirm->SetVisible(true);
}

std::string CMsgWnd::ShownText() const {
    const CControlUI* text = m_pm.FindControl("MessageText");
    return text != nullptr ? text->GetText() : std::string();
}

void CMsgWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender != nullptr) {
        const std::string& name = msg.pSender->GetName();
        if (name == "closebtn" || name == "cancel_btn") {
            Close(0);
            return;
        }
        if (name == "confirm_btn") {
            Close(1);
            return;
        }
    }
    CSecondaryWnd::Notify(msg);
}

int ShowMessage(HWND parent, std::string_view titleKey, std::string_view textKey, int dpi, int buttons,
                const std::optional<std::string>& argument) {
    CMsgWnd wnd;
    if (wnd.Create(parent, "msgwnd", kMsgStyle, kMsgExStyle) == 0) return 0;
    wnd.SetMessage(titleKey, textKey, buttons, argument);
    wnd.SetWindowDpi(dpi);
    wnd.CenterWindow();
    const std::string shown = wnd.ShownText();
    const int result = wnd.RunModal() == 1 ? 1 : 0;
    if (DialogsRunHeadless()) CDialogAnswers::Instance().Report(textKey, shown, std::to_string(result));
    return result;
}

}  // namespace zevik
