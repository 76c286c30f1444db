#include "editors/key_set_control_ui.h"
#include "ui/attribute_parser.h"

#include <algorithm>
#include <cctype>
#include <span>

#include "editors/key_function_label.h"
#include "editors/key_tables.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"
#include "ui/tab_layout_ui.h"

namespace zevik {

namespace {

constexpr std::string_view kMouseKeyCombo = "keyset_mousekey_combo";
constexpr std::string_view kSwingCombo = "keyset_mouseswing_combo";
constexpr std::string_view kWheelCombo = "keyset_mousewheel_combo";
constexpr std::string_view kDpiCombo = "keyset_mousedpi_combo";
constexpr std::string_view kMediaCombo = "keyset_media_combo";
constexpr std::string_view kSystemCombo = "keyset_system_combo";
constexpr std::string_view kMacroCombo = "keyset_macro_combo";
constexpr std::string_view kPlayModeCombo = "keyset_macro_over_combo";
constexpr std::string_view kGunCombo = "keyset_gunkey_combo";
constexpr std::string_view kShortcutCombo = "keyset_combokey_combo";
constexpr std::string_view kCycleEdit = "keyset_macro_cycle_edit";
constexpr std::string_view kKeyEdit = "keyset_keyboard_text_edit";
constexpr std::string_view kFireIntervalEdit = "keyset_mousefire_interval_edit";
constexpr std::string_view kFireCountEdit = "keyset_mousefire_num_edit";

struct MotionNames {
    std::string_view combo, delay, speed, count;
};
constexpr MotionNames kSwingNames{kSwingCombo, "keyset_mouseswing_delay_edit", "keyset_mouseswing_speed_edit",
                                  "keyset_mouseswing_num_edit"};
constexpr MotionNames kWheelNames{kWheelCombo, "keyset_mousewheel_delay_edit", "keyset_mousewheel_speed_edit",
                                  "keyset_mousewheel_num_edit"};

int SelectionOf(CComboUI* combo) { return combo != nullptr ? combo->GetCurSel() : -1; }

void Select(CComboUI* combo, int index) {
    if (combo == nullptr) return;
    if (!combo->SelectItem(index, false)) combo->SelectItem(-1, false);
}

std::string TextOf(CEditUI* edit) { return edit != nullptr ? edit->GetText() : std::string(); }

void SetEditText(CEditUI* edit, std::string_view text) {
    if (edit != nullptr) edit->SetText(text);
}

}  // namespace

std::string_view CKeySetControlUI::GetClass() const { return kClassName; }

void* CKeySetControlUI::GetInterface(std::string_view name) {
    if (name == IKeySetControl::kInterfaceName) return static_cast<IKeySetControl*>(this);
    if (name == kClassName) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

CControlUI* CKeySetControlUI::FindHere(std::string_view name) {
    return FindControl([name](CControlUI& c) { return EqualsNoCase(c.GetName(), name); },
                       UIFIND_ALL | UIFIND_ME_FIRST);
}

CComboUI* CKeySetControlUI::Combo(std::string_view name) { return dynamic_cast<CComboUI*>(FindHere(name)); }
CEditUI* CKeySetControlUI::Edit(std::string_view name) { return dynamic_cast<CEditUI*>(FindHere(name)); }

CComboUI* CKeySetControlUI::FunctionCombo() {
    Bind();
    return functionCombo_;
}

COptionUI* CKeySetControlUI::ModifierOption(int n) {
    Bind();
    return n >= 0 && n < kModifierOptions ? modifiers_[static_cast<size_t>(n)] : nullptr;
}

void CKeySetControlUI::Bind() {
    if (bound_) return;
    bound_ = true;
    functionCombo_ = Combo("keyset_function_combo");
    functionTabs_ = dynamic_cast<CTabLayoutUI*>(FindHere("function_switch_tablayout"));
    settingsLayout_ = FindHere("keyset_layout");
    cycleLayout_ = FindHere("keyset_macro_cycle_layout");
    for (int n = 0; n < kModifierOptions; ++n) {
        modifiers_[static_cast<size_t>(n)] = dynamic_cast<COptionUI*>(FindHere("key_ComBox_check_" + std::to_string(n)));
    }
    FillTableCombos();
    // Nothing to set until a key is opened on the picture.
    if (settingsLayout_ != nullptr && !open_) settingsLayout_->SetVisible(false);
}

void CKeySetControlUI::FillTableCombos() {
    const auto fill = [this](std::string_view name, std::span<const KeyTableRow> table) {
        CComboUI* combo = Combo(name);
        if (combo == nullptr) return;
        combo->RemoveAll();
        for (const KeyTableRow& row : table) combo->AddItem(row.displayKey);
    };
    fill(kMouseKeyCombo, MouseButtonTable());
    fill(kDpiCombo, DpiTable());
    fill(kMediaCombo, MediaTable());
    fill(kSystemCombo, SystemTable());
    fill(kShortcutCombo, ShortcutTable());
    if (CComboUI* guns = Combo(kGunCombo)) {
        guns->RemoveAll();
        for (const char* name : GunNames()) guns->AddItem(name);
    }
}

void CKeySetControlUI::SetMacroNames(std::vector<std::string> names) {
    Bind();
    macroNames_ = std::move(names);
    if (CComboUI* combo = Combo(kMacroCombo)) {
        const int selected = combo->GetCurSel();
        combo->RemoveAll();
        for (const std::string& name : macroNames_) combo->AddItem(name);
        Select(combo, selected);
    }
}

std::string CKeySetControlUI::LabelOf(AssignmentCode code) const { return KeyFunctionLabel(code, macroNames_); }

void CKeySetControlUI::EditKey(const KeyAssignRecord& record) {
    Bind();
    open_ = true;
    pending_ = record;
    factory_ = record.defaultAssignment;
    ShowAssignment(record);
}

void CKeySetControlUI::ShowAssignment(const KeyAssignRecord& record) {
    Bind();
    const ShownAssignment shown = ShowCode(record.assignment, factory_, static_cast<int>(macroNames_.size()));
    pending_ = record;
    pending_.assignment = shown.pending;
    WriteForm(shown.form, shown.setsFunctionFields);
}

void CKeySetControlUI::ShowDefault() {
    const ShownAssignment shown = ShowCode(factory_, factory_, static_cast<int>(macroNames_.size()));
    WriteForm(shown.form, false);
}

void CKeySetControlUI::ShowStored() { ShowAssignment(pending_); }

std::optional<KeyAssignRecord> CKeySetControlUI::BuildAssignment() {
    Bind();
    if (!open_) return std::nullopt;
    pending_.assignment =
        BuildCode(ReadForm(), pending_.assignment, factory_, static_cast<int>(macroNames_.size()));
    return pending_;
}

void CKeySetControlUI::SetKeyText(int keyTableRow) {
    Bind();
    if (keyTableRow < 0 || static_cast<size_t>(keyTableRow) >= KeyTable().size()) return;
    const KeyTableRow& row = KeyTable()[static_cast<size_t>(keyTableRow)];
    SetEditText(Edit(kKeyEdit), row.displayKey);
    pending_.assignment.p2 = row.code.p2;
}

bool CKeySetControlUI::SelectFunction(int function) {
    Bind();
    if (functionCombo_ != nullptr) {
        for (int i = 0; i < functionCombo_->GetCount(); ++i) {
            CControlUI* item = functionCombo_->GetItemAt(i);
            if (item != nullptr && item->GetUserData() == std::to_string(function)) {
                functionCombo_->SelectItem(i, false);
                ShowFunctionPage(function);
                return true;
            }
        }
        functionCombo_->SelectItem(-1, false);
    }
    ShowFunctionPage(-1);
    return false;
}

void CKeySetControlUI::ShowFunctionPage(int function) {
    if (functionTabs_ != nullptr && function >= 0) functionTabs_->SelectItem(function, false);
    if (settingsLayout_ != nullptr) settingsLayout_->SetVisible(function >= 0);
}

void CKeySetControlUI::OnFunctionSelected() {
    Bind();
    const int item = SelectionOf(functionCombo_);
    CControlUI* chosen = item >= 0 ? functionCombo_->GetItemAt(item) : nullptr;
    const int function = chosen != nullptr ? EditNumber(chosen->GetUserData()) : -1;
    ShowFunctionPage(function);
    // A newly chosen function starts from its first choice, so what is kept is what is shown.
    const auto first = [this](std::string_view name) {
        CComboUI* combo = Combo(name);
        if (combo != nullptr && combo->GetCurSel() < 0 && combo->GetCount() > 0) combo->SelectItem(0, false);
    };
    switch (function) {
        case kFunctionMouseButton: first(kMouseKeyCombo); break;
        case kFunctionDpi: first(kDpiCombo); break;
        case kFunctionMedia: first(kMediaCombo); break;
        case kFunctionSystem: first(kSystemCombo); break;
        case kFunctionShortcut: first(kShortcutCombo); break;
        case kFunctionGun: first(kGunCombo); break;
        case kFunctionMacro:
            first(kMacroCombo);
            first(kPlayModeCombo);
            break;
        default: break;
    }
}

void CKeySetControlUI::OnPlayModeSelected() {
    Bind();
    if (cycleLayout_ != nullptr) cycleLayout_->SetVisible(SelectionOf(Combo(kPlayModeCombo)) == kMacroPlayCounted);
}

KeyAssignmentForm CKeySetControlUI::ReadForm() {
    Bind();
    KeyAssignmentForm f;
    const int item = SelectionOf(functionCombo_);
    CControlUI* chosen = item >= 0 ? functionCombo_->GetItemAt(item) : nullptr;
    f.function = chosen != nullptr ? EditNumber(chosen->GetUserData()) : kFunctionDefault;
    f.mouseButton = SelectionOf(Combo(kMouseKeyCombo));
    f.dpi = SelectionOf(Combo(kDpiCombo));
    f.media = SelectionOf(Combo(kMediaCombo));
    f.system = SelectionOf(Combo(kSystemCombo));
    f.shortcut = SelectionOf(Combo(kShortcutCombo));
    f.gun = SelectionOf(Combo(kGunCombo));
    const auto motion = [this](const MotionNames& names, MotionFields& m) {
        m.direction = SelectionOf(Combo(names.combo)) == 1 ? 1 : 0;
        m.delay = TextOf(Edit(names.delay));
        m.speed = TextOf(Edit(names.speed));
        m.count = TextOf(Edit(names.count));
    };
    motion(kSwingNames, f.swing);
    motion(kWheelNames, f.wheel);
    f.fireInterval = TextOf(Edit(kFireIntervalEdit));
    f.fireCount = TextOf(Edit(kFireCountEdit));
    // The highest selected option wins, as several may show selected in a layout without groups.
    for (int n = kModifierOptions - 1; n >= 0; --n) {
        if (modifiers_[static_cast<size_t>(n)] != nullptr && modifiers_[static_cast<size_t>(n)]->IsSelected()) {
            f.modifierOption = n;
            break;
        }
    }
    if (CEditUI* key = Edit(kKeyEdit)) f.keyTextKey = key->GetTextKey();
    f.macro = SelectionOf(Combo(kMacroCombo));
    f.playMode = SelectionOf(Combo(kPlayModeCombo));
    f.cycles = TextOf(Edit(kCycleEdit));
    f.cyclesShown = cycleLayout_ != nullptr && cycleLayout_->IsVisible();
    return f;
}

void CKeySetControlUI::WriteForm(const KeyAssignmentForm& f, bool functionFields) {
    Bind();
    if (functionFields) {
        switch (f.function) {
            case kFunctionMouseButton: Select(Combo(kMouseKeyCombo), f.mouseButton); break;
            case kFunctionDpi: Select(Combo(kDpiCombo), f.dpi); break;
            case kFunctionMedia: Select(Combo(kMediaCombo), f.media); break;
            case kFunctionSystem: Select(Combo(kSystemCombo), f.system); break;
            case kFunctionShortcut: Select(Combo(kShortcutCombo), f.shortcut); break;
            case kFunctionGun: Select(Combo(kGunCombo), f.gun); break;
            case kFunctionSwing:
            case kFunctionWheel: {
                const MotionNames& names = f.function == kFunctionSwing ? kSwingNames : kWheelNames;
                const MotionFields& m = f.function == kFunctionSwing ? f.swing : f.wheel;
                Select(Combo(names.combo), m.direction);
                SetEditText(Edit(names.delay), m.delay);
                SetEditText(Edit(names.speed), m.speed);
                SetEditText(Edit(names.count), m.count);
                break;
            }
            case kFunctionFire:
                SetEditText(Edit(kFireIntervalEdit), f.fireInterval);
                SetEditText(Edit(kFireCountEdit), f.fireCount);
                break;
            case kFunctionKeyboardKey:
                for (int n = 0; n < kModifierOptions; ++n) {
                    if (COptionUI* option = modifiers_[static_cast<size_t>(n)]) option->Selected(n == f.modifierOption, false);
                }
                SetEditText(Edit(kKeyEdit), f.keyTextKey);
                break;
            case kFunctionMacro:
                Select(Combo(kMacroCombo), f.macro);
                Select(Combo(kPlayModeCombo), f.playMode);
                if (cycleLayout_ != nullptr) cycleLayout_->SetVisible(f.cyclesShown);
                if (f.cyclesShown) SetEditText(Edit(kCycleEdit), f.cycles);
                break;
            default: break;
        }
    }
    SelectFunction(f.function);
}

}  // namespace zevik
