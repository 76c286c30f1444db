#include "shell/skin_command.h"

#include <charconv>
#include <cstdio>

#include "shell/main_wnd.h"
#include "shell/skin_frame.h"
#include "ui/control_ui.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

std::optional<SkinCommand> ParseSkinWords(const std::vector<std::string>& words, std::string& error) {
    SkinCommand command;
    if (words.size() == 1 && words[0] == "reset") {
        command.action = "reset";
        return command;
    }
    if (words.size() == 2 && (words[0] == "image" || words[0] == "color")) {
        command.action = words[0];
        const auto [ptr, ec] =
            std::from_chars(words[1].data(), words[1].data() + words[1].size(), command.number);
        if (ec == std::errc{} && ptr == words[1].data() + words[1].size()) return command;
        error = words[0] + " takes a number, not \"" + words[1] + "\"";
        return std::nullopt;
    }
    if (words.size() == 2 && words[0] == "custom") {
        command.action = "custom";
        command.file = words[1];
        return command;
    }
    error = "skin takes reset, image N, color N or custom FILE";
    return std::nullopt;
}

bool RunSkinCommand(CMainWnd& window, const SkinCommand& command, std::ostream& out, std::string& error) {
    window.SetImageFileChooser([file = command.file] { return std::filesystem::path(file); });
    window.OpenSkinFrame();
    CSkinFrame* frame = window.GetSkinFrame();
    if (frame == nullptr) {
        error = "the skin popup did not open";
        return false;
    }
    CPaintManagerUI& pm = *frame->GetPaintManager();
    CControlUI* target = nullptr;
    if (command.action == "reset") {
        target = pm.FindControl("skin_reset");
    } else if (command.action == "custom") {
        if (!IsImageFile(command.file)) error = command.file + " is no image (PNG, JPEG, BMP or GIF)";
        target = pm.FindControl("skin_Custom");
    } else {
        const auto buttons = command.action == "image" ? frame->ImageButtons() : frame->ColourButtons();
        if (command.number < 0 || command.number >= static_cast<int>(buttons.size())) {
            error = command.action + " takes 0 to " + std::to_string(static_cast<int>(buttons.size()) - 1) +
                    ", not " + std::to_string(command.number);
        } else {
            target = buttons[static_cast<std::size_t>(command.number)];
        }
    }
    if (error.empty() && target != nullptr) pm.SendNotify(target, DUI_MSGTYPE_CLICK);
    frame->Close(0);
    if (!error.empty()) return false;
    const CControlUI* root = window.FindControl("root");
    if (root == nullptr) return true;
    if (!root->GetBkImage().empty()) {
        out << "image " << root->GetBkImage() << '\n';
    } else {
        char colour[16];
        std::snprintf(colour, sizeof colour, "%08X", static_cast<unsigned>(root->GetBkColor()));
        out << "color " << colour << '\n';
    }
    return true;
}

}  // namespace zevik
