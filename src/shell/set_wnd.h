#pragma once
// CSetWnd: the settings window. It hosts the interface language: "Language_combox_info" lists every
// language of the list and shows the current one; a choice goes to the main window as
// UM_LANGUAGE_CHANGED with its index, and the main window switches every open window.
//
// It also hosts the updates (CSetWndUpdate): at "windowinit" the check starts; the user picks rows,
// "update_fw_and_ap" asks first (page 1 of "get_update_tab_layout"), "update_OK_btn" starts the
// downloads. While a row waits for or runs its download the window does not close ("closebtn",
// "laterbtn" and WM_CLOSE are refused); the program's shutdown (UM_CLOSE_FOR_EXIT) cancels the
// download and closes it all the same. Entering the all-current state sends UM_UPDATE_DONE to the
// owner; a download pass that stored packages says where they are.

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/language_list.h"
#include "shell/secondary_wnd.h"
#include "shell/set_wnd_update.h"

namespace zevik {

// Sent to the owner when the update list has nothing left to update.
inline constexpr UINT UM_UPDATE_DONE = 3094;

class CSetWnd : public CSecondaryWnd {
public:
    static constexpr std::string_view kClassName = "SetWnd";
    static constexpr int kWidth = 630;
    static constexpr int kHeight = 500;
    // The update workers changed something (posted to the window; the UI thread shows it).
    static constexpr UINT kUpdateChangedMessage = WM_USER + 2101;

    // languages: the list to offer; current: the index shown as chosen.
    CSetWnd(std::vector<LanguageEntry> languages, int current);
    ~CSetWnd() override;

    // What the update part checks; without it the list stays empty. Before Create.
    void SetUpdateSetup(UpdateSetup setup) { m_updateSetup = std::move(setup); }

    std::string_view GetWindowClassName() const override { return kClassName; }
    std::string GetSkinFolder() override { return "XML"; }
    std::string GetSkinFile() override { return "setwnd.xml"; }
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(std::string_view className) override;
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    int ChosenLanguage() const { return m_chosen; }
    CSetWndUpdate& Update() { return m_update; }

protected:
    LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

private:
    void StartUpdate();
    void RefreshUpdate();
    // "closebtn", "laterbtn": closes unless a download holds the window.
    void CloseIfIdle();
    void OnUpdateClick(std::string_view name);
    void ShowUpdatePage(int page);

    std::vector<LanguageEntry> m_languages;
    int m_chosen;
    std::optional<UpdateSetup> m_updateSetup;
    UINT m_updateEventMessage;
    std::atomic<bool> m_refreshPosted{false};  // before m_update: the workers' hook reads it
    CSetWndUpdate m_update{m_pm, *this};
};

}  // namespace zevik
