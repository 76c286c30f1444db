#include "editors/voice6533_control_ui.h"

#include "ui/attribute_parser.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/list_element_ui.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"

namespace zevik {

std::string_view CVoice6533ControlUI::GetClass() const {
    return kClassName;
}

void* CVoice6533ControlUI::GetInterface(std::string_view name) {
    if (name == ISoundPage::kInterfaceName) return static_cast<ISoundPage*>(this);
    if (name == kClassName) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

void CVoice6533ControlUI::Bind() const {
    // The controls are found once, in this control's own subtree, the first time one is needed.
    if (bound_) return;
    bound_ = true;
    auto* self = const_cast<CVoice6533ControlUI*>(this);
    const auto find = [self](const std::string& name) {
        return self->FindControl([&name](CControlUI& c) { return EqualsNoCase(c.GetName(), name); },
                                 UIFIND_ALL | UIFIND_ME_FIRST);
    };
    const auto as = [&find]<class T>(const std::string& name, T*& slot) {
        slot = dynamic_cast<T*>(find(name));
    };
    for (int p = 1; p <= kPresetCount; ++p)
        as("6533_eq_option_" + std::to_string(p), presets_[static_cast<std::size_t>(p)]);
    for (int b = 0; b < kBandCount; ++b)
        as("6533_eq_hz_slider_" + std::to_string(b), bands_[static_cast<std::size_t>(b)]);
    as("6533_MicIn_option", micOption_);
    as("6533_MicIn_slider", micSlider_);
    as("6533_MicMoniter_option", monitorOption_);
    as("6533_MicMoniter_slider", monitorSlider_);
    customArea_ = find("custom_eq_option_layout");
    as("custom_eq_name_combo", nameBox_);
    as("custom_eq_name_edit", nameField_);
}

void CVoice6533ControlUI::SelectPreset(int preset) {
    Bind();
    preset_ = preset >= 1 && preset <= kPresetCount ? preset : 0;
    for (int p = 1; p <= kPresetCount; ++p) {
        if (COptionUI* option = presets_[static_cast<std::size_t>(p)]) option->Selected(p == preset_, false);
    }
}

void CVoice6533ControlUI::SetBand(int band, int value) {
    if (CSliderUI* slider = BandSlider(band)) slider->SetValue(value);
}

int CVoice6533ControlUI::GetBand(int band) const {
    Bind();
    if (band < 0 || band >= kBandCount || bands_[static_cast<std::size_t>(band)] == nullptr) return 0;
    return bands_[static_cast<std::size_t>(band)]->GetValue();
}

void CVoice6533ControlUI::ShowMicrophone(bool on, int level) {
    Bind();
    if (micOption_ != nullptr) micOption_->Selected(on, false);
    if (micSlider_ != nullptr) micSlider_->SetValue(level);
}

void CVoice6533ControlUI::ShowMonitor(bool on, int level) {
    Bind();
    if (monitorOption_ != nullptr) monitorOption_->Selected(on, false);
    if (monitorSlider_ != nullptr) monitorSlider_->SetValue(level);
}

void CVoice6533ControlUI::EnableCustomArea(bool enabled) {
    Bind();
    if (customArea_ != nullptr) customArea_->SetEnabled(enabled);
}

bool CVoice6533ControlUI::IsCustomAreaEnabled() const {
    Bind();
    return customArea_ != nullptr && customArea_->IsEnabled();
}

void CVoice6533ControlUI::SetCustomNames(const std::vector<std::string>& names) {
    Bind();
    if (nameBox_ == nullptr) return;
    nameBox_->RemoveAll();
    for (const std::string& name : names) {
        CListLabelElementUI* item = nameBox_->AddItem(name);
        if (item == nullptr) continue;
        item->SetFixedHeight(kNameItemHeight);
        item->SetUserData(name);
    }
}

void CVoice6533ControlUI::SelectCustom(int index) {
    Bind();
    if (nameBox_ != nullptr && !nameBox_->SelectItem(index, false)) nameBox_->SelectItem(-1, false);
    if (nameField_ != nullptr) nameField_->SetText("");
}

int CVoice6533ControlUI::SelectedCustom() const {
    Bind();
    return nameBox_ != nullptr ? nameBox_->GetCurSel() : -1;
}

std::string CVoice6533ControlUI::CustomNameText() const {
    Bind();
    return nameField_ != nullptr ? nameField_->GetText() : std::string();
}

COptionUI* CVoice6533ControlUI::PresetOption(int preset) {
    Bind();
    return preset >= 1 && preset <= kPresetCount ? presets_[static_cast<std::size_t>(preset)] : nullptr;
}

CSliderUI* CVoice6533ControlUI::BandSlider(int band) {
    Bind();
    return band >= 0 && band < kBandCount ? bands_[static_cast<std::size_t>(band)] : nullptr;
}

COptionUI* CVoice6533ControlUI::MicrophoneOption() {
    Bind();
    return micOption_;
}
CSliderUI* CVoice6533ControlUI::MicrophoneSlider() {
    Bind();
    return micSlider_;
}
COptionUI* CVoice6533ControlUI::MonitorOption() {
    Bind();
    return monitorOption_;
}
CSliderUI* CVoice6533ControlUI::MonitorSlider() {
    Bind();
    return monitorSlider_;
}
CComboUI* CVoice6533ControlUI::NameBox() {
    Bind();
    return nameBox_;
}
CEditUI* CVoice6533ControlUI::NameField() {
    Bind();
    return nameField_;
}

}  // namespace zevik
