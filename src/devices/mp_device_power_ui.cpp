#include "devices/mp_device_power_ui.h"

#include <algorithm>
#include <string>

#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/progress_ui.h"

namespace zevik {

std::string_view CMpDevicePowerUI::GetClass() const {
    return kClassName;
}

void* CMpDevicePowerUI::GetInterface(std::string_view name) {
    if (name == kClassName) {
        return this;
    }
    return CVerticalLayoutUI::GetInterface(name);
}

void CMpDevicePowerUI::SetKindAndVariant(int kind, int variant) {
    m_kind = kind;
    m_variant = variant;
}

CControlUI* CMpDevicePowerUI::Child(std::string_view name) {
    return FindControl([name](CControlUI& c) { return c.GetName() == name; }, UIFIND_ALL | UIFIND_ME_FIRST);
}

void CMpDevicePowerUI::SetBatteryPanel(bool shown) {
    if (CControlUI* part = Child("device_power_Layout")) {
        part->SetVisible(shown);
    }
}

void CMpDevicePowerUI::UpdateStatus(std::span<const std::uint8_t> record) {
    record = record.first(std::min(record.size(), kMaxStatusSize));
    auto byteAt = [&record](std::size_t i) -> int { return i < record.size() ? record[i] : 0; };

    const int level = std::min(byteAt(0), 100);
    if (CControlUI* bar = Child("device_Power_progress")) {
        if (auto* progress = static_cast<CProgressUI*>(bar->GetInterface("Progress"))) {
            progress->SetValue(level);
        }
    }
    if (CControlUI* value = Child("device_power_value")) {
        value->SetText(std::to_string(level) + "%");
    }

    const bool receiver = byteAt(3) == 1;
    const bool wirelessFamily = m_kind == 1 || m_kind == 2;
    CControlUI* logo = Child("device_wuxian_logo");
    CControlUI* status = Child("device_power_status");
    CControlUI* charging = Child("device_powering_status");
    if (wirelessFamily && logo != nullptr) {
        logo->SetBkImage(receiver ? "file='power/WIFI_down.png'" : "file='power/WIFI_normal.png'");
    }
    if (receiver && wirelessFamily && charging != nullptr) {
        charging->SetBkImage("file='power/powering.png'");
    }
    if (CControlUI* text = Child("device_wuxian_logo_text")) {
        text->SetVisible(receiver);
    }
    if (CControlUI* text = Child("device_youxian_logo_text")) {
        text->SetVisible(!receiver);
    }

    std::string_view statusImage;
    std::string_view chargingImage;
    switch (byteAt(1)) {
        case 0:
            statusImage = "file='power/power.png'";
            chargingImage = "file='power/light.png'";
            break;
        case 1:
            statusImage = chargingImage = "file='power/powering_down.png'";
            break;
        case 2:
            statusImage = chargingImage = "file='power/power.png'";
            break;
        default:
            break;  // an unknown state leaves the images as they are
    }
    if (!statusImage.empty() && status != nullptr) {
        status->SetBkImage(statusImage);
    }
    if (!chargingImage.empty() && charging != nullptr) {
        charging->SetBkImage(chargingImage);
    }

    if (m_kind == 3) {
        std::string_view phone;
        switch (byteAt(5)) {
            case 1:
                phone = "Phone_type_iphone";
                break;
            case 2:
                phone = "Phone_type_samsung";
                break;
            case 3:
                phone = "Phone_type_other";
                break;
            default:
                phone = "Phone_type_no_device";
                break;
        }
        if (CControlUI* type = Child("device_phone_type")) {
            type->SetBkImage("file='power/" + std::string(phone) + ".png'");
        }
    }
}

bool CMpDevicePowerUI::Activate() {
    if (!CVerticalLayoutUI::Activate()) {
        return false;
    }
    if (CPaintManagerUI* manager = GetManager()) {
        manager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
    }
    return true;
}

}  // namespace zevik
