// COrbantixKeyboardDevice: the system options (report rate, flags, repeat), the page refresh, the
// function page switch and the factory defaults.

#include <algorithm>
#include <string>

#include "devices/device_messages.h"
#include "devices/keyboard_device.h"
#include "devices/light_control.h"
#include "platform/trace.h"
#include "ui/attribute_parser.h"
#include "ui/option_ui.h"
#include "ui/resource_manager.h"
#include "ui/slider_ui.h"

namespace zevik {

namespace {

constexpr int kRepeatDelayBaseMs = 250;
constexpr int kRepeatDelayStepMs = 250;

std::string Indexed(std::string_view prefix, int n) {
    return std::string(prefix) + std::to_string(n);
}

std::string Translated(std::string_view key) {
    return CResourceManager::GetInstance()->ResolveText(key);
}

}  // namespace

CControlUI* COrbantixKeyboardDevice::Find(std::string_view name) const {
    auto* self = const_cast<COrbantixKeyboardDevice*>(this);
    return self->FindControl([name](CControlUI& c) { return EqualsNoCase(c.GetName(), name); },
                             UIFIND_ALL | UIFIND_ME_FIRST);
}

KeyboardSystemRecord COrbantixKeyboardDevice::GetSystemRecord() const {
    std::lock_guard lock(systemLock_);
    return system_;
}

void COrbantixKeyboardDevice::SetSystemRecord(const KeyboardSystemRecord& record) {
    EnsureProfileLoaded();
    {
        std::lock_guard lock(systemLock_);
        system_ = record;
    }
    profile_.SetKeyboardSystem(record);
    SaveDeviceProfile();
}

void COrbantixKeyboardDevice::ChangeSystem(const std::function<void(KeyboardSystemRecord&)>& change) {
    KeyboardSystemRecord record = GetSystemRecord();
    change(record);
    SetSystemRecord(record);
    ShowOptions();
}

int COrbantixKeyboardDevice::SetReportRate(int option) {
    if (option < 0 || option >= kReportRateOptions) return 0;
    ChangeSystem([option](KeyboardSystemRecord& r) { r.SetPollingRate(static_cast<std::uint16_t>(option)); });
    return WriteSettingsBlock(0, 0);
}

int COrbantixKeyboardDevice::SetWinLock(bool on) {
    ChangeSystem([on](KeyboardSystemRecord& r) { r.SetWinFlag(on ? 1 : 0); });
    return WriteSettingsBlock(0, 0);
}

int COrbantixKeyboardDevice::SetWFlag(bool on) {
    ChangeSystem([on](KeyboardSystemRecord& r) { r.SetWFlag(on ? 1 : 0); });
    return WriteSettingsBlock(0, 0);
}

int COrbantixKeyboardDevice::SetSixKey(bool on) {
    ChangeSystem([on](KeyboardSystemRecord& r) { r.SetKey6Flag(on ? 1 : 0); });
    return WriteSettingsBlock(0, 0);
}

bool COrbantixKeyboardDevice::SetRepeat(int value) {
    if (value < 0 || value > kRepeatMax) return false;
    ChangeSystem([value](KeyboardSystemRecord& r) { r.SetRepeat(static_cast<std::uint16_t>(value)); });
    return true;
}

bool COrbantixKeyboardDevice::SetRepeatDelay(int option) {
    if (option < 0 || option >= kRepeatDelayOptions) return false;
    ChangeSystem([option](KeyboardSystemRecord& r) { r.SetRepeatDelay(static_cast<std::uint16_t>(option)); });
    return true;
}

void COrbantixKeyboardDevice::ClearRepeatTest() {
    if (CControlUI* box = Find("repeat_input_richedit")) box->SetText("");
}

bool COrbantixKeyboardDevice::HandlePageNotification(const TNotifyUI& msg) {
    if (msg.pSender == nullptr) return false;
    const std::string& name = msg.pSender->GetName();
    const auto* option = dynamic_cast<const COptionUI*>(msg.pSender);
    const bool selected = option != nullptr && option->IsSelected();
    // "polling_rate_option_3" -> 3; -1 when name is not prefix + digits.
    const auto indexAfter = [&name](std::string_view prefix) {
        if (name.size() <= prefix.size() || !EqualsNoCase(std::string_view(name).substr(0, prefix.size()), prefix))
            return -1;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() > 2 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return -1;
        return std::stoi(digits);
    };
    if (msg.sType == DUI_MSGTYPE_SELECTCHANGED) {
        // Options of a group report their new state; only the newly selected one counts.
        if (const int n = indexAfter("polling_rate_option_"); n >= 0) {
            if (selected) SetReportRate(n);
            return true;
        }
        if (const int n = indexAfter("key_layer_option_"); n == 0 || n == 1) {
            if (selected) ChooseKeyLayer(n + 1);
            return true;
        }
        if (const int n = indexAfter("repeat_delay_check_"); n >= 0) {
            if (selected) SetRepeatDelay(n);
            return true;
        }
        if (EqualsNoCase(name, "winlockflag_option")) {
            SetWinLock(selected);
            return true;
        }
        if (EqualsNoCase(name, "wflag_option")) {
            SetWFlag(selected);
            return true;
        }
        if (EqualsNoCase(name, "6flag_option")) {
            SetSixKey(selected);
            return true;
        }
        return false;
    }
    if (msg.sType == DUI_MSGTYPE_VALUECHANGED && EqualsNoCase(name, "repeat_rate_slider")) {
        if (const auto* slider = dynamic_cast<const CSliderUI*>(msg.pSender)) SetRepeat(slider->GetValue());
        return true;
    }
    if (msg.sType == DUI_MSGTYPE_CLICK && EqualsNoCase(name, "reset_repeat_btn")) {
        ClearRepeatTest();
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- page

void COrbantixKeyboardDevice::ShowOptions() {
    const KeyboardSystemRecord sys = GetSystemRecord();
    const auto showGroup = [this](std::string_view prefix, int count, int value) {
        const int selected = (value < 0 || value >= count) ? 0 : value;
        for (int n = 0; n < count; ++n) {
            if (auto* option = FindAs<COptionUI>(Indexed(prefix, n))) option->Selected(n == selected, false);
        }
    };
    showGroup("polling_rate_option_", kReportRateOptions, sys.PollingRate());
    const std::pair<const char*, bool> flags[] = {
        {"winlockflag_option", sys.WinFlag() != 0}, {"wflag_option", sys.WFlag() != 0}, {"6flag_option", sys.Key6Flag() != 0}};
    for (const auto& [name, on] : flags) {
        if (auto* option = FindAs<COptionUI>(name)) option->Selected(on, false);
    }
    if (auto* slider = FindAs<CSliderUI>("repeat_rate_slider")) slider->SetValue(sys.Repeat());
    const int delay = sys.RepeatDelay() < kRepeatDelayOptions ? sys.RepeatDelay() : 0;
    showGroup("repeat_delay_check_", kRepeatDelayOptions, delay);
    if (CControlUI* label = Find("repeat_delay_time_label1")) {
        label->SetText(Translated("Repeat_Delay_Time") + std::to_string(kRepeatDelayBaseMs + kRepeatDelayStepMs * delay) +
                       "ms");
    }
    if (CControlUI* box = Find("repeat_input_richedit")) box->SetToolTip(Translated("Repeat_input_text"));
}

int COrbantixKeyboardDevice::RefreshPage() {
    EnsureProfileLoaded();
    LoadLightLists();
    if (lightControl_ != nullptr) {
        const CProfileLocations locations = ProfileLocationsOf(Context());
        lightControl_->LoadColourOptions(locations.ColourChoicesFile(), locations.DefaultColourChoicesFile());
        lightControl_->ShowLightInfo(profile_.GetLightInfo());
        lightControl_->ShowAudioLightInfo(profile_.GetAudioLightInfo());
    }
    ShowOptions();
    ShowKeyAssignments();
    PostToMainWindow(UM_DEVICE_REFRESHED, 0, 0);
    return 1;
}

void COrbantixKeyboardDevice::SelectFunctionPage(int page) {
    COrbantixUSBDevice::SelectFunctionPage(page);
    const std::vector<CControlUI*>& keys = KeyButtons();
    if (static_cast<size_t>(kKeyboardFunctionKey) < keys.size() && keys[kKeyboardFunctionKey] != nullptr) {
        // The Fn key cannot be reassigned on the second layer: it is how that layer is reached.
        if (page == 1) keys[kKeyboardFunctionKey]->SetEnabled(true);
        if (page == 2) keys[kKeyboardFunctionKey]->SetEnabled(false);
    }
}

int COrbantixKeyboardDevice::RestoreDefaults() {
    EnsureProfileLoaded();
    const Json::Value factory = profile_.DefaultDocument();
    if (factory.isNull() || profile_.GetProfilePath().empty()) return 0;
    const JsonWriteResult written = profile_.WriteDeviceEntry(factory, profile_.GetProfilePath());
    if (!written) {
        Trace("keyboard: defaults not restored: " + written.message);
        return 0;
    }
    profileLoaded_ = false;
    ApplyProfile();
    SaveDeviceProfile();
    RefreshPage();
    return 1;
}

}  // namespace zevik
