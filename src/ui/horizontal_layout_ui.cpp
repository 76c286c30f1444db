#include "ui/horizontal_layout_ui.h"

namespace zevik {

std::string_view CHorizontalLayoutUI::GetClass() const { return "HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::GetInterface(std::string_view name) {
    if (name == "HorizontalLayout") return this;
    return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(const UiRect& rc) { LayoutLinear(rc, true); }

}  // namespace zevik
