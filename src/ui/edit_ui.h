#pragma once
// CEditUI: a one-line text entry. SetText from code stores the text as given. User input goes through
// UserSetText, which applies the limits (number-only keeps digits and one leading minus when the
// minimum is negative; at most "maxchar" characters) and raises "textchanged". When the edit loses
// the focus a number-only edit with limits clamps its text into [min, max] before "killfocus".
// A key press whose Linux input code is known raises "keydown" with that code in lParam.
// The limits come from SetNumberLimits or the attributes "minnumber"/"maxnumber" (also "minnum"/"maxnum");
// a limit not given is the extreme of int.

#include <limits>

#include "ui/label_ui.h"

namespace zevik {

class CEditUI : public CLabelUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool IsNumberOnly() const { return m_bNumberOnly; }
    void SetNumberOnly(bool numberOnly = true);
    int GetMaxChar() const { return m_nMaxChar; }  // in characters (UTF-8 code points)
    void SetMaxChar(int maxChar);
    bool HasNumberLimits() const { return m_bHasLimits; }
    int GetMinNumber() const { return m_nMinNumber; }
    int GetMaxNumber() const { return m_nMaxNumber; }
    void SetNumberLimits(int min, int max);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool readOnly = true);
    bool IsPasswordMode() const { return m_bPassword; }

    // The text after the input rules; what UserSetText would store.
    std::string FilterInput(std::string_view text) const;
    // Typing: filters, stores and raises "textchanged" when the text changed. Ignored when read-only
    // or disabled.
    void UserSetText(std::string_view text);
    // The Enter key: raises "return".
    void UserReturn();

    // UIEVENT_KEYDOWN with the Enter key raises "return" (unless the edit keeps Enter as text).
    void DoEvent(TEventUI& event) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

    static constexpr WPARAM kReturnKey = 0x0D;

protected:
    virtual bool WantsReturnAsText() const { return false; }

private:
    bool m_bNumberOnly = false;
    int m_nMaxChar = 255;
    bool m_bHasLimits = false;
    int m_nMinNumber = std::numeric_limits<int>::min();
    int m_nMaxNumber = std::numeric_limits<int>::max();
    bool m_bReadOnly = false;
    bool m_bPassword = false;
};

}  // namespace zevik
