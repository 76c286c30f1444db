#pragma once
// COptionUI: a button with a selected state. Options that share a "group" name within one paint
// manager are exclusive: selecting one clears the others.
//
// Notifications: Selected(x, true) raises "selectchanged" (wParam = new state) when the state
// changes; options cleared because another of their group was selected raise nothing. Activate()
// raises "click", then selects (a grouped option) or toggles (an option without group).

#include "ui/button_ui.h"

namespace zevik {

class COptionUI : public CButtonUI {
public:
    ~COptionUI() override;
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool IsSelected() const { return m_bSelected; }
    virtual void Selected(bool selected, bool bTriggerEvent = true);
    const std::string& GetGroup() const { return m_sGroupName; }
    void SetGroup(std::string_view group);

    const std::string& GetSelectedImage() const { return m_sSelectedImage; }
    void SetSelectedImage(std::string_view image);
    UiColor GetSelectedBkColor() const { return m_selectedBkColor; }
    void SetSelectedBkColor(UiColor color);

    bool Activate() override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;

private:
    bool m_bSelected = false;
    std::string m_sGroupName;
    std::string m_sSelectedImage;
    UiColor m_selectedBkColor = 0;
};

}  // namespace zevik
