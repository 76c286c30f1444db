#include "gallery_window.h"

#include <string>

#include "gallery_controls.h"
#include "ui/ui_lib.h"

namespace zevik::gallery {

namespace {

// The stage n of a name made of a prefix and a decimal suffix ("DPI_slider_3" -> 3), -1 otherwise.
int SuffixNumber(const std::string& name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return -1;
    }
    return ParseInt(std::string_view(name).substr(prefix.size())).value_or(-1);
}

std::string HexColor(UiColor c) {
    static const char* digits = "0123456789ABCDEF";
    std::string out = "#";
    for (int shift = 28; shift >= 0; shift -= 4) {
        out += digits[(c >> shift) & 0xF];
    }
    return out;
}

}  // namespace

void CGalleryWindow::ShowReadout(const TNotifyUI& msg) {
    if (CControlUI* readout = m_pm.FindControl("event_readout")) {
        const std::string sender = msg.pSender != nullptr ? msg.pSender->GetName() : "";
        readout->SetText(msg.sType + "  ·  " + (sender.empty() ? "(unnamed)" : sender) + "  ·  " +
                         std::to_string(msg.wParam));
    }
}

void CGalleryWindow::Notify(TNotifyUI& msg) {
    if (msg.sType != DUI_MSGTYPE_TIMER && msg.sType != DUI_MSGTYPE_WINDOWINIT) {
        ShowReadout(msg);
    }
    const std::string name = msg.pSender != nullptr ? msg.pSender->GetName() : "";
    if (msg.sType == DUI_MSGTYPE_CLICK && name == "closebtn") {
        Close(IDOK);
    } else if (msg.sType == DUI_MSGTYPE_CLICK && name == "minbtn") {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (msg.sType == DUI_MSGTYPE_SELECTCHANGED && SuffixNumber(name, "nav_") >= 0) {
        if (auto* pages = dynamic_cast<CTabLayoutUI*>(m_pm.FindControl("pages"))) {
            pages->SelectItem(SuffixNumber(name, "nav_"));
        }
    } else if ((msg.sType == DUI_MSGTYPE_VALUECHANGED || msg.sType == DUI_MSGTYPE_MOVEVALUECHANGED) &&
               name == "DPI_slider_3") {
        const std::string value = std::to_string(msg.wParam);
        if (CControlUI* edit = m_pm.FindControl("DPI_edit_3")) {
            edit->SetText(value);
        }
        if (CControlUI* big = m_pm.FindControl("dpi_value")) {
            big->SetText(value);
        }
    } else if ((msg.sType == DUI_MSGTYPE_KILLFOCUS || msg.sType == DUI_MSGTYPE_RETURN) &&
               name == "DPI_edit_3") {
        if (auto* slider = dynamic_cast<CSliderUI*>(m_pm.FindControl("DPI_slider_3"))) {
            slider->SetValue(ParseInt(msg.pSender->GetText()).value_or(slider->GetValue()));
            if (CControlUI* big = m_pm.FindControl("dpi_value")) {
                big->SetText(std::to_string(slider->GetValue()));
            }
        }
    } else if (msg.sType == DUI_MSGTYPE_COLORCHANGED && name == "deng_Color_Pallet") {
        // The picked colour lights the mouse's main buttons.
        for (const char* key : {"key_1", "key_2"}) {
            if (CControlUI* k = m_pm.FindControl(key)) {
                k->SetAttribute("keycolor", HexColor(static_cast<UiColor>(msg.wParam)));
            }
        }
    } else if (msg.sType == DUI_MSGTYPE_VALUECHANGED && name == "light_slider") {
        for (const char* key : {"key_1", "key_2", "key_3", "key_4", "key_5"}) {
            if (CControlUI* k = m_pm.FindControl(key)) {
                k->SetAttribute("intensity", std::to_string(msg.wParam));
            }
        }
    }
    WindowImplBase::Notify(msg);
}

void CGalleryWindow::OnFinalMessage(HWND) {
    if (CMessageLoop* loop = CMessageLoop::Current()) {
        loop->PostQuit(0);
    }
}

void RegisterGalleryControls() {
    CControlFactory& factory = *CControlFactory::GetInstance();
    factory.RegistControl("CCircleProgressUI", [] { return new CCircleProgressUI; });
    factory.RegistControl("CDeviceKeyButtonUI", [] { return new CDeviceKeyButtonUI; });
    factory.RegistControl("CChartViewUI", [] { return new CChartViewUI; });
}

}  // namespace zevik::gallery
