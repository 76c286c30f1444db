#pragma once
// CSetWnd: the settings window. It hosts the interface language: "Language_combox_info" lists every
// language of the list and shows the current one; a choice goes to the main window as
// UM_LANGUAGE_CHANGED with its index, and the main window switches every open window.

#include <string>
#include <string_view>
#include <vector>

#include "settings/language_list.h"
#include "shell/secondary_wnd.h"

namespace zevik {

class CSetWnd : public CSecondaryWnd {
public:
    static constexpr std::string_view kClassName = "SetWnd";
    static constexpr int kWidth = 630;
    static constexpr int kHeight = 500;

    // languages: the list to offer; current: the index shown as chosen.
    CSetWnd(std::vector<LanguageEntry> languages, int current);

    std::string_view GetWindowClassName() const override { return kClassName; }
    std::string GetSkinFolder() override { return "XML"; }
    std::string GetSkinFile() override { return "setwnd.xml"; }
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;

    int ChosenLanguage() const { return m_chosen; }

private:
    std::vector<LanguageEntry> m_languages;
    int m_chosen;
};

}  // namespace zevik
