#include "shell/key_commands.h"

#include <json/json.h>

#include <chrono>

#include "devices/mouse_device.h"
#include "editors/key_assignment_form.h"
#include "editors/key_function_label.h"
#include "editors/key_set_control_ui.h"
#include "settings/json_file_util.h"
#include "platform/input_source.h"
#include "shell/command_numbers.h"
#include "shell/headless_session.h"
#include "shell/key_handlers.h"
#include "shell/main_wnd.h"
#include "shell/msg_wnd.h"
#include "ui/resource_manager.h"

namespace zevik {

namespace {

using namespace std::chrono_literals;

std::string MessageText(std::string_view key) { return CResourceManager::GetInstance()->ResolveText(key); }

void List(COrbantixMouseDevice& mouse, std::ostream& out, bool json) {
    const std::vector<KeyAssignRecord> keys = mouse.Profile().GetKeyList();
    const size_t count = std::min<size_t>(keys.size(), kMousePageKeys);
    Json::Value doc(Json::objectValue);
    doc["keys"] = Json::Value(Json::arrayValue);
    for (size_t n = 0; n < count; ++n) {
        const KeyAssignRecord& key = keys[n];
        const std::string code = AssignmentHex(key.assignment);
        const std::string function = KeyFunctionText(key.assignment, key.defaultAssignment);
        if (json) {
            Json::Value row(Json::objectValue);
            row["key"] = static_cast<int>(n + 1);
            row["code"] = code;
            row["function"] = function;
            doc["keys"].append(row);
        } else {
            out << n + 1 << "  " << code << "  " << function << '\n';
        }
    }
    if (json) out << CJsonFileUtil::StyledText(doc);
}

// The key's controls set to the function, as the user would leave them before "keep".
bool SetControls(CKeySetControlUI& page, const KeyAssignRecord& key, const KeyFunctionWords& function,
                 std::string& error) {
    const int macros = static_cast<int>(page.MacroNames().size());
    const AssignmentCode code = function.isDefault ? key.defaultAssignment : function.code;
    if ((code.type == 0x70 || code.type == 0x71) && code.p1 >= macros) {
        error = "there is no macro " + std::to_string(code.p1 + 1) + "; the mouse's macro list holds " +
                std::to_string(macros);
        return false;
    }
    const ShownAssignment shown = ShowCode(code, key.defaultAssignment, macros);
    page.WriteForm(shown.form, shown.setsFunctionFields);
    if (function.keyRow >= 0) page.SetKeyText(function.keyRow);
    return true;
}

int Write(CHeadlessSession& session, std::string& error) {
    const int result = OnKeyWrite(session.Window());
    session.PumpFor(1ms);
    error = DeviceWriteFailureText(result);
    return result == 0 ? 0 : 1;
}

}  // namespace

std::string DeviceWriteFailureText(int result) {
    if (result == 0) return {};
    if (result == -1) return MessageText("message_text_7");
    return FormatMessageText(MessageText("message_text_16"), std::to_string(result));
}

std::optional<KeyCommand> ParseKeyWords(const std::vector<std::string>& words, std::string& error) {
    KeyCommand command;
    command.verb = words.empty() ? std::string() : words[0];
    if (command.verb == "list" || command.verb == "write") {
        if (words.size() == 1) return command;
        error = "\"key " + command.verb + "\" takes no more words";
        return std::nullopt;
    }
    if (command.verb == "set" && words.size() >= 3) {
        const auto key = NumberInRange("K", words[1], 1, kMousePageKeys, error);
        if (!key) return std::nullopt;
        command.key = *key - 1;
        const auto function = ParseKeyFunctionWords({words.begin() + 2, words.end()}, error);
        if (!function) return std::nullopt;
        command.function = *function;
        return command;
    }
    if (command.verb == "capture" && words.size() >= 4 && words[2] == "--from-events") {
        const auto key = NumberInRange("K", words[1], 1, kMousePageKeys, error);
        if (!key) return std::nullopt;
        command.key = *key - 1;
        command.eventFiles.assign(words.begin() + 3, words.end());
        return command;
    }
    error = "key takes list, set K FUNCTION, capture K --from-events FILE... or write";
    return std::nullopt;
}

int RunKeyCommand(CHeadlessSession& session, const KeyCommand& command, std::ostream& out, bool json,
                  std::string& error) {
    COrbantixMouseDevice* mouse = session.WaitForMouse(std::chrono::seconds(3));
    if (mouse == nullptr) {
        error = "no mouse is connected";
        return 1;
    }
    if (command.verb == "list") {
        List(*mouse, out, json);
        return 0;
    }
    if (!session.MakeCurrent(*mouse)) {
        error = "the mouse could not be made the current device";
        return 1;
    }
    if (command.verb == "write") return Write(session, error);

    CKeySetControlUI* page = KeySetControlOf(mouse);
    const std::vector<KeyAssignRecord> keys = mouse->Profile().GetKeyList();
    if (page == nullptr || static_cast<size_t>(command.key) >= keys.size()) {
        error = "the mouse's page has no key " + std::to_string(command.key + 1);
        return 1;
    }
    if (mouse->IsLastLeftButton(command.key)) {
        error = MessageText("message_text_6");
        return 1;
    }
    // The key's button is clicked as the user does; the page opens the key.
    CControlUI* button = session.Window().FindControl("key_" + std::to_string(command.key));
    if (button == nullptr || !button->Activate() || !page->HasOpenKey() ||
        page->Pending().keyIndex != keys[static_cast<size_t>(command.key)].keyIndex) {
        error = "key " + std::to_string(command.key + 1) + " could not be opened on the key page";
        return 1;
    }
    session.PumpFor(1ms);
    if (command.verb == "capture") {
        if (!page->SelectFunction(kFunctionKeyboardKey)) {
            error = "the key page offers no keyboard key";
            return 1;
        }
        // The key edit takes the focus: the capture replays the files; leaving it keeps the key.
        CMainWnd& window = session.Window();
        std::vector<std::filesystem::path> files(command.eventFiles.begin(), command.eventFiles.end());
        window.Hook().SetSourceFactory([files] { return MakeInputSource(files); });
        window.SetKeyCapture(true);
        const bool installed = window.Hook().IsInstalled();
        session.PumpFor(5ms);
        window.SetKeyCapture(false);
        window.Hook().SetSourceFactory({});
        if (!installed) {
            error = window.Hook().LastError();
            return 1;
        }
    } else if (!SetControls(*page, keys[static_cast<size_t>(command.key)], command.function, error)) {
        return 1;
    }
    OnKeySave(session.Window());
    return Write(session, error);
}

}  // namespace zevik
