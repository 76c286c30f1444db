#include "ui/rich_edit_ui.h"

#include "ui/attribute_parser.h"

namespace zevik {

CRichEditUI::CRichEditUI() { SetMaxChar(30000); }

std::string_view CRichEditUI::GetClass() const { return "RichEditUI"; }

void* CRichEditUI::GetInterface(std::string_view name) {
    if (name == "RichEdit") return this;
    return CEditUI::GetInterface(name);
}

void CRichEditUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "multiline") {
        if (auto b = ParseBool(value)) m_bMultiLine = *b;
    } else if (name == "wantreturn") {
        if (auto b = ParseBool(value)) m_bWantReturn = *b;
    }
    CEditUI::SetAttribute(name, value);
}

}  // namespace zevik
