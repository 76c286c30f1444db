#pragma once
// CMacroControlUI: the macro page of a device ("MacroControlItem" in the page layout). The left list
// shows the kind's macros ("macro_name_list", the identifier as each row's user data); the action
// list ("macro_action_list") shows the selected macro's events, one "macro_action" row each, the
// event object as the row's user data and its delay in the row's "macro_delay" edit, which is the
// authority for the delay. The files are the truth (CMacroStore); the list changes them at once,
// the events on SaveMacro.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/macro_control.h"
#include "editors/macro_event_list.h"
#include "editors/macro_recorder.h"
#include "settings/macro_event.h"
#include "settings/macro_store.h"
#include "ui/horizontal_layout_ui.h"

namespace zevik {

class CEditUI;
class CListUI;

class CMacroControlUI : public CHorizontalLayoutUI, public IMacroControl {
public:
    static constexpr std::string_view kClassName = "MacroControlUI";
    static constexpr std::string_view kSkinTag = "MacroControl";
    static constexpr std::string_view kActionRowClass = "macro_action";
    static constexpr int kRowHeight = 30;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // ---- IMacroControl ----
    void SetMacroFolder(const std::filesystem::path& folder) override;
    void LoadMacroList() override;

    // The selected macro's events shown (index -1: none selected; the action list is cleared).
    void SelectMacro(int index);
    int SelectedMacro() const;
    // A new macro, selected; its name, or empty at the limit or on a failed write.
    std::string AddMacro();
    // Same, named name (suffixes while taken); its identifier or empty.
    std::string AddMacroNamed(const std::string& name);
    bool ImportMacro(const std::filesystem::path& file);
    bool ExportMacro(const std::filesystem::path& file);
    // The name edit's text given to the selected macro: the name, empty for a name in use (the
    // caller shows "message_text_5"), or "IsEmpty" for an empty edit.
    std::string RenameMacro();
    // Writes the selected macro from the action rows (delays clamped to 0..65535).
    bool SaveMacro();
    // The list after a deletion: reloaded, nothing selected, the name edit cleared when none is left.
    void MacroDeleted();

    // Event edits on the action list; the new or moved row becomes the selected one.
    void InsertEvent(const MacroEvent& event);
    // A key of the key table (types 9 and 10); false for a row without a key event.
    bool InsertKeyEvent(int keyTableRow, bool down);
    // A button message of the mouse event table (variant: the X button), or a movement (message 0,
    // variant 0..3 left, right, up, down, the distance from the page's distance edits).
    bool InsertMouseEvent(std::uint32_t message, int variant);
    void DeleteEvent();
    void DeleteAllEvents();
    void MoveEvent(MacroRowMove move);
    void SetEditEnabled(bool enabled);
    // ---- recording ----
    // The action rows and the selected one, and rows shown back after a recorded event.
    MacroRows Rows();
    void ShowRows(const MacroRows& rows);
    // The fixed delay of a recording: "macro_fixed_time_edit" held to 0..65535 and written back.
    std::uint16_t TakeFixedDelay();
    // "macro_check_time": recordings use the fixed delay.
    bool UsesFixedDelay();
    // A recording into the selected macro: started with its placement mode and delay, fed the captured
    // events on the UI thread, stopped (the macro is then saved).
    bool StartRecording(int mode, RecordDelay delay, std::uint64_t startUs);
    void TakeRecorded(const InputEvent& event);
    void StopRecording();
    bool IsRecording() const { return recorder_.has_value(); }

    // The events as the action rows hold them now.
    std::vector<MacroEvent> RowEvents();
    CListUI* NameList();
    CListUI* ActionList();
    CEditUI* Edit(std::string_view name);
    const CMacroStore& Store() const { return store_; }

private:
    CControlUI* FindHere(std::string_view name);
    void ShowEditing(bool visible);
    void FillActionRows(const std::vector<MacroEvent>& events, int selected);
    CControlUI* MakeActionRow(const MacroEvent& event);
    std::uint16_t FixedDelay();

    CMacroStore store_{std::filesystem::path()};
    std::optional<CMacroRecorder> recorder_;
    MacroRows recordRows_;  // the rows while recording: each event changes one row control
};

}  // namespace zevik
