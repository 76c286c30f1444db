#include "shell/pad_commands.h"

#include <json/json.h>

#include "devices/mousepad_device.h"
#include "settings/json_file_util.h"
#include "shell/pad_session.h"
#include "transport/command_set.h"

namespace zevik {

std::optional<PadCommand> ParsePadWords(const std::vector<std::string>& words, std::string& error) {
    if (words.empty()) {
        error = "pad takes show or lighting WORDS";
        return std::nullopt;
    }
    PadCommand command;
    command.verb = words[0];
    if (command.verb == "show") {
        if (words.size() != 1) {
            error = "\"show\" takes no argument";
            return std::nullopt;
        }
        return command;
    }
    if (command.verb == "lighting") {
        command.lighting = ParsePadLightingWords({words.begin() + 1, words.end()}, error);
        if (!command.lighting) return std::nullopt;
        return command;
    }
    error = "unknown pad command \"" + command.verb + "\"";
    return std::nullopt;
}

const char* PhoneWord(int phone) {
    switch (phone) {
        case 1:
            return "iphone";
        case 2:
            return "samsung";
        case 3:
            return "other";
        default:
            return "none";
    }
}

int RunPadCommand(CHeadlessSession& session, const PadCommand& command, std::ostream& out, bool json,
                  std::string& error) {
    COrbantixMousePadDevice* pad = WaitForPad(session, kPadWait);
    if (pad == nullptr) {
        error = "no mousepad is connected";
        return 1;
    }
    if (command.lighting) return RunLightingCommand(session, *pad, *command.lighting, out, json, error);

    // The slot comes with the block, which the pad's connect does not read.
    if (!pad->BlockPort().HasMirror()) {
        const int block = pad->ReadSettingsBlock();
        if (block != kResultDone) {
            error = "the mousepad did not answer the settings read (" + CommandResultText(block) + ")";
            return 1;
        }
    }
    // A one-shot run can end before the periodic poll: the phone is read now.
    const int read = pad->ReadPadStatus();
    if (read != kResultDone) {
        error = "the mousepad did not answer the status read (" + CommandResultText(read) + ")";
        return 1;
    }
    Json::Value doc(Json::objectValue);
    doc["connection"] = "cable";
    doc["active-slot"] = pad->GetActiveSlot();
    doc["phone"] = PhoneWord(pad->GetPhone());
    if (json) {
        out << CJsonFileUtil::StyledText(doc);
    } else {
        out << "connection: " << doc["connection"].asString() << '\n';
        out << "active slot: " << doc["active-slot"].asInt() << '\n';
        out << "phone: " << doc["phone"].asString() << '\n';
    }
    return 0;
}

}  // namespace zevik
