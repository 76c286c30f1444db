#include "editors/macro_control_ui.h"
#include "ui/attribute_parser.h"

#include <algorithm>
#include <cctype>

#include "editors/key_tables.h"
#include "editors/macro_mouse_events.h"
#include "editors/redio_macro_button_ui.h"
#include "settings/json_file_util.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"
#include "ui/label_ui.h"
#include "ui/list_element_ui.h"
#include "ui/list_ui.h"

namespace zevik {

namespace {

constexpr std::string_view kNameList = "macro_name_list";
constexpr std::string_view kActionList = "macro_action_list";
constexpr std::string_view kNameEdit = "macro_edit_macroname";
constexpr std::string_view kFixedDelayEdit = "macro_fixed_time_edit";
constexpr std::string_view kDelayEdit = "macro_delay";
constexpr std::string_view kEditingParts[] = {"macro_action_layout", "mouse_move_layout", "macro_btn_export",
                                              "macro_btn_name_sub", "macro_btn_name_edit"};
constexpr std::string_view kDisabledWhileRecording[] = {"macro_name_tab", "macro_tab_macroaction_edit",
                                                        "macro_tab_macrodelay_edit", kActionList};
constexpr std::string_view kDistanceEdits[] = {"mouse_x_left_edit", "mouse_x_right_edit", "mouse_y_up_edit",
                                               "mouse_y_down_edit"};
constexpr std::size_t kMaxDelayChars = 6;

CLabelUI* NewLabel(std::string_view text, std::string_view style, int width) {
    auto* label = new CLabelUI;
    label->SetAttribute("style", style);
    label->SetText(text);
    if (width > 0) label->SetAttribute("width", std::to_string(width));
    return label;
}

}  // namespace

std::string_view CMacroControlUI::GetClass() const { return kClassName; }

void* CMacroControlUI::GetInterface(std::string_view name) {
    if (name == IMacroControl::kInterfaceName) return static_cast<IMacroControl*>(this);
    if (name == kClassName) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

CControlUI* CMacroControlUI::FindHere(std::string_view name) {
    return FindControl([name](CControlUI& c) { return EqualsNoCase(c.GetName(), name); }, UIFIND_ALL | UIFIND_ME_FIRST);
}

CListUI* CMacroControlUI::NameList() { return dynamic_cast<CListUI*>(FindHere(kNameList)); }
CListUI* CMacroControlUI::ActionList() { return dynamic_cast<CListUI*>(FindHere(kActionList)); }
CEditUI* CMacroControlUI::Edit(std::string_view name) { return dynamic_cast<CEditUI*>(FindHere(name)); }

void CMacroControlUI::SetMacroFolder(const std::filesystem::path& folder) { store_ = CMacroStore(folder); }

void CMacroControlUI::ShowEditing(bool visible) {
    for (std::string_view name : kEditingParts) {
        if (CControlUI* c = FindHere(name)) c->SetVisible(visible);
    }
}

void CMacroControlUI::LoadMacroList() {
    CListUI* list = NameList();
    if (list == nullptr) return;
    list->RemoveAll();
    for (const MacroListEntry& entry : store_.Entries()) {
        auto* row = new CListLabelElementUI;
        row->SetFixedHeight(kRowHeight);
        row->SetText(entry.name);
        row->SetUserData(entry.guid);
        list->Add(row);
    }
    SelectMacro(-1);
    ShowEditing(list->GetCount() > 0);
}

int CMacroControlUI::SelectedMacro() const {
    auto* self = const_cast<CMacroControlUI*>(this);
    CListUI* list = self->NameList();
    return list != nullptr ? list->GetCurSel() : -1;
}

void CMacroControlUI::SelectMacro(int index) {
    CListUI* list = NameList();
    if (list == nullptr) return;
    if (index != list->GetCurSel()) list->SelectItem(index, false);
    const int selected = list->GetCurSel();
    CEditUI* nameEdit = Edit(kNameEdit);
    if (selected < 0) {
        FillActionRows({}, -1);
        if (nameEdit != nullptr) nameEdit->SetText(" ");
        return;
    }
    const MacroDocument document = store_.LoadMacro(selected);
    if (!document.guid.empty()) ShowEditing(true);
    FillActionRows(document.events, -1);
    if (nameEdit != nullptr) nameEdit->SetText(document.name);
}

CControlUI* CMacroControlUI::MakeActionRow(const MacroEvent& event) {
    auto* row = new CListContainerElementUI;
    row->SetName(kActionRowClass);
    row->SetFixedHeight(kRowHeight);
    row->SetAttribute("childpadding", "8");
    row->SetUserData(CJsonFileUtil::StyledText(MacroEventJson(event)));
    row->Add(NewLabel(event.IsDown() ? "macro_action_down_text" : "macro_action_up_text",
                      event.IsDown() ? "macro_label_down_style" : "macro_label_up_style", 60));
    const std::string key = MacroEventDisplayKey(event);
    const bool movement = event.type == kMacroMoveHorizontal || event.type == kMacroMoveVertical;
    std::string_view style = IsKeyboardMacroEvent(event) ? "macro_label_keyboard_style"
                             : (event.type >= 1 && event.type <= 5) ? "macro_label_mouse_style"
                                                                    : "macro_label_text_style";
    auto* text = NewLabel(key.empty() || movement ? std::to_string(event.button) : key, style, 0);
    row->Add(text);
    if (movement) row->Add(NewLabel(key, "macro_label_mouse_style", 70));
    auto* delay = new CEditUI;
    delay->SetName(kDelayEdit);
    delay->SetAttribute("width", "80");
    delay->SetAttribute("style", "macro_delay_style");
    delay->SetNumberOnly(true);
    delay->SetMaxChar(static_cast<int>(kMaxDelayChars));
    delay->SetText(std::to_string(event.delay));
    row->Add(delay);
    return row;
}

void CMacroControlUI::FillActionRows(const std::vector<MacroEvent>& events, int selected) {
    CListUI* list = ActionList();
    if (list == nullptr) return;
    list->RemoveAll();
    for (const MacroEvent& e : events) list->Add(MakeActionRow(e));
    list->SelectItem(selected < static_cast<int>(events.size()) ? selected : -1, false);
}

std::vector<MacroEvent> CMacroControlUI::RowEvents() {
    std::vector<MacroEvent> events;
    CListUI* list = ActionList();
    if (list == nullptr) return events;
    for (int i = 0; i < list->GetCount(); ++i) {
        CControlUI* row = list->GetItemAt(i);
        if (row == nullptr || row->GetUserData().empty()) break;
        Json::Value parsed;
        CJsonFileUtil::ParseJson(row->GetUserData(), parsed);
        MacroEvent event = MacroEventOf(parsed);
        auto* container = dynamic_cast<CContainerUI*>(row);
        CControlUI* delay = container != nullptr ? container->FindControl(
                                                       [](CControlUI& c) { return c.GetName() == kDelayEdit; }, UIFIND_ALL)
                                                 : nullptr;
        if (delay != nullptr) event.delay = ParseMacroDelay(delay->GetText());
        events.push_back(event);
    }
    return events;
}

std::string CMacroControlUI::AddMacro() {
    const MacroStoreResult r = store_.AddMacro();
    if (!r.ok()) return {};
    LoadMacroList();
    SelectMacro(r.index);
    return r.name;
}

std::string CMacroControlUI::AddMacroNamed(const std::string& name) {
    const MacroStoreResult r = store_.AddMacroNamed(name);
    if (!r.ok()) return {};
    LoadMacroList();
    SelectMacro(r.index);
    return r.guid;
}

bool CMacroControlUI::ImportMacro(const std::filesystem::path& file) {
    const MacroStoreResult r = store_.ImportMacro(file);
    if (!r.ok()) return false;
    LoadMacroList();
    SelectMacro(r.index);
    return true;
}

bool CMacroControlUI::ExportMacro(const std::filesystem::path& file) {
    const int selected = SelectedMacro();
    return selected >= 0 && !file.empty() && store_.ExportMacro(selected, file).ok();
}

std::string CMacroControlUI::RenameMacro() {
    const int selected = SelectedMacro();
    if (selected < 0) return {};
    CEditUI* nameEdit = Edit(kNameEdit);
    const std::string name = nameEdit != nullptr ? nameEdit->GetText() : std::string();
    const MacroStoreResult r = store_.RenameMacro(selected, name);
    if (!r.ok()) return r.message == CMacroStore::kEmptyNameAnswer ? std::string(CMacroStore::kEmptyNameAnswer) : std::string();
    if (CListUI* list = NameList()) {
        if (CControlUI* row = list->GetItemAt(selected)) row->SetText(name);
    }
    return name;
}

bool CMacroControlUI::SaveMacro() {
    const int selected = SelectedMacro();
    if (selected < 0) return false;
    const std::vector<MacroEvent> events = RowEvents();
    if (!store_.SaveMacro(selected, events).ok()) return false;
    // The rows show what was saved: clamped delays, normalised event objects.
    CListUI* list = ActionList();
    FillActionRows(events, list != nullptr ? list->GetCurSel() : -1);
    return true;
}

void CMacroControlUI::MacroDeleted() {
    LoadMacroList();
    CListUI* list = NameList();
    CEditUI* nameEdit = Edit(kNameEdit);
    if (nameEdit != nullptr && (list == nullptr || list->GetCount() == 0)) nameEdit->SetText("");
}

MacroRows CMacroControlUI::Rows() {
    CListUI* list = ActionList();
    return {RowEvents(), list != nullptr ? list->GetCurSel() : -1};
}

void CMacroControlUI::ShowRows(const MacroRows& rows) {
    if (SelectedMacro() < 0) return;
    FillActionRows(rows.events, rows.selected);
}

bool CMacroControlUI::StartRecording(int mode, RecordDelay delay, std::uint64_t startUs) {
    if (SelectedMacro() < 0) return false;
    const std::uint16_t fixed = delay == RecordDelay::Fixed ? TakeFixedDelay() : 0;
    recorder_.emplace(mode, delay, fixed, startUs);
    recordRows_ = Rows();
    SetEditEnabled(false);
    return true;
}

void CMacroControlUI::TakeRecorded(const InputEvent& event) {
    CListUI* list = ActionList();
    if (!recorder_ || list == nullptr || !recorder_->Take(event, recordRows_)) return;
    // One row control added or replaced: a long recording stays as cheap per event as a short one.
    const int at = recorder_->LastRow();
    if (recorder_->LastReplaced()) list->RemoveAt(at);
    list->AddAt(MakeActionRow(recordRows_.events[static_cast<size_t>(at)]), at);
    list->SelectItem(recordRows_.selected, false);
}

void CMacroControlUI::StopRecording() {
    if (!recorder_) return;
    recorder_.reset();
    SetEditEnabled(true);
    SaveMacro();
}

std::uint16_t CMacroControlUI::TakeFixedDelay() {
    const std::uint16_t delay = FixedDelay();
    if (CEditUI* edit = Edit(kFixedDelayEdit)) edit->SetText(std::to_string(delay));
    return delay;
}

bool CMacroControlUI::UsesFixedDelay() {
    const auto* check = dynamic_cast<COptionUI*>(FindHere("macro_check_time"));
    return check != nullptr && check->IsSelected();
}

std::uint16_t CMacroControlUI::FixedDelay() {
    CEditUI* edit = Edit(kFixedDelayEdit);
    return edit != nullptr ? ParseMacroDelay(edit->GetText()) : 0;
}

void CMacroControlUI::InsertEvent(const MacroEvent& event) {
    CListUI* list = ActionList();
    if (list == nullptr || SelectedMacro() < 0) return;
    std::vector<MacroEvent> events = RowEvents();
    const int at = InsertMacroEvent(events, list->GetCurSel(), event);
    FillActionRows(events, at);
}

bool CMacroControlUI::InsertKeyEvent(int keyTableRow, bool down) {
    const auto table = KeyTable();
    if (keyTableRow < 0 || static_cast<std::size_t>(keyTableRow) >= table.size()) return false;
    const KeyTableRow& row = table[static_cast<std::size_t>(keyTableRow)];
    MacroEvent event{down ? "down" : "up", 0, 0, FixedDelay()};
    if (keyTableRow < kFirstOrdinaryKeyRow) {
        event.type = kMacroModifierKey;
        event.button = row.code.p1;
    } else if (row.code.type == 0x20 && row.code.p1 == 0 && row.code.p2 != 0) {
        event.type = kMacroKeyboardKey;
        event.button = row.code.p2;
    } else {
        return false;
    }
    InsertEvent(event);
    return true;
}

bool CMacroControlUI::InsertMouseEvent(std::uint32_t message, int variant) {
    if (message == 0) {
        const MacroMouseEventRow* row = MacroMovementRow(variant);
        if (row == nullptr) return false;
        CEditUI* edit = Edit(kDistanceEdits[variant]);
        const int distance = std::min<int>(edit != nullptr ? ParseMacroDelay(edit->GetText()) : 0, 255);
        InsertEvent({row->down ? "down" : "up", static_cast<std::uint8_t>(distance), row->type, FixedDelay()});
        return true;
    }
    const MacroMouseEventRow* row = FindMacroMouseEvent(message, static_cast<std::uint8_t>(variant));
    if (row == nullptr) return false;
    InsertEvent({row->down ? "down" : "up", row->button, row->type, FixedDelay()});
    return true;
}

void CMacroControlUI::DeleteEvent() {
    CListUI* list = ActionList();
    if (list == nullptr) return;
    std::vector<MacroEvent> events = RowEvents();
    const int selected = RemoveMacroEvent(events, list->GetCurSel());
    if (selected < 0 && list->GetCurSel() < 0) return;
    FillActionRows(events, selected);
}

void CMacroControlUI::DeleteAllEvents() { FillActionRows({}, -1); }

void CMacroControlUI::MoveEvent(MacroRowMove move) {
    CListUI* list = ActionList();
    if (list == nullptr) return;
    std::vector<MacroEvent> events = RowEvents();
    const int selected = MoveMacroEvent(events, list->GetCurSel(), move);
    if (selected >= 0) FillActionRows(events, selected);
}

void CMacroControlUI::SetEditEnabled(bool enabled) {
    for (std::string_view name : kDisabledWhileRecording) {
        if (CControlUI* c = FindHere(name)) c->SetEnabled(enabled);
    }
    if (CControlUI* start = FindHere("macro_btn_starredio")) start->SetEnabled(enabled);
    if (CControlUI* stop = FindHere("macro_btn_stopredio")) {
        stop->SetEnabled(!enabled);
        // The stop button blinks while editing is off, that is while a recording runs.
        if (auto* blinking = dynamic_cast<CRedioMacroButtonUI*>(stop)) blinking->SetBlinking(!enabled);
    }
}

}  // namespace zevik
