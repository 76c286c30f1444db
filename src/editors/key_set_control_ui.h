#pragma once
// CKeySetControlUI: the key assignment page of a device ("KeySetControlItem" in the page layout). The
// user opens a key on the device picture, picks a function and its settings; the control turns them
// into the key's three-byte code and back (key_assignment_form.h). It holds the record under edit
// (the pending record) and the key's factory code; the device keeps the key list.
//
// The table choices (mouse buttons, sensitivity, media, system, shortcuts, recoil slots) are filled
// from the key tables so that an item's index is its table row; the function choice's items come from
// the page layout, each with its function number as user data, so a device shows what it supports.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/key_set_control.h"
#include "editors/key_assignment_form.h"
#include "ui/horizontal_layout_ui.h"

namespace zevik {

class CComboUI;
class CEditUI;
class COptionUI;
class CTabLayoutUI;

class CKeySetControlUI : public CHorizontalLayoutUI, public IKeySetControl {
public:
    static constexpr std::string_view kClassName = "KeySetControlUI";
    static constexpr std::string_view kSkinTag = "KeySetControl";

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // ---- IKeySetControl ----
    void SetPageKind(int pageKind) override { pageKind_ = pageKind; }
    void SetMacroNames(std::vector<std::string> names) override;
    void EditKey(const KeyAssignRecord& record) override;
    std::optional<KeyAssignRecord> BuildAssignment() override;
    std::string LabelOf(AssignmentCode code) const override;

    int GetPageKind() const { return pageKind_; }
    const std::vector<std::string>& MacroNames() const { return macroNames_; }
    bool HasOpenKey() const { return open_; }
    const KeyAssignRecord& Pending() const { return pending_; }

    // Shows a record in the controls; the pending code may be corrected (a key no row names).
    void ShowAssignment(const KeyAssignRecord& record);
    // The factory code, as function 0.
    void ShowDefault();
    // The pending record again (cancel).
    void ShowStored();
    // A captured or chosen key: the key edit shows it and the pending code takes its usage.
    void SetKeyText(int keyTableRow);

    // The function choice changed: show its settings page.
    void OnFunctionSelected();
    // The play-mode choice changed: the cycle edit shows for the counted item only.
    void OnPlayModeSelected();

    // The controls as a form, and a form into the controls (for the command line and the tests).
    KeyAssignmentForm ReadForm();
    void WriteForm(const KeyAssignmentForm& form, bool functionFields);
    // Selects the function item whose user data is function; false when the page offers none.
    bool SelectFunction(int function);

    CComboUI* FunctionCombo();
    CComboUI* Combo(std::string_view name);
    CEditUI* Edit(std::string_view name);
    COptionUI* ModifierOption(int n);

private:
    void Bind();
    CControlUI* FindHere(std::string_view name);
    void FillTableCombos();
    void ShowFunctionPage(int function);

    int pageKind_ = 0;
    bool bound_ = false;
    bool open_ = false;
    KeyAssignRecord pending_;
    AssignmentCode factory_;
    std::vector<std::string> macroNames_;

    CComboUI* functionCombo_ = nullptr;    // "keyset_function_combo"
    CTabLayoutUI* functionTabs_ = nullptr;  // "function_switch_tablayout"
    CControlUI* settingsLayout_ = nullptr;  // "keyset_layout"
    CControlUI* cycleLayout_ = nullptr;     // "keyset_macro_cycle_layout"
    std::array<COptionUI*, kModifierOptions> modifiers_{};  // "key_ComBox_check_" n
};

}  // namespace zevik
