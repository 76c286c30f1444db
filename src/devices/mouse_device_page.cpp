// COrbantixMouseDevice: the page side. Page changes update the profile, save it and write the
// settings block; the setters show the profile's values on the page's controls.

#include <algorithm>
#include <cctype>
#include <charconv>

#include "devices/mouse_device.h"
#include "ui/attribute_parser.h"
#include "devices/shoot_control.h"
#include "devices/mouse_page_choices.h"
#include "devices/mouse_sensitivity.h"
#include "platform/trace.h"
#include "settings/profile_locations.h"
#include "ui/check_box_ui.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"
#include "ui/tab_layout_ui.h"

namespace zevik {

namespace {

constexpr UiColor kActiveStageBorder = 0xFF06FF00;
constexpr UiColor kStageBorder = 0xFFFFFFFF;
constexpr UiColor kSelectedKeyBorder = 0xFF06FF00;  // the key open on the key page
constexpr UiColor kKeyBorder = 0x88FFFFFF;
constexpr const char* kActiveThumb = "Control/SliderBar1_Thumb.png";
constexpr const char* kThumb = "Control/SliderBar2_Thumb.png";
constexpr int kReportRateOptions = kMouseReportRateOptions;
constexpr int kTwoWayOptions = kMouseTwoWayOptions;

// "DPI_slider_3" -> ("DPI_slider_", 3); n = -1 when the name does not end in digits.
struct IndexedName {
    std::string_view prefix;
    int index = -1;
};
IndexedName SplitName(std::string_view name) {
    size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1])) != 0) --digits;
    IndexedName out{name.substr(0, digits), -1};
    if (digits == name.size() || name.size() - digits > 6) return out;
    int n = 0;
    std::from_chars(name.data() + digits, name.data() + name.size(), n);
    out.index = n;
    return out;
}

std::string Indexed(std::string_view prefix, int n) {
    return std::string(prefix) + std::to_string(n);
}

UiColor Opaque(uint8_t r, uint8_t g, uint8_t b) {
    return 0xFF000000u | (static_cast<UiColor>(r) << 16) | (static_cast<UiColor>(g) << 8) | b;
}

std::uint16_t ClampU16(int value) {
    return static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF));
}

}  // namespace

CControlUI* COrbantixMouseDevice::Find(std::string_view name) const {
    auto* self = const_cast<COrbantixMouseDevice*>(this);
    return self->FindControl([name](CControlUI& c) { return EqualsNoCase(c.GetName(), name); },
                             UIFIND_ALL | UIFIND_ME_FIRST);
}

void COrbantixMouseDevice::BindPageEx() {
    settingsLayout_ = Find("mouse_device_seting_layout");
    if (settingsLayout_ == nullptr && !GetPageName().empty()) {
        Trace("mouse: the page has no \"mouse_device_seting_layout\"");
    }
    for (int n = 0; n < kMouseStageCount; ++n) {
        if (auto* slider = FindAs<CSliderUI>(Indexed("DPI_slider_", n))) {
            slider->SetMinValue(kMouseDpiMin);
            slider->SetMaxValue(kMouseDpiMax);
        }
        if (auto* edit = FindAs<CEditUI>(Indexed("DPI_edit_", n))) edit->SetMaxChar(5);
    }
    CControlUI* light = Find("LightControlItem");
    lightControl_ = light != nullptr
                        ? static_cast<ILightControl*>(light->GetInterface(ILightControl::kInterfaceName))
                        : nullptr;
    if (lightControl_ != nullptr) lightControl_->SetPageKind(PageKind(ProfileKind::Mouse));
    CControlUI* keySet = Find("KeySetControlItem");
    keySetControl_ = keySet != nullptr
                         ? static_cast<IKeySetControl*>(keySet->GetInterface(IKeySetControl::kInterfaceName))
                         : nullptr;
    if (keySetControl_ != nullptr) keySetControl_->SetPageKind(PageKind(ProfileKind::Mouse));
    CControlUI* macros = Find("MacroControlItem");
    macroControl_ = macros != nullptr
                        ? static_cast<IMacroControl*>(macros->GetInterface(IMacroControl::kInterfaceName))
                        : nullptr;
    if (macroControl_ != nullptr) {
        macroControl_->SetMacroFolder(KindFolder());
        macroControl_->LoadMacroList();
    }
    if (CControlUI* shoot = Find("ShootControlItem")) {
        if (auto* control = static_cast<IShootControl*>(shoot->GetInterface(IShootControl::kInterfaceName))) {
            const CProfileLocations locations = ProfileLocationsOf(Context());
            control->SetUp(KindFolder(), locations.ProgramFolder() / "DefaultData");
        }
    }
}

// ---------------------------------------------------------------- setters

void COrbantixMouseDevice::ShowOptionGroup(std::string_view prefix, int count, int value) {
    const int selected = (value < 0 || value >= count) ? 0 : value;
    for (int n = 0; n < count; ++n) {
        if (auto* option = FindAs<COptionUI>(Indexed(prefix, n))) option->Selected(n == selected, false);
    }
}

void COrbantixMouseDevice::ShowStage(int stage, const DpiStageRecord& record, bool active) {
    if (auto* slider = FindAs<CSliderUI>(Indexed("DPI_slider_", stage))) {
        slider->SetValue(record.DpiX());
        slider->SetAttribute("thumbimage", active ? kActiveThumb : kThumb);
    }
    if (auto* edit = FindAs<CEditUI>(Indexed("DPI_edit_", stage))) {
        edit->SetText(std::to_string(MouseDpiShownValue(record.DpiX())));
        edit->SetBorderColor(active ? kActiveStageBorder : kStageBorder);
    }
    if (auto* enable = FindAs<COptionUI>(Indexed("DPI_enable_check_", stage))) {
        enable->Selected(record.enabled != 0, false);
        enable->SetEnabled(!active);
    }
    if (auto* select = FindAs<COptionUI>(Indexed("DPI_select_check_", stage)))
        select->Selected(active, false);
    if (auto* colour = Find(Indexed("DPI_color_option_", stage))) {
        colour->SetBkColor(Opaque(record.red, record.green, record.blue));
    }
}

void COrbantixMouseDevice::ShowStages() {
    const std::vector<DpiStageRecord> stages = profile_.GetDpiStages();
    const int active = activeStage_.load();
    for (int n = 0; n < kMouseStageCount && n < static_cast<int>(stages.size()); ++n) {
        ShowStage(n, stages[static_cast<size_t>(n)], n == active);
    }
}

int COrbantixMouseDevice::RefreshPage() {
    EnsureProfileLoaded();
    LoadLightLists();
    const MouseSystemRecord sys = profile_.GetMouseSystem();
    ShowOptionGroup("polling_rate_option_", kReportRateOptions, sys.ReportRate());
    ShowOptionGroup("Silent_Altitude_option_", kTwoWayOptions, sys.SilentAltitudeItem());
    ShowOptionGroup("deep_sleep_option_", kTwoWayOptions, sys.DeepSleepOff());
    ShowOptionGroup("Linear_Calibration_option_", kTwoWayOptions, sys.LinearCalibration());
    ShowOptionGroup("motion_sync_option_", kTwoWayOptions, sys.MotionSync());
    ShowOptionGroup("sensor_lif_option_", kTwoWayOptions, sys.SensorLif());

    const std::pair<const char*, int> combos[] = {{"Key_Delay_combo_timeSelect", sys.KeyDelay()},
                                                  {"Anti_Shake_combo_timeSelect", sys.AntiShake()},
                                                  {"Dormancy_combo_timeSelect", sys.DormancyTime()}};
    for (const auto& [name, value] : combos) {
        if (auto* combo = FindAs<CComboUI>(name)) {
            // A value the list does not have shows no selection rather than a wrong one.
            if (!combo->SelectItem(value, false)) combo->SelectItem(-1, false);
        }
    }

    ShowStages();

    if (auto* s = FindAs<CSliderUI>("pointer_speed_slider")) s->SetValue(sys.MouseSpeed());
    if (auto* s = FindAs<CSliderUI>("scroll_speed_slider")) s->SetValue(sys.WheelScrollLines());
    if (auto* s = FindAs<CSliderUI>("double_click_slider")) s->SetValue(sys.DoubleClickTime());
    if (auto* c = FindAs<COptionUI>("pointer_precision_check"))
        c->Selected(sys.PointerPrecision() != 0, false);
    if (auto* c = FindAs<COptionUI>("scrolls_page_check")) c->Selected(sys.ScrollPage() != 0, false);

    ShowKeyAssignments();
    if (lightControl_ != nullptr) {
        const CProfileLocations locations = ProfileLocationsOf(Context());
        lightControl_->LoadColourOptions(locations.ColourChoicesFile(), locations.DefaultColourChoicesFile());
        lightControl_->ShowLightInfo(profile_.GetLightInfo());
        lightControl_->ShowAudioLightInfo(GetStoredAudioLighting());
    }
    return 1;
}

void COrbantixMouseDevice::SelectKey(int index) {
    COrbantixUSBDevice::SelectKey(index);
    const std::vector<CControlUI*>& keys = KeyButtons();
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] != nullptr) keys[i]->SetBorderColor(static_cast<int>(i) == index ? kSelectedKeyBorder : kKeyBorder);
    }
    EnsureProfileLoaded();
    const std::vector<KeyAssignRecord> list = profile_.GetKeyList();
    if (keySetControl_ != nullptr && index >= 0 && static_cast<size_t>(index) < list.size()) {
        keySetControl_->EditKey(list[static_cast<size_t>(index)]);
    }
}

void COrbantixMouseDevice::SelectFunctionPage(int page) {
    COrbantixUSBDevice::SelectFunctionPage(page);
    if (CControlUI* tip = Find("device_tishi_info")) tip->SetVisible(false);
}

// ---------------------------------------------------------------- page changes

void COrbantixMouseDevice::AfterChange() {
    SaveDeviceProfile();
    const int result = WriteSettingsBlock(0, 0);
    if (result != kResultDone && CommandChannel().IsOpen()) {
        Trace("mouse: settings block not written: " + CommandResultText(result));
    }
}

void COrbantixMouseDevice::ChangeSystem(const std::function<void(MouseSystemRecord&)>& change, bool send) {
    EnsureProfileLoaded();
    MouseSystemRecord sys = profile_.GetMouseSystem();
    change(sys);
    profile_.SetMouseSystem(sys);
    if (send) {
        AfterChange();
    } else {
        SaveDeviceProfile();
    }
}

void COrbantixMouseDevice::OnPollingRate(int option) {
    ShowOptionGroup("polling_rate_option_", kReportRateOptions, option);
    ChangeSystem([option](MouseSystemRecord& s) { s.SetReportRate(ClampU16(option)); }, true);
}

void COrbantixMouseDevice::OnLiftOff(int option) {
    ShowOptionGroup("Silent_Altitude_option_", kTwoWayOptions, option);
    ChangeSystem([option](MouseSystemRecord& s) { s.SetSilentAltitudeItem(ClampU16(option)); }, true);
}

void COrbantixMouseDevice::OnDeepSleep(int option) {
    ShowOptionGroup("deep_sleep_option_", kTwoWayOptions, option);
    ChangeSystem([option](MouseSystemRecord& s) { s.SetDeepSleepOff(ClampU16(option)); }, true);
}

void COrbantixMouseDevice::OnLinearCalibration(int option) {
    ShowOptionGroup("Linear_Calibration_option_", kTwoWayOptions, option);
    ChangeSystem([option](MouseSystemRecord& s) { s.SetLinearCalibration(ClampU16(option)); }, true);
}

void COrbantixMouseDevice::OnMotionSync(int option) {
    ShowOptionGroup("motion_sync_option_", kTwoWayOptions, option);
    ChangeSystem([option](MouseSystemRecord& s) { s.SetMotionSync(option != 0 ? 1 : 0); }, true);
}

void COrbantixMouseDevice::OnSensorOption(int option) {
    ShowOptionGroup("sensor_lif_option_", kTwoWayOptions, option);
    ChangeSystem([option](MouseSystemRecord& s) { s.SetSensorLif(option != 0 ? 1 : 0); }, true);
}

void COrbantixMouseDevice::OnKeyDelay(int item) {
    ChangeSystem([item](MouseSystemRecord& s) { s.SetKeyDelay(ClampU16(item)); }, true);
}

void COrbantixMouseDevice::OnAntiShake(int item) {
    ChangeSystem([item](MouseSystemRecord& s) { s.SetAntiShake(ClampU16(item)); }, true);
}

void COrbantixMouseDevice::OnDormancy(int item) {
    ChangeSystem([item](MouseSystemRecord& s) { s.SetDormancyTime(ClampU16(item)); }, true);
}

void COrbantixMouseDevice::SetStage(int stage, const std::function<void(DpiStageRecord&)>& change) {
    if (stage < 0 || stage >= kMouseStageCount) return;
    EnsureProfileLoaded();
    std::vector<DpiStageRecord> stages = profile_.GetDpiStages();
    if (stages.size() <= static_cast<size_t>(stage)) stages.resize(static_cast<size_t>(stage) + 1);
    change(stages[static_cast<size_t>(stage)]);
    profile_.SetDpiStages(stages);
    ShowStage(stage, stages[static_cast<size_t>(stage)], stage == activeStage_.load());
    AfterChange();
}

void COrbantixMouseDevice::OnStageEnabled(int stage, bool enabled) {
    SetStage(stage, [enabled](DpiStageRecord& r) { r.enabled = enabled ? 1 : 0; });
}

void COrbantixMouseDevice::OnStageColour(int stage) {
    if (stage < 0 || stage >= kMouseStageCount || !colourPicker_) return;
    EnsureProfileLoaded();
    const std::vector<DpiStageRecord> stages = profile_.GetDpiStages();
    lighting::Rgb initial;
    if (static_cast<size_t>(stage) < stages.size()) {
        const DpiStageRecord& r = stages[static_cast<size_t>(stage)];
        initial = {r.red, r.green, r.blue};
    }
    const std::optional<lighting::Rgb> chosen = colourPicker_(initial);
    if (!chosen) return;
    SetStage(stage, [&chosen](DpiStageRecord& r) {
        r.red = chosen->r;
        r.green = chosen->g;
        r.blue = chosen->b;
    });
}

void COrbantixMouseDevice::OnStageSlider(int stage, int value) {
    const int dpi = MouseDpiClamp(value);
    SetStage(stage, [dpi](DpiStageRecord& r) { r.SetDpiX(static_cast<std::uint16_t>(dpi)); });
}

void COrbantixMouseDevice::OnStageSliderMove(int stage, int value) {
    if (stage < 0 || stage >= kMouseStageCount) return;
    if (auto* edit = FindAs<CEditUI>(Indexed("DPI_edit_", stage))) {
        edit->SetText(std::to_string(MouseDpiShownValue(MouseDpiClamp(value))));
    }
}

void COrbantixMouseDevice::OnStageEditDone(int stage) {
    auto* edit = FindAs<CEditUI>(Indexed("DPI_edit_", stage));
    if (edit == nullptr) return;
    const int dpi = MouseDpiFromText(edit->GetText());
    SetStage(stage, [dpi](DpiStageRecord& r) { r.SetDpiX(static_cast<std::uint16_t>(dpi)); });
}

void COrbantixMouseDevice::OnStageEditClicked(int stage) {
    if (stage < 0 || stage >= kMouseStageCount) return;
    if (auto* select = FindAs<COptionUI>(Indexed("DPI_select_check_", stage))) select->Selected(true, false);
    EnsureProfileLoaded();
    std::vector<DpiStageRecord> stages = profile_.GetDpiStages();
    bool any = false;
    for (int n = 0; n < kMouseStageCount; ++n) {
        auto* slider = FindAs<CSliderUI>(Indexed("DPI_slider_", n));
        if (slider == nullptr) continue;
        if (stages.size() <= static_cast<size_t>(n)) stages.resize(static_cast<size_t>(n) + 1);
        stages[static_cast<size_t>(n)].SetDpiX(static_cast<std::uint16_t>(MouseDpiClamp(slider->GetValue())));
        any = true;
    }
    if (!any) return;
    profile_.SetDpiStages(stages);
    AfterChange();
}

void COrbantixMouseDevice::OnPointerSpeed(int value) {
    ChangeSystem([value](MouseSystemRecord& s) { s.SetMouseSpeed(ClampU16(value)); }, false);
}

void COrbantixMouseDevice::OnPointerPrecision(bool on) {
    ChangeSystem([on](MouseSystemRecord& s) { s.SetPointerPrecision(on ? 1 : 0); }, false);
}

void COrbantixMouseDevice::OnScrollPage(bool on) {
    ChangeSystem([on](MouseSystemRecord& s) { s.SetScrollPage(on ? 1 : 0); }, false);
}

void COrbantixMouseDevice::OnScrollSpeed(int value) {
    ChangeSystem([value](MouseSystemRecord& s) { s.SetWheelScrollLines(ClampU16(value)); }, false);
}

void COrbantixMouseDevice::OnDoubleClickTime(int value) {
    ChangeSystem([value](MouseSystemRecord& s) { s.SetDoubleClickTime(ClampU16(value)); }, false);
}

// ---------------------------------------------------------------- routing

bool COrbantixMouseDevice::HandlePageNotification(const TNotifyUI& msg) {
    if (msg.pSender == nullptr) return false;
    const std::string& name = msg.pSender->GetName();
    const IndexedName split = SplitName(name);
    const auto is = [&split](std::string_view prefix) {
        return split.index >= 0 && EqualsNoCase(split.prefix, prefix);
    };
    const auto* option = dynamic_cast<const COptionUI*>(msg.pSender);
    const bool selected = option != nullptr && option->IsSelected();
    const std::string& type = msg.sType;

    if (type == DUI_MSGTYPE_SELECTCHANGED) {
        // Options of a group report their new state; only the newly selected one counts.
        using OptionHandler = void (COrbantixMouseDevice::*)(int);
        const std::pair<const char*, OptionHandler> groups[] = {
            {"polling_rate_option_", &COrbantixMouseDevice::OnPollingRate},
            {"Silent_Altitude_option_", &COrbantixMouseDevice::OnLiftOff},
            {"deep_sleep_option_", &COrbantixMouseDevice::OnDeepSleep},
            {"Linear_Calibration_option_", &COrbantixMouseDevice::OnLinearCalibration},
            {"motion_sync_option_", &COrbantixMouseDevice::OnMotionSync},
            {"sensor_lif_option_", &COrbantixMouseDevice::OnSensorOption}};
        for (const auto& [prefix, handler] : groups) {
            if (is(prefix)) {
                if (selected) (this->*handler)(split.index);
                return true;
            }
        }
        if (is("DPI_enable_check_")) {
            OnStageEnabled(split.index, selected);
            return true;
        }
        if (is("mouse_device_seting_option_")) {
            if (auto* tabs = dynamic_cast<CTabLayoutUI*>(settingsLayout_); tabs != nullptr && selected) {
                tabs->SelectItem(split.index);
            }
            return true;
        }
        if (EqualsNoCase(name, "pointer_precision_check")) {
            OnPointerPrecision(selected);
            return true;
        }
        if (EqualsNoCase(name, "scrolls_page_check")) {
            OnScrollPage(selected);
            return true;
        }
        return false;
    }
    if (type == DUI_MSGTYPE_CLICK) {
        if (is("DPI_color_option_") || is("DPI_select_check_")) {
            OnStageColour(split.index);
            return true;
        }
        if (is("DPI_edit_")) {
            OnStageEditClicked(split.index);
            return true;
        }
        return false;
    }
    const auto* slider = dynamic_cast<const CSliderUI*>(msg.pSender);
    if (type == DUI_MSGTYPE_VALUECHANGED && slider != nullptr) {
        const int value = slider->GetValue();
        if (is("DPI_slider_"))
            OnStageSlider(split.index, value);
        else if (EqualsNoCase(name, "pointer_speed_slider"))
            OnPointerSpeed(value);
        else if (EqualsNoCase(name, "scroll_speed_slider"))
            OnScrollSpeed(value);
        else if (EqualsNoCase(name, "double_click_slider"))
            OnDoubleClickTime(value);
        else
            return false;
        return true;
    }
    if (type == DUI_MSGTYPE_MOVEVALUECHANGED && slider != nullptr && is("DPI_slider_")) {
        OnStageSliderMove(split.index, slider->GetValue());
        return true;
    }
    if (type == DUI_MSGTYPE_ITEMSELECT) {
        const auto* combo = dynamic_cast<const CComboUI*>(msg.pSender);
        if (combo == nullptr) return false;
        const int item = combo->GetCurSel();
        if (item < 0) return true;
        if (EqualsNoCase(name, "Key_Delay_combo_timeSelect"))
            OnKeyDelay(item);
        else if (EqualsNoCase(name, "Anti_Shake_combo_timeSelect"))
            OnAntiShake(item);
        else if (EqualsNoCase(name, "Dormancy_combo_timeSelect"))
            OnDormancy(item);
        else
            return false;
        return true;
    }
    if (type == DUI_MSGTYPE_KILLFOCUS && is("DPI_edit_")) {
        OnStageEditDone(split.index);
        return true;
    }
    return false;
}

}  // namespace zevik
