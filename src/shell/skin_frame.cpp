#include "shell/skin_frame.h"

#include <array>
#include <fstream>

#include "platform/trace.h"
#include "settings/ini_file.h"
#include "ui/control_ui.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/tab_layout_ui.h"

namespace zevik {

namespace {

// WS_POPUP | WS_VISIBLE; WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST.
constexpr UINT kFrameStyle = 0x90000000;
constexpr UINT kFrameExStyle = 0x08000088;
constexpr UINT WM_KILLFOCUS = 0x0008;

}  // namespace

bool IsImageFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::array<unsigned char, 8> head{};
    if (!in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size())))
        return false;
    const bool png = head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G';
    const bool jpeg = head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
    const bool bmp = head[0] == 'B' && head[1] == 'M';
    const bool gif = head[0] == 'G' && head[1] == 'I' && head[2] == 'F';
    return png || jpeg || bmp || gif;
}

CSkinFrame::CSkinFrame(std::filesystem::path mainIni, FileChooser chooser)
    : m_mainIni(std::move(mainIni)), m_chooser(std::move(chooser)) {}

CSkinFrame* CSkinFrame::Open(HWND parent, const UiRect& anchorOnScreen, std::filesystem::path mainIni,
                             FileChooser chooser) {
    auto* frame = new CSkinFrame(std::move(mainIni), std::move(chooser));
    if (frame->Create(parent, "skinframe", kFrameStyle, kFrameExStyle) == 0) {
        delete frame;
        return nullptr;
    }
    // Below the button, its right edge on the button's, its size its own.
    const UiRect own = frame->GetWindowRect();
    const int x = anchorOnScreen.right - own.GetWidth();
    const int y = anchorOnScreen.bottom;
    frame->MoveWindow(UiRect{x, y, x + own.GetWidth(), y + own.GetHeight()});
    return frame;
}

void CSkinFrame::OnFinalMessage(HWND hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    delete this;
}

LRESULT CSkinFrame::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    if (msg == WM_KILLFOCUS) {
        bHandled = true;
        Close(0);
        return 0;
    }
    return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, bHandled);
}

namespace {

// Every control of the tree with that name, in tree order (the offered buttons share theirs).
std::vector<CControlUI*> AllNamed(CPaintManagerUI& pm, std::string_view name) {
    std::vector<CControlUI*> found;
    if (CControlUI* root = pm.GetRoot()) {
        root->FindControl(
            [&found, name](CControlUI& control) {
                if (control.GetName() == name) found.push_back(&control);
                return false;
            },
            UIFIND_ALL);
    }
    return found;
}

}  // namespace

std::vector<CControlUI*> CSkinFrame::ImageButtons() {
    return AllNamed(m_pm, "skin_image_btn");
}

std::vector<CControlUI*> CSkinFrame::ColourButtons() {
    return AllNamed(m_pm, "skin_color_btn");
}

void CSkinFrame::ChooseImage(const std::string& image, bool offered) {
    GetSkinObserver().Broadcast(SkinChangedParam{false, 0, image});
    const JsonWriteResult written =
        WriteIniValues(m_mainIni, "SKINIMAGE", {{"FLAGS", offered ? "1" : "0"}, {"IMAGE", image}});
    if (!written) Trace("main.ini not written: " + written.message);
}

void CSkinFrame::ChooseCustomImage() {
    if (!m_chooser) return;
    const std::filesystem::path file = m_chooser();
    // A cancelled dialog, or a file that is no image, leaves the background as it is.
    if (file.empty() || !IsImageFile(file)) return;
    GetSkinObserver().Broadcast(SkinChangedParam{false, 0, file.string()});
}

void CSkinFrame::Notify(TNotifyUI& msg) {
    if (msg.sType != DUI_MSGTYPE_CLICK || msg.pSender == nullptr) {
        WindowImplBase::Notify(msg);
        return;
    }
    CControlUI* sender = msg.pSender;
    const std::string& name = sender->GetName();
    auto* tab = dynamic_cast<CTabLayoutUI*>(m_pm.FindControl("skin_tab"));
    if (name == "skin_image_btn") {
        ChooseImage(sender->GetBkImage(), true);
    } else if (name == "skin_color_btn") {
        GetSkinObserver().Broadcast(SkinChangedParam{true, sender->GetBkColor(), {}});
    } else if (name == "skin_color") {
        if (tab != nullptr) tab->SelectItem(1);
    } else if (name == "skin_image") {
        if (tab != nullptr) tab->SelectItem(0);
    } else if (name == "skin_reset") {
        ChooseImage("file='" + std::string(kDefaultImage) + "'", false);
    } else if (name == "skin_Custom") {
        ChooseCustomImage();
    } else {
        WindowImplBase::Notify(msg);
    }
}

}  // namespace zevik
