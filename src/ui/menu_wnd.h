#pragma once
// CMenuWnd: a popup menu built from an XML file and shown by the backend. When the user picks an
// item, the menu sends WM_MENUCLICK to the window of the paint manager given to Init, with wParam
// pointing to a MenuCmd that is valid for the duration of that call, then closes.
//
// Menu files:
//   <Menu>
//     <MenuElement name="about_menu" text="about_text"/>
//     <MenuElement name="more" text="more_text"> <MenuElement name="sub" text="..."/> </MenuElement>
//     <MenuElement name="exit" text="exit_text" enabled="false" checked="true" userdata="x"/>
//   </Menu>
// Texts are language keys like control texts.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/ui_backend.h"
#include "ui/ui_types.h"

namespace zevik {

class CControlUI;
class CPaintManagerUI;

struct MenuCmd {
    std::string szName;
    std::string szUserData;
    std::string szText;
    bool bChecked = false;
};

struct CMenuItem {
    std::string name;
    std::string textKey;
    std::string userData;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    std::vector<CMenuItem> children;
    std::string GetText() const;  // resolved through the current language
};

class CMenuWnd {
public:
    // Alignment flags of Init.
    static constexpr int eMenuAlignment_Left = 2;
    static constexpr int eMenuAlignment_Top = 4;
    static constexpr int eMenuAlignment_Right = 8;
    static constexpr int eMenuAlignment_Bottom = 16;

    CMenuWnd();
    ~CMenuWnd();
    CMenuWnd(const CMenuWnd&) = delete;
    CMenuWnd& operator=(const CMenuWnd&) = delete;

    // Reads the menu file (below the resource path, '\\' read as '/'), applies the check map (item
    // name -> checked) and shows the menu. False with GetLastError() when the file cannot be read.
    bool Init(CControlUI* owner, std::string_view xml, UiPoint pt, CPaintManagerUI* mainManager,
              std::map<std::string, bool>* checks = nullptr, int alignment = eMenuAlignment_Left | eMenuAlignment_Top);

    const std::vector<CMenuItem>& GetItems() const { return m_items; }
    // Depth-first by name, nullptr when absent.
    const CMenuItem* FindItem(std::string_view name) const;
    UiPoint GetPoint() const { return m_point; }
    int GetAlignment() const { return m_alignment; }
    bool IsShown() const { return m_bShown; }

    // The user picked an item: false when it is absent, disabled or hidden, or the menu is closed.
    // The menu is closed before the command is sent.
    bool ChooseItem(std::string_view name);
    void Close();
    const std::string& GetLastError() const { return m_lastError; }

private:
    CPaintManagerUI* m_pMainManager = nullptr;
    std::vector<CMenuItem> m_items;
    std::unique_ptr<IMenuHost> m_host;
    UiPoint m_point;
    int m_alignment = 0;
    bool m_bShown = false;
    std::string m_lastError;
};

}  // namespace zevik
