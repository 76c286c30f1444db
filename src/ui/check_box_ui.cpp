#include "ui/check_box_ui.h"

namespace zevik {

std::string_view CCheckBoxUI::GetClass() const { return "CheckBoxUI"; }

void* CCheckBoxUI::GetInterface(std::string_view name) {
    if (name == "CheckBox") return this;
    return COptionUI::GetInterface(name);
}

}  // namespace zevik
