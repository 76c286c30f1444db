#pragma once
// CRichEditUI: a multi-line text entry. Same input rules as the edit; "wantreturn" keeps Enter as a
// line break instead of raising "return".

#include "ui/edit_ui.h"

namespace zevik {

class CRichEditUI : public CEditUI {
public:
    CRichEditUI();
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool IsMultiLine() const { return m_bMultiLine; }
    bool IsWantReturn() const { return m_bWantReturn; }

    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    bool WantsReturnAsText() const override { return m_bWantReturn; }

private:
    bool m_bMultiLine = true;
    bool m_bWantReturn = false;
};

}  // namespace zevik
