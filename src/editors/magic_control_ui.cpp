#include "editors/magic_control_ui.h"

#include <string>

#include "ui/attribute_parser.h"
#include "ui/option_ui.h"

namespace zevik {

std::string_view CMagicControlUI::GetClass() const {
    return kClassName;
}

void* CMagicControlUI::GetInterface(std::string_view name) {
    if (name == IVoiceChangerPage::kInterfaceName) return static_cast<IVoiceChangerPage*>(this);
    if (name == kClassName) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

void CMagicControlUI::Bind() {
    if (bound_) return;
    bound_ = true;
    const auto find = [this](const std::string& name) {
        return FindControl([&name](CControlUI& c) { return EqualsNoCase(c.GetName(), name); },
                           UIFIND_ALL | UIFIND_ME_FIRST);
    };
    enable_ = dynamic_cast<COptionUI*>(find("magic_enable_option"));
    typeArea_ = find("magic_option_layout");
    for (int t = 1; t <= kTypeCount; ++t) {
        types_[static_cast<std::size_t>(t)] =
            dynamic_cast<COptionUI*>(find("magic_option_" + std::to_string(t)));
    }
}

void CMagicControlUI::ShowVoiceChanger(bool on) {
    Bind();
    if (enable_ != nullptr) enable_->Selected(on, false);
    if (typeArea_ != nullptr) typeArea_->SetEnabled(on);
}

bool CMagicControlUI::IsVoiceChangerShownOn() const {
    return enable_ != nullptr && enable_->IsSelected();
}

void CMagicControlUI::SelectVoiceType(int type) {
    Bind();
    type_ = type >= 1 && type <= kTypeCount ? type : 0;
    for (int t = 1; t <= kTypeCount; ++t) {
        if (COptionUI* option = types_[static_cast<std::size_t>(t)]) option->Selected(t == type_, false);
    }
}

COptionUI* CMagicControlUI::EnableOption() {
    Bind();
    return enable_;
}
CControlUI* CMagicControlUI::TypeArea() {
    Bind();
    return typeArea_;
}
COptionUI* CMagicControlUI::TypeOption(int type) {
    Bind();
    return type >= 1 && type <= kTypeCount ? types_[static_cast<std::size_t>(type)] : nullptr;
}

}  // namespace zevik
