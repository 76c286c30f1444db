#include "shell/macro_routes.h"

#include <array>
#include <ctime>
#include <optional>

#include "devices/keyboard_device.h"
#include "devices/mouse_device.h"
#include "editors/macro_control_ui.h"
#include "editors/macro_mouse_events.h"
#include "settings/macro_deletion.h"
#include "shell/key_handlers.h"
#include "shell/main_routes.h"
#include "shell/main_window_ops.h"
#include "ui/edit_ui.h"

namespace zevik {

namespace {

// The mouse's current profile as the deletion sees it: its key list, sent with the macros it uses
// and saved.
class MouseMacroKeys : public ICurrentMacroKeys {
public:
    explicit MouseMacroKeys(COrbantixMouseDevice& mouse) : mouse_(mouse) {}
    std::vector<KeyAssignRecord> CurrentKeys() override { return mouse_.Profile().GetKeyList(); }
    std::string SendKeys(const std::vector<KeyAssignRecord>& keys) override {
        mouse_.Profile().SetKeyList(keys);
        const int result = mouse_.WriteKeysAndMacros();
        return result == 0 ? std::string() : "the mouse did not take the key list (" + std::to_string(result) + ")";
    }
    JsonWriteResult SaveKeys(const std::vector<KeyAssignRecord>& keys) override {
        mouse_.Profile().SetKeyList(keys);
        return mouse_.Profile().SaveProfile();
    }

private:
    COrbantixMouseDevice& mouse_;
};

// The keyboard's layer 1 (the layer that binds macros) as the deletion sees it, sent with the macros
// it uses and saved.
class KeyboardMacroKeys : public ICurrentMacroKeys {
public:
    explicit KeyboardMacroKeys(COrbantixKeyboardDevice& keyboard) : keyboard_(keyboard) {}
    std::vector<KeyAssignRecord> CurrentKeys() override { return keyboard_.KeyLayer(1); }
    std::string SendKeys(const std::vector<KeyAssignRecord>& keys) override {
        keyboard_.SetKeyLayer(1, keys);
        const int result = keyboard_.WriteLayerAndMacros(1);
        return result == 0 ? std::string() : "the keyboard did not take the key list (" + std::to_string(result) + ")";
    }
    JsonWriteResult SaveKeys(const std::vector<KeyAssignRecord>& keys) override {
        keyboard_.SetKeyLayer(1, keys);
        return keyboard_.Profile().SaveProfile();
    }

private:
    COrbantixKeyboardDevice& keyboard_;
};

// The macro page of the current device: the mouse's or the keyboard's.
struct MacroTarget {
    COrbantixUSBDevice* device = nullptr;
    CMacroControlUI* control = nullptr;
    explicit operator bool() const { return device != nullptr && control != nullptr; }
};

MacroTarget CurrentTarget(IMainWindowOps& ops) {
    COrbantixUSBDevice* device = ops.GetCurrentDevice();
    if (device == nullptr || (device->GetKind() != kDeviceKindMouse && device->GetKind() != kDeviceKindKeyboard)) {
        return {};
    }
    return {device, FindControlOfClass<CMacroControlUI>(device)};
}

void Delete(IMainWindowOps& ops, const MacroTarget& t, int selected, CBasicProfiledata& profile,
            const std::filesystem::path& folder, ICurrentMacroKeys& current) {
    const MacroDeletionPlace place{folder, profile.GetDefaultPath(), profile.GetDeviceIndex(), profile.GetProfilePath()};
    const MacroDeletionResult r = DeleteMacroEverywhere(
        place, selected, current, [&ops](const std::string& key) { return ops.AskUser(key, 1) == 1; });
    if (r.declined) return;
    t.control->MacroDeleted();
    t.device->ShowKeyAssignments();
    if (!r.deviceFailure.empty()) ops.AskUser("message_text_7", 0);
}

void OnDelete(IMainWindowOps& ops, const MacroTarget& t) {
    const int selected = t.control->SelectedMacro();
    if (selected < 0) return;
    if (auto* mouse = dynamic_cast<COrbantixMouseDevice*>(t.device)) {
        MouseMacroKeys current(*mouse);
        Delete(ops, t, selected, mouse->Profile(), mouse->KindFolder(), current);
    } else if (auto* keyboard = dynamic_cast<COrbantixKeyboardDevice*>(t.device)) {
        KeyboardMacroKeys current(*keyboard);
        Delete(ops, t, selected, keyboard->Profile(), keyboard->KindFolder(), current);
    }
}

using Action = void (*)(IMainWindowOps&, const MacroTarget&);

struct ButtonRoute {
    const char* name;
    Action action;
    bool editsEvents;  // a move or delete button: saved at once, then the key edit state
};

constexpr std::array<ButtonRoute, 13> kButtons = {{
    {"macro_btn_name_add",
     [](IMainWindowOps& ops, const MacroTarget& t) {
         if (ops.AskUser("message_text_28", 1) == 1) t.control->AddMacro();
     },
     false},
    {"macro_btn_name_sub",
     [](IMainWindowOps& ops, const MacroTarget& t) { OnDelete(ops, t); }, false},
    {"macro_btn_name_edit",
     [](IMainWindowOps& ops, const MacroTarget& t) {
         if (t.control->SelectedMacro() >= 0 && t.control->RenameMacro().empty()) ops.AskUser("message_text_5", 0);
     },
     false},
    {"macro_btn_save", [](IMainWindowOps&, const MacroTarget& t) { t.control->SaveMacro(); }, false},
    {"macro_btn_export",
     [](IMainWindowOps& ops, const MacroTarget& t) {
         if (t.control->SelectedMacro() < 0) return;
         const CEditUI* name = t.control->Edit("macro_edit_macroname");
         const std::filesystem::path file =
             ops.ChooseFile(true, "Export macro", (name != nullptr ? name->GetText() : std::string("macro")) + ".mac",
                            "Macro Files", {"*.mac", "*.MAC"});
         if (!file.empty()) t.control->ExportMacro(file);
     },
     false},
    {"macro_btn_import",
     [](IMainWindowOps& ops, const MacroTarget& t) {
         const std::filesystem::path file = ops.ChooseFile(false, "Import macro", {}, "Macro Files", {"*.mac", "*.MAC"});
         if (!file.empty()) t.control->ImportMacro(file);
     },
     false},
    {"macro_btn_cancel",
     [](IMainWindowOps&, const MacroTarget& t) { t.control->SelectMacro(t.control->SelectedMacro()); }, false},
    {"macro_btn_up", [](IMainWindowOps&, const MacroTarget& t) { t.control->MoveEvent(MacroRowMove::Up); }, true},
    {"macro_btn_down", [](IMainWindowOps&, const MacroTarget& t) { t.control->MoveEvent(MacroRowMove::Down); }, true},
    {"macro_btn_uptop", [](IMainWindowOps&, const MacroTarget& t) { t.control->MoveEvent(MacroRowMove::Top); }, true},
    {"macro_btn_downbottom",
     [](IMainWindowOps&, const MacroTarget& t) { t.control->MoveEvent(MacroRowMove::Bottom); }, true},
    {"macro_btn_delete", [](IMainWindowOps&, const MacroTarget& t) { t.control->DeleteEvent(); }, true},
    {"macro_btn_deleteall", [](IMainWindowOps&, const MacroTarget& t) { t.control->DeleteAllEvents(); }, true},
}};

// The movement buttons, matched with case: direction 0..3.
constexpr std::array<const char*, 4> kMoveButtons = {"macro_inset_moveleftkey_btn", "macro_inset_moverightkey_btn",
                                                     "macro_inset_moveupkey_btn", "macro_inset_movedownkey_btn"};

struct MenuButton {
    const char* name;
    std::uint32_t down, up;
    int xButton;
};
constexpr MenuButton kMenuButtons[] = {
    {"left", kWmLButtonDown, kWmLButtonUp, 0},     {"middle", kWmMButtonDown, kWmMButtonUp, 0},
    {"right", kWmRButtonDown, kWmRButtonUp, 0},    {"forward", kWmXButtonDown, kWmXButtonUp, 2},
    {"back", kWmXButtonDown, kWmXButtonUp, 1},
};

}  // namespace

namespace {

// The recording's delay as the page sets it: the fixed delay when "macro_check_time" is chosen.
RecordDelay PageDelay(const MacroTarget& t) { return t.control->UsesFixedDelay() ? RecordDelay::Fixed : RecordDelay::Real; }

// The popup's recording items: placement mode and delay (0: as the page sets it).
struct RecordItem {
    const char* name;
    int mode;
    int delay;
};
constexpr RecordItem kRecordItems[] = {
    {"redio_previous_record_time", 8, 0}, {"redio_previous_constant_time", 8, 2}, {"redio_previous_ignore_time", 8, 3},
    {"redio_later_record_time", 16, 0},   {"redio_later_constant_time", 16, 2},   {"redio_later_ignore_time", 16, 3},
    {"macro_action_edit", 32, 3},
};

}  // namespace

bool StartMacroRecording(IMainWindowOps& ops, int mode, std::optional<RecordDelay> delay) {
    const MacroTarget t = CurrentTarget(ops);
    if (!t || t.control->IsRecording() || t.control->SelectedMacro() < 0) return false;
    std::string error;
    const std::uint64_t start = InputClockNowUs();
    if (ops.InstallRecordingHook(mode, error) == 0) {
        ops.AskUser("record_no_input_text", 0, error);
        return false;
    }
    t.control->StartRecording(mode, delay.value_or(PageDelay(t)), start);
    return true;
}

void StopMacroRecording(IMainWindowOps& ops) {
    ops.UninstallRecordingHook();
    if (const MacroTarget t = CurrentTarget(ops)) t.control->StopRecording();
    SetKeyEditState(ops, 0, 0);
}

void OnRecordedInput(IMainWindowOps& ops, const InputEvent& event) {
    if (const MacroTarget t = CurrentTarget(ops)) t.control->TakeRecorded(event);
}

bool OnMacroMenuItem(IMainWindowOps& ops, std::string_view item) {
    for (const MenuButton& b : kMenuButtons) {
        const std::string name = b.name;
        const bool down = item == name + "_down", up = item == name + "_up", click = item == name + "_click";
        if (!down && !up && !click) continue;
        const MacroTarget t = CurrentTarget(ops);
        if (!t || t.control->IsRecording()) return true;
        if (down || click) t.control->InsertMouseEvent(b.down, b.xButton);
        if (up || click) t.control->InsertMouseEvent(b.up, b.xButton);
        return true;
    }
    return false;
}

void AddMacroRoutes(CNotifyRouter& router, IMainWindowOps& ops) {
    for (const ButtonRoute& button : kButtons) {
        router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, button.name, [&ops, button](TNotifyUI&, int) {
            const MacroTarget t = CurrentTarget(ops);
            // A running recording owns the rows: an edit now would shift the rows it places events at.
            if (!t || t.control->IsRecording()) return;
            button.action(ops, t);
            if (!button.editsEvents) {
                // The key page's macro choice and the buttons' labels follow the macro list.
                t.device->ShowKeyAssignments();
                return;
            }
            t.control->SaveMacro();
            SetKeyEditState(ops, 0, 0);
        });
    }
    for (std::size_t d = 0; d < kMoveButtons.size(); ++d) {
        router.Add(DUI_MSGTYPE_CLICK, RouteMatch::NameCase, kMoveButtons[d], [&ops, d](TNotifyUI&, int) {
            const MacroTarget t = CurrentTarget(ops);
            if (t && !t.control->IsRecording()) t.control->InsertMouseEvent(0, static_cast<int>(d));
        });
    }
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "macro_btn_starredio",
               [&ops](TNotifyUI&, int) { StartMacroRecording(ops, 4, std::nullopt); });
    router.Add(DUI_MSGTYPE_CLICK, RouteMatch::Name, "macro_btn_stopredio",
               [&ops](TNotifyUI&, int) { StopMacroRecording(ops); });
    for (const RecordItem& item : kRecordItems) {
        router.Add(kMenuCommandType, RouteMatch::Name, item.name, [&ops, item](TNotifyUI&, int) {
            StartMacroRecording(ops, item.mode,
                                item.delay == 0 ? std::nullopt : std::optional(static_cast<RecordDelay>(item.delay)));
        });
    }
    router.Add(DUI_MSGTYPE_ITEMSELECT, RouteMatch::Name, "macro_name_list", [&ops](TNotifyUI&, int) {
        if (const MacroTarget t = CurrentTarget(ops)) t.control->SelectMacro(t.control->SelectedMacro());
    });
    for (const MenuButton& b : kMenuButtons) {
        for (const char* what : {"_down", "_up", "_click"}) {
            const std::string item = std::string(b.name) + what;
            router.Add(kMenuCommandType, RouteMatch::Name, item,
                       [&ops, item](TNotifyUI&, int) { OnMacroMenuItem(ops, item); });
        }
    }
    router.Add(DUI_MSGTYPE_ITEMACTIVATE, RouteMatch::Name, CMacroControlUI::kActionRowClass,
               [&ops](TNotifyUI&, int) { ops.OpenMacroActionMenu(); });
    // A typed delay shows as the value it stands for: 0 to 65535.
    router.Add(DUI_MSGTYPE_KILLFOCUS, RouteMatch::Name, "macro_delay", [](TNotifyUI& msg, int) {
        if (msg.pSender != nullptr) msg.pSender->SetText(std::to_string(ParseMacroDelay(msg.pSender->GetText())));
    });
}

}  // namespace zevik
