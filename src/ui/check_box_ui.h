#pragma once
// CCheckBoxUI: an option without a group; checked means selected.

#include "ui/option_ui.h"

namespace zevik {

class CCheckBoxUI : public COptionUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool GetCheck() const { return IsSelected(); }
    void SetCheck(bool check, bool bTriggerEvent = true) { Selected(check, bTriggerEvent); }
};

}  // namespace zevik
