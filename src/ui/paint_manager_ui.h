#pragma once
// CPaintManagerUI: the manager of one window's control tree. It owns the root, keeps the name table
// (FindControl), the option groups, the focus, the fonts and default attributes of the skin, the DPI,
// lays the tree out, delivers notifications synchronously to the registered INotifyUI (the window's
// Notify), runs control timers through the process's message loop, and tells observers (the renderer)
// about every change.
//
// Process-wide settings (resource path, the list of live managers for SetAllDPI and text reloads) are
// static, as the program's start-up expects. Everything else is per manager; all of it is for the UI
// thread, except SetTimer/KillTimer which may be called from any thread.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/control_observer.h"
#include "ui/control_ui.h"
#include "ui/dpi.h"
#include "ui/notify_ui.h"
#include "ui/ui_types.h"

namespace zevik {

class COptionUI;
class CWindowWnd;

struct TFontInfo {
    std::string sFontName;
    int iSize = 0;  // unscaled pixels
    bool bBold = false;
    bool bUnderline = false;
    bool bItalic = false;
    bool bShared = false;
    bool operator==(const TFontInfo&) const = default;
};

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // ---- process-wide ----
    // Kept for the start-up sequence; nothing depends on the value.
    static void SetInstance(void* instance);
    // The folder of the running executable, with a trailing '/'.
    static std::string GetInstancePath();
    // Skin files and images are found below this folder ('\\' in given paths is read as '/').
    static void SetResourcePath(std::string_view path);
    static std::string GetResourcePath();
    static void SetResourceType(int type);
    // Image files outside the skin folder that the program itself chose to show (a background the
    // user picked). Skins reach their own folder only; these few files are allowed by name.
    static void AllowImageFile(const std::string& absolutePath);
    static bool IsImageFileAllowed(const std::string& absolutePath);
    // Every live manager (for SetAllDPI and the language reload).
    static std::vector<CPaintManagerUI*> GetPaintManagers();
    static void SetAllDPI(int dpi);
    // Runs the process's message loop until quit; returns its exit code (0 without a loop).
    static int MessageLoop();

    // ---- window and tree ----
    void Init(CWindowWnd* window);
    CWindowWnd* GetWindow() const { return m_pWindow; }
    HWND GetPaintWindow() const;
    // Makes root the tree of this manager (the previous tree is destroyed) and posts "windowinit".
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return m_pRoot; }
    // Called by controls joining and leaving (name table, groups, timers).
    void InitControls(CControlUI* control, CControlUI* parent);
    void ReapObjects(CControlUI* control);

    // ---- finding ----
    // The first control of that name still in the tree (names are exact, case-sensitive).
    CControlUI* FindControl(std::string_view name) const;
    // The topmost visible control with mouse enabled at the point (window client coordinates).
    CControlUI* FindControl(UiPoint pt) const;
    // A control of that name inside parent's subtree (parent included), or nullptr.
    CControlUI* FindSubControlByName(CControlUI* parent, std::string_view name) const;
    CControlUI* FindSubControlByPoint(CControlUI* parent, UiPoint pt) const;
    // Every control of a class ("ButtonUI") in parent's subtree.
    std::vector<CControlUI*> FindSubControlsByClass(CControlUI* parent, std::string_view className) const;

    // ---- option groups ----
    bool AddOptionGroup(std::string_view group, COptionUI* option);
    const std::vector<COptionUI*>* GetOptionGroup(std::string_view group) const;
    void RemoveOptionGroup(std::string_view group, COptionUI* option);
    void RemoveAllOptionGroups();

    // ---- notifications ----
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    // Delivers at once to every notifier in registration order (async = true: queued on the loop;
    // dropped if the sender is destroyed before delivery).
    void SendNotify(TNotifyUI& msg, bool async = false);
    void SendNotify(CControlUI* control, std::string_view type, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool async = false);

    // ---- focus ----
    CControlUI* GetFocus() const { return m_pFocus; }
    // Moves the focus ("killfocus" to the old control, then "setfocus" to the new one).
    void SetFocus(CControlUI* control);

    // ---- pointer input (window client coordinates) ----
    // Delivers a mouse event the way a window does: a button press captures the control under the
    // pointer, and moves and the release go to it until then; without capture, events go to the
    // control under the pointer, and hover changes raise UIEVENT_MOUSELEAVE / UIEVENT_MOUSEENTER.
    // Returns the control that got the event, or nullptr.
    CControlUI* DispatchMouse(int eventType, UiPoint pt, UINT keyState = 0);
    // Delivers a key event (UIEVENT_KEYDOWN with the key code and, when known, the key's Linux input
    // code; UIEVENT_CHAR with the character) to the focused control. Returns it, or nullptr when
    // nothing has the focus.
    CControlUI* DispatchKey(int eventType, WPARAM keyCode, char32_t ch = 0, LPARAM inputCode = 0);
    CControlUI* GetCapture() const { return m_pCapture; }
    CControlUI* GetHover() const { return m_pHover; }

    // ---- control timers: each tick calls control->Event with UIEVENT_TIMER and the id ----
    bool SetTimer(CControlUI* control, UINT_PTR id, UINT ms);
    bool KillTimer(CControlUI* control, UINT_PTR id);
    void KillTimer(CControlUI* control);
    // Kills the timers of every control of the tree.
    void RemoveAllTimers();

    // ---- DPI ----
    const CDPI& GetDPIObj() const { return m_dpi; }
    // False for a value CDPI refuses. Re-lays out the tree.
    bool SetDPI(int dpi);
    // Tells the renderer to reload images and fonts for the current DPI.
    void ResetDPIAssets();
    int Scale(int value) const { return m_dpi.Scale(value); }
    UiRect Scale(const UiRect& rc) const { return m_dpi.Scale(rc); }

    // ---- layout ----
    // The size of the window's client area (scaled pixels). Lays the tree out and raises
    // "windowsize" with the root as sender when the size changed.
    void SetClientSize(UiSize size);
    UiSize GetClientSize() const { return m_clientSize; }
    // Marks the layout out of date; with a loop, a layout pass is queued on it.
    void NeedUpdate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    // Lays the tree out when it is out of date (or always when force).
    void UpdateLayout(bool force = false);

    // ---- skin-wide settings from the <Window> element ----
    UiSize GetInitSize() const { return m_initSize; }
    void SetInitSize(UiSize size) { m_initSize = size; }
    UiRect GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const UiRect& rc) { m_rcCaption = rc; }
    UiSize GetMinInfo() const { return m_minInfo; }
    void SetMinInfo(UiSize size) { m_minInfo = size; }
    UiSize GetMaxInfo() const { return m_maxInfo; }
    void SetMaxInfo(UiSize size) { m_maxInfo = size; }
    // Any <Window> attribute as given.
    std::string GetWindowAttribute(std::string_view name) const;
    void SetWindowAttribute(std::string_view name, std::string_view value);

    // ---- fonts ----
    // Controls show the table's fonts by id: a change restyles the shown tree once, at the next
    // layout, which it also asks for (widths measured from texts depend on the fonts). The same table
    // built again restyles nothing.
    void AddFont(int id, const TFontInfo& font);
    const TFontInfo* GetFont(int id) const;  // nullptr: not defined
    const std::map<int, TFontInfo>& GetFonts() const { return m_fonts; }
    void SetDefaultFont(const TFontInfo& font);
    const TFontInfo& GetDefaultFont() const { return m_defaultFont; }
    // Removes every font (shared and not shared).
    void RemoveAllFonts();

    // ---- default attribute lists per control class tag ("Button") ----
    void AddDefaultAttributeList(std::string_view controlTag, std::string_view attributes);
    std::string GetDefaultAttributeList(std::string_view controlTag) const;

    // ---- renderer ----
    void AddObserver(IControlObserver* observer);
    void RemoveObserver(IControlObserver* observer);
    void ReportChange(CControlUI& control, UiChange what);
    void ReportChildAdded(CContainerUI& container, CControlUI& child);
    void ReportChildRemoved(CContainerUI& container, CControlUI& child);

private:
    friend class CControlUI;
    void RegisterName(CControlUI* control);
    void UnregisterName(CControlUI* control);
    void ScheduleLayout();
    void ReportStyleRecursive(CControlUI* control);
    void FontsChanged();

    CWindowWnd* m_pWindow = nullptr;
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pCapture = nullptr;
    CControlUI* m_pHover = nullptr;
    std::map<std::string, std::vector<CControlUI*>, std::less<>> m_names;
    std::map<std::string, std::vector<COptionUI*>, std::less<>> m_optionGroups;
    std::vector<INotifyUI*> m_notifiers;
    std::vector<IControlObserver*> m_observers;
    CDPI m_dpi;
    UiSize m_clientSize;
    bool m_bUpdateNeeded = true;
    UiSize m_initSize;
    UiRect m_rcCaption;
    UiSize m_minInfo;
    UiSize m_maxInfo;
    std::map<std::string, std::string, std::less<>> m_windowAttributes;
    std::map<int, TFontInfo> m_fonts;
    TFontInfo m_defaultFont;
    bool m_bFontsChanged = false;  // the table changed since the tree was last restyled for it
    // The table and default the tree was last restyled for (none known while it has no root): a table
    // built again the same restyles nothing.
    std::optional<std::pair<std::map<int, TFontInfo>, TFontInfo>> m_styledFonts;
    std::map<std::string, std::string, std::less<>> m_defaultAttributes;
    // Shared with queued tasks (async notifications, layouts) so they can tell the manager is gone.
    std::shared_ptr<CPaintManagerUI*> m_self;
    struct PendingNotify;
    std::vector<std::shared_ptr<PendingNotify>> m_pendingNotifies;
    bool m_bLayoutPosted = false;
};

}  // namespace zevik
