#include "shell/about_wnd.h"

#include "shell/dialog_answers.h"
#include "shell/msg_wnd.h"
#include "ui/control_ui.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"

#ifndef ZEVIK_VERSION
#define ZEVIK_VERSION "0.0.0"
#endif

namespace zevik {

namespace {

// WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW.
constexpr UINT kAboutStyle = 0x90000000;
constexpr UINT kAboutExStyle = 0x00000080;

}  // namespace

std::string_view ProgramVersion() {
    return ZEVIK_VERSION;
}

void CAboutWnd::InitWindow() {
    CSecondaryWnd::InitWindow();
    // The language's text of the key, read back through a control so the current table decides.
    CControlUI* probe = m_pm.FindControl("text_test");
    CControlUI* label = m_pm.FindControl("software_ver_label");
    if (probe == nullptr || label == nullptr) return;
    probe->SetText("software_rev_text");
    label->SetText(FormatMessageText(probe->GetText(), std::string(ProgramVersion())));
}

std::string CAboutWnd::VersionText() const {
    const CControlUI* label = m_pm.FindControl("software_ver_label");
    return label != nullptr ? label->GetText() : std::string();
}

void CAboutWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender != nullptr && msg.pSender->GetName() == "closebtn") {
        Close(0);
        return;
    }
    CSecondaryWnd::Notify(msg);  // caption buttons; "homepage_btn" and "menubtn" do nothing
}

void CAboutWnd::OnTimer(UINT_PTR id) {
    if (id == 1) KillTimer(1);
}

std::optional<std::string> ShowAboutWindow(HWND parent, int dpi) {
    CAboutWnd wnd;
    if (wnd.Create(parent, "  ", kAboutStyle, kAboutExStyle, 0, 0, CAboutWnd::kWidth, CAboutWnd::kHeight) ==
        0) {
        return std::nullopt;
    }
    wnd.SetWindowDpi(dpi);
    wnd.CenterWindow();
    std::string version = wnd.VersionText();
    const UINT result = wnd.RunModal();
    if (DialogsRunHeadless())
        CDialogAnswers::Instance().Report(CAboutWnd::kClassName, version, std::to_string(result));
    return version;
}

}  // namespace zevik
