#include "ui/vertical_layout_ui.h"

namespace zevik {

std::string_view CVerticalLayoutUI::GetClass() const { return "VerticalLayoutUI"; }

void* CVerticalLayoutUI::GetInterface(std::string_view name) {
    if (name == "VerticalLayout") return this;
    return CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(const UiRect& rc) { LayoutLinear(rc, false); }

}  // namespace zevik
