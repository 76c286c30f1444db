#include "editors/light_control_ui.h"
#include "ui/attribute_parser.h"

#include <algorithm>
#include <cctype>

#include "editors/light_mode_table.h"
#include "settings/colour_choices.h"
#include "ui/check_box_ui.h"
#include "ui/color_palette_ui.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/list_element_ui.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"
#include "ui/tab_layout_ui.h"

namespace zevik {

namespace {

constexpr std::array<const char*, 3> kEditNames = {"deng_edit_R", "deng_edit_G", "deng_edit_B"};

UiColor Opaque(int r, int g, int b) {
    return CLightControlUI::kOpaque | (static_cast<UiColor>(r & 0xFF) << 16) |
           (static_cast<UiColor>(g & 0xFF) << 8) | static_cast<UiColor>(b & 0xFF);
}

// A part is enabled or disabled with everything inside it: a layout's own state does not reach the
// controls it holds.
void Apply(CControlUI* control, const LightPartState& state) {
    if (control == nullptr) return;
    if (state.enabled) {
        const bool enabled = *state.enabled;
        control->FindControl(
            [enabled](CControlUI& c) {
                c.SetEnabled(enabled);
                return false;
            },
            UIFIND_ALL | UIFIND_ME_FIRST);
    }
    if (state.visible) control->SetVisible(*state.visible);
}

}  // namespace

std::string_view CLightControlUI::GetClass() const {
    return kClassName;
}

void* CLightControlUI::GetInterface(std::string_view name) {
    if (name == ILightControl::kInterfaceName) return static_cast<ILightControl*>(this);
    if (name == kClassName) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

CControlUI* CLightControlUI::FindHere(std::string_view name) {
    return FindControl([name](CControlUI& c) { return EqualsNoCase(c.GetName(), name); },
                       UIFIND_ALL | UIFIND_ME_FIRST);
}

void CLightControlUI::BindConst() const {
    // The controls are found once; a getter may be the first to need them.
    const_cast<CLightControlUI*>(this)->Bind();
}

void CLightControlUI::Bind() {
    if (bound_) return;
    bound_ = true;
    const auto as = [this]<class T>(std::string_view name, T*& slot) {
        slot = dynamic_cast<T*>(FindHere(name));
    };
    as("light_combo_modeSelect", modeCombo_);
    as("light_combo_custommodeSelect", customCombo_);
    as("light_combo_ZZCCmodeSelect", zzccCombo_);
    as("deng_light_slider", brightnessSlider_);
    as("deng_speed_slider", speedSlider_);
    for (size_t c = 0; c < kEditNames.size(); ++c) as(kEditNames[c], edits_[c]);
    as("deng_Color_Pallet", palette_);
    colourButton_ = FindHere("deng_colordp_btn");
    as("deng_7color_check", multiColourCheck_);
    as("deng_FXL_check", firstDirection_);
    as("deng_FXR_check", secondDirection_);
    sameModeButton_ = FindHere("deng_same_mode");
    effectLayout_ = FindHere("lighteffect_layout");
    colourLayout_ = FindHere("deng_color_layout");
    paletteLayout_ = FindHere("colorpallet_layout");
    brightnessLayout_ = FindHere("deng_light_layout");
    speedLayout_ = FindHere("deng_speed_layout");
    directionLayout_ = FindHere("deng_fx_layout");
    customLayout_ = FindHere("lightcustom_layout");
    zzccLayout_ = FindHere("light_combo_ZZCCmodeSelectLayout");
    lightColourLayout_ = FindHere("light_color_layout");
    audioLayout_ = FindHere("light_combo_AudiomodeSelectLayout");
    as("light_color_tablayout", colourTabs_);
    for (int n = 0; n < kColourOptionCount; ++n) {
        colourOptions_[static_cast<size_t>(n)] = FindHere("color_option_" + std::to_string(n));
    }
}

// ---------------------------------------------------------------- filling and showing

void CLightControlUI::FillModeList(const std::vector<std::string>& names, const std::vector<bool>& visible,
                                   int brightnessMax, int speedMax) {
    Bind();
    if (modeCombo_ != nullptr) {
        const int selected = modeCombo_->GetCurSel();
        modeCombo_->RemoveAll();
        for (size_t i = 0; i < names.size(); ++i) {
            CListLabelElementUI* item = modeCombo_->AddItem(names[i]);
            if (item == nullptr) continue;
            item->SetFixedHeight(kItemHeight);
            item->SetToolTip(names[i]);
            item->SetVisible(i >= visible.size() || visible[i]);
        }
        if (selected >= 0) modeCombo_->SelectItem(selected, false);
    }
    if (brightnessSlider_ != nullptr) brightnessSlider_->SetMaxValue(brightnessMax);
    if (speedSlider_ != nullptr) speedSlider_->SetMaxValue(speedMax);
}

void CLightControlUI::ShowLightInfo(const LightInfoRecord& record) {
    Bind();
    if (modeCombo_ != nullptr && !modeCombo_->SelectItem(record.selectItem, false)) {
        modeCombo_->SelectItem(-1, false);  // beyond the list: nothing selected
    }
    SetBrightness(record.light);
    SetSpeed(record.speed);
    const UiColor colour = Opaque(record.red, record.green, record.blue);
    ShowColourEdits(colour);
    SetColourButton(colour);
    SetMultiColour(record.multiColor != 0);
    SetZzccMode(record.zzccLedMode);
    SetDirection(record.fx != 0 ? 1 : 0);
    mode_ = record.selectItem;
    ApplyModeTable(record.selectItem);
}

void CLightControlUI::LoadColourOptions(const std::filesystem::path& userFile,
                                        const std::filesystem::path& defaultFile) {
    Bind();
    CColourChoices choices;
    if (choices.Read(userFile, defaultFile) == CColourChoices::Source::None) return;
    for (int n = 0; n < kColourOptionCount; ++n) {
        CControlUI* option = colourOptions_[static_cast<size_t>(n)];
        if (option == nullptr) continue;
        // A preset the file lacks keeps the skin's colour.
        if (const std::optional<UiColor> colour = choices.Preset(n)) option->SetBkColor(*colour);
    }
}

void CLightControlUI::SelectMode(int index) {
    Bind();
    if (modeCombo_ != nullptr && !modeCombo_->SelectItem(index, false)) modeCombo_->SelectItem(-1, false);
    mode_ = index;
    ApplyModeTable(index);
}

void CLightControlUI::ApplyModeTable(int mode) {
    if (!HasLightModeTable(pageKind_)) return;
    const LightModeView view = LightModeFor(pageKind_, mode);
    // The outer colour layout first: the parts inside it then take their own state.
    Apply(lightColourLayout_, view.lightColour);
    Apply(multiColourCheck_, view.sevenColour);
    Apply(colourLayout_, view.colour);
    Apply(paletteLayout_, view.colour);
    Apply(brightnessLayout_, view.brightness);
    Apply(speedLayout_, view.speed);
    Apply(directionLayout_, view.direction);
    Apply(zzccLayout_, view.zzccSelector);
    Apply(customLayout_, view.customLayout);
    Apply(audioLayout_, view.audioSelector);
    if (view.colourTab && colourTabs_ != nullptr) colourTabs_->SelectItem(*view.colourTab, false);
    if (!view.directionFirstText.empty()) {
        if (firstDirection_ != nullptr) firstDirection_->SetText(view.directionFirstText);
        if (secondDirection_ != nullptr) secondDirection_->SetText(view.directionSecondText);
    }
    modeOffersSameMode_ = view.offersSameMode;
    UpdateSameModeButton();
}

void CLightControlUI::ShowSameModeOption(bool flag) {
    Bind();
    sameModeOffered_ = flag;
    UpdateSameModeButton();
}

void CLightControlUI::UpdateSameModeButton() {
    if (sameModeButton_ != nullptr) sameModeButton_->SetVisible(sameModeOffered_ && modeOffersSameMode_);
}

bool CLightControlUI::IsSameModeShown() const {
    BindConst();
    return sameModeButton_ != nullptr && sameModeButton_->IsVisible();
}

// ---------------------------------------------------------------- getters

int CLightControlUI::GetSelectedMode() const {
    BindConst();
    return modeCombo_ != nullptr ? modeCombo_->GetCurSel() : -1;
}

int CLightControlUI::GetBrightness() const {
    BindConst();
    return brightnessSlider_ != nullptr ? brightnessSlider_->GetValue() : 0;
}

int CLightControlUI::GetSpeed() const {
    BindConst();
    return speedSlider_ != nullptr ? speedSlider_->GetValue() : 0;
}

int CLightControlUI::GetBrightnessMax() const {
    BindConst();
    return brightnessSlider_ != nullptr ? brightnessSlider_->GetMaxValue() : 0;
}

int CLightControlUI::GetSpeedMax() const {
    BindConst();
    return speedSlider_ != nullptr ? speedSlider_->GetMaxValue() : 0;
}

int CLightControlUI::GetDirection() const {
    BindConst();
    return firstDirection_ != nullptr && firstDirection_->IsSelected() ? 1 : 0;
}

bool CLightControlUI::GetMultiColour() const {
    BindConst();
    return multiColourCheck_ != nullptr && multiColourCheck_->IsSelected();
}

UiColor CLightControlUI::GetPaletteColour() const {
    BindConst();
    return palette_ != nullptr ? palette_->GetSelectColor() : kOpaque;
}

UiColor CLightControlUI::GetOptionColour(int n) const {
    BindConst();
    if (n < 0 || n >= kColourOptionCount) return 0;
    const CControlUI* option = colourOptions_[static_cast<size_t>(n)];
    return option != nullptr ? option->GetBkColor() : 0;
}

std::string CLightControlUI::GetEditText(Channel channel) const {
    BindConst();
    const CEditUI* edit = edits_[static_cast<size_t>(channel)];
    return edit != nullptr ? edit->GetText() : std::string();
}

UiColor CLightControlUI::GetColourButtonColour() const {
    BindConst();
    return colourButton_ != nullptr ? colourButton_->GetBkColor() : 0;
}

int CLightControlUI::GetZzccMode() const {
    BindConst();
    return zzccCombo_ != nullptr ? zzccCombo_->GetCurSel() : -1;
}

int CLightControlUI::GetCustomSlot() const {
    BindConst();
    return customCombo_ != nullptr ? customCombo_->GetCurSel() : -1;
}

// ---------------------------------------------------------------- setters

void CLightControlUI::SetBrightness(int value) {
    Bind();
    if (brightnessSlider_ != nullptr) brightnessSlider_->SetValue(value);
}

void CLightControlUI::SetSpeed(int value) {
    Bind();
    if (speedSlider_ != nullptr) speedSlider_->SetValue(value);
}

void CLightControlUI::SetDirection(int value) {
    Bind();
    COptionUI* chosen = value != 0 ? firstDirection_ : secondDirection_;
    COptionUI* other = value != 0 ? secondDirection_ : firstDirection_;
    if (chosen != nullptr) chosen->Selected(true, false);
    if (other != nullptr) other->Selected(false, false);
}

void CLightControlUI::SetMultiColour(bool on) {
    Bind();
    if (multiColourCheck_ != nullptr) multiColourCheck_->Selected(on, false);
}

void CLightControlUI::SetEditText(Channel channel, std::string_view text) {
    Bind();
    if (CEditUI* edit = edits_[static_cast<size_t>(channel)]) edit->SetText(text);
}

void CLightControlUI::ShowColourEdits(UiColor colour) {
    SetEditText(Channel::Red, std::to_string((colour >> 16) & 0xFF));
    SetEditText(Channel::Green, std::to_string((colour >> 8) & 0xFF));
    SetEditText(Channel::Blue, std::to_string(colour & 0xFF));
}

void CLightControlUI::SetColourButton(UiColor colour) {
    Bind();
    if (colourButton_ != nullptr) colourButton_->SetBkColor(colour);
}

void CLightControlUI::SetPaletteColour(UiColor colour) {
    Bind();
    if (palette_ != nullptr) palette_->SetSelectColor(colour);
}

void CLightControlUI::SetZzccMode(int index) {
    Bind();
    if (zzccCombo_ != nullptr && !zzccCombo_->SelectItem(index, false)) zzccCombo_->SelectItem(-1, false);
}

// ---------------------------------------------------------------- controls

CComboUI* CLightControlUI::ModeCombo() {
    Bind();
    return modeCombo_;
}

CSliderUI* CLightControlUI::BrightnessSlider() {
    Bind();
    return brightnessSlider_;
}

CSliderUI* CLightControlUI::SpeedSlider() {
    Bind();
    return speedSlider_;
}

COptionUI* CLightControlUI::DirectionOption(int value) {
    Bind();
    return value != 0 ? firstDirection_ : secondDirection_;
}

COptionUI* CLightControlUI::MultiColourCheck() {
    Bind();
    return multiColourCheck_;
}

CColorPaletteUI* CLightControlUI::Palette() {
    Bind();
    return palette_;
}

CEditUI* CLightControlUI::ColourEdit(Channel channel) {
    Bind();
    return edits_[static_cast<size_t>(channel)];
}

CControlUI* CLightControlUI::ColourOption(int n) {
    Bind();
    return n >= 0 && n < kColourOptionCount ? colourOptions_[static_cast<size_t>(n)] : nullptr;
}

CControlUI* CLightControlUI::SameModeButton() {
    Bind();
    return sameModeButton_;
}

int CLightControlUI::ComponentOfText(std::string_view text) {
    if (text.empty()) return 0;
    int value = 0;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) return 0;  // a sign or anything else
        value = std::min(value * 10 + (c - '0'), 256);
    }
    return std::min(value, 255);
}

}  // namespace zevik
