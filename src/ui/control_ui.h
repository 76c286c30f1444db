#pragma once
// CControlUI: one node of a window's control tree. It holds what every control has (name, text,
// visibility, enabled state, tooltip, user data, tag, colours, images as attribute strings, the
// position and size attributes of the layout, its computed rectangle) and reports every change to the
// paint manager's observers so a renderer can keep in step.
//
// Contracts:
// - Texts are stored as given (GetTextKey) and shown resolved through the current language
//   (GetText): a text that is a key of the language table shows that language's text.
// - Setters that change nothing report nothing.
// - A control removed from its tree kills its timers and leaves its paint manager's name table.
// - All members are for the UI thread.

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "ui/control_observer.h"
#include "ui/ui_event.h"
#include "ui/ui_types.h"

namespace zevik {

class CPaintManagerUI;

// FindControl flags: what a search visits and in which order.
inline constexpr UINT UIFIND_ALL = 0x00000000;
inline constexpr UINT UIFIND_VISIBLE = 0x00000001;  // skip hidden controls and their subtrees
inline constexpr UINT UIFIND_ENABLED = 0x00000002;  // skip disabled controls (not their children)
inline constexpr UINT UIFIND_TOP_FIRST = 0x00000008;  // children in reverse order (topmost first)
inline constexpr UINT UIFIND_ME_FIRST = 0x80000000;   // test the container before its children

class CControlUI {
public:
    // Returns true to stop the search at this control.
    using FindPredicate = std::function<bool(CControlUI&)>;

    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // Class name ("ControlUI", "ButtonUI", ...) and interface query by short name ("Control",
    // "Button", ...): returns this cast to the named class, or nullptr.
    virtual std::string_view GetClass() const;
    virtual void* GetInterface(std::string_view name);

    // Identity.
    const std::string& GetName() const { return m_sName; }
    virtual void SetName(std::string_view name);
    const std::string& GetUserData() const { return m_sUserData; }
    void SetUserData(std::string_view data);
    UINT_PTR GetTag() const { return m_tag; }
    void SetTag(UINT_PTR tag) { m_tag = tag; }

    // Texts.
    virtual std::string GetText() const { return m_sText; }
    const std::string& GetTextKey() const { return m_sTextKey; }
    virtual void SetText(std::string_view text);
    std::string GetToolTip() const { return m_sToolTip; }
    void SetToolTip(std::string_view tip);
    // Resolves text and tooltip again through the current language (recursive in containers).
    virtual void ReloadText();

    // State.
    bool IsVisible() const { return m_bVisible; }
    virtual void SetVisible(bool visible = true);
    // Visible and every ancestor visible.
    bool IsShown() const;
    bool IsEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool enabled = true);
    bool IsMouseEnabled() const { return m_bMouseEnabled; }
    void SetMouseEnabled(bool enabled = true) { m_bMouseEnabled = enabled; }
    bool IsFocused() const { return m_bFocused; }
    void SetFocus();

    // Colours (0xAARRGGBB, 0 = none) and border.
    UiColor GetBkColor() const { return m_bkColor; }
    void SetBkColor(UiColor color);
    UiColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(UiColor color);
    int GetBorderSize() const { return m_borderSize; }
    void SetBorderSize(int size);

    // Images as attribute strings ("file='x.png' source='0,0,20,20'" or a bare path).
    const std::string& GetBkImage() const { return m_sBkImage; }
    void SetBkImage(std::string_view image);
    const std::string& GetForeImage() const { return m_sForeImage; }
    void SetForeImage(std::string_view image);

    // Any attribute as last given (by the skin or SetAttribute), "" when never set.
    std::string GetAttribute(std::string_view name) const;
    // Applies one attribute; names the control does not know are kept for GetAttribute.
    virtual void SetAttribute(std::string_view name, std::string_view value);
    // Applies a list of the form: name="value" name2='value2'.
    void ApplyAttributeList(std::string_view list);

    // Layout attributes, in unscaled (96 DPI) pixels.
    int GetFixedWidth() const { return m_fixedSize.cx; }
    void SetFixedWidth(int cx);
    int GetFixedHeight() const { return m_fixedSize.cy; }
    void SetFixedHeight(int cy);
    int GetMinWidth() const { return m_minSize.cx; }
    void SetMinWidth(int cx);
    int GetMaxWidth() const { return m_maxSize.cx; }
    void SetMaxWidth(int cx);
    int GetMinHeight() const { return m_minSize.cy; }
    void SetMinHeight(int cy);
    int GetMaxHeight() const { return m_maxSize.cy; }
    void SetMaxHeight(int cy);
    UiRect GetPadding() const { return m_rcPadding; }
    void SetPadding(const UiRect& padding);
    bool IsFloat() const { return m_bFloat; }
    void SetFloat(bool floating = true);
    // "pos": for a floating control its rectangle relative to the parent's top-left corner; for any
    // control it also sets the fixed width and height when right/bottom are given.
    UiRect GetFloatPos() const { return m_rcFloat; }
    void SetFloatPos(const UiRect& pos);

    // The rectangle computed by the last layout, in window client pixels (DPI applied).
    const UiRect& GetPos() const { return m_rcItem; }
    // Places the control (and lays out its children); used by the parent's layout.
    virtual void SetPos(const UiRect& rc);
    // The size the control asks for in a layout (DPI applied); 0 in a dimension means "stretch".
    virtual UiSize EstimateSize(UiSize available) const;
    // Marks the window's layout as out of date.
    void NeedUpdate();
    void NeedParentUpdate();

    // Tree.
    CControlUI* GetParent() const { return m_pParent; }
    CPaintManagerUI* GetManager() const { return m_pManager; }
    // Attaches the control (and its subtree) to a manager: registers names and groups, applies the
    // manager's DPI. nullptr detaches: names, groups and timers are dropped.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    // Depth-first search; returns the first control the predicate accepts.
    virtual CControlUI* FindControl(const FindPredicate& pred, UINT flags);

    // Virtual window this control belongs to: its own "virtualwnd" or the nearest ancestor's.
    void SetVirtualWnd(std::string_view name) { m_sVirtualWnd = name; }
    std::string GetVirtualWnd() const;

    // Events. Event() forwards to DoEvent; DoEvent of the base sends "timer" for UIEVENT_TIMER and
    // "setfocus"/"killfocus" for focus changes.
    void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);
    // The user's primary action on the control (a click); false when hidden or disabled.
    virtual bool Activate();

    // Called once after the control joined a manager with init = true.
    virtual void DoInit() {}

protected:
    // Reports a change to the observers of the manager (nothing when detached).
    void NotifyChange(UiChange what);
    // Raises a notification with this control as sender.
    void SendNotify(std::string_view type, WPARAM wParam = 0, LPARAM lParam = 0);
    // Scales a length by the manager's DPI (unchanged when detached).
    int Scaled(int value) const;
    void SetParentInternal(CControlUI* parent) { m_pParent = parent; }
    friend class CContainerUI;

    UiRect m_rcItem;

private:
    std::string m_sName;
    std::string m_sTextKey;
    std::string m_sText;
    std::string m_sToolTipKey;
    std::string m_sToolTip;
    std::string m_sUserData;
    std::string m_sVirtualWnd;
    UINT_PTR m_tag = 0;
    bool m_bVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bFocused = false;
    bool m_bFloat = false;
    UiColor m_bkColor = 0;
    UiColor m_borderColor = 0;
    int m_borderSize = 0;
    std::string m_sBkImage;
    std::string m_sForeImage;
    UiSize m_fixedSize;
    UiSize m_minSize;
    UiSize m_maxSize{9999, 9999};
    UiRect m_rcPadding;
    UiRect m_rcFloat;
    std::map<std::string, std::string, std::less<>> m_attributes;
    CControlUI* m_pParent = nullptr;
    CPaintManagerUI* m_pManager = nullptr;
    friend class CPaintManagerUI;
};

// The first control in root's tree (root included) that answers T::kClassName as an interface, as T;
// null when root is null or holds none. Finds a page's own controls (lighting, keys, macros, recoil).
template <class T>
T* FindControlOfClass(CControlUI* root) {
    if (root == nullptr) return nullptr;
    CControlUI* found = root->FindControl(
        [](CControlUI& c) { return c.GetInterface(T::kClassName) != nullptr; }, UIFIND_ALL | UIFIND_ME_FIRST);
    return found != nullptr ? static_cast<T*>(found->GetInterface(T::kClassName)) : nullptr;
}

}  // namespace zevik
