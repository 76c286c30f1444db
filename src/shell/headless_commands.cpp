#include "shell/headless_commands.h"

#include <json/json.h>

#include <cstdio>
#include <functional>
#include <optional>

#include "devices/lighting_tables.h"
#include "devices/mouse_device.h"
#include "devices/mouse_page_choices.h"
#include "devices/mouse_sensitivity.h"
#include "emulator/emulation.h"
#include "settings/json_file_util.h"
#include "shell/command_numbers.h"
#include "shell/emulator_phone.h"
#include "transport/command_channel.h"

namespace zevik {

namespace {

using Setter = void (COrbantixMouseDevice::*)(int);

// A setting word, the page operation it runs and the values the page offers for it.
struct OptionWord {
    const char* word;
    Setter setter;
    int count;  // values 0 ... count - 1
};

constexpr OptionWord kOptionWords[] = {
    {"rate", &COrbantixMouseDevice::OnPollingRate, kMouseReportRateOptions},
    {"lod", &COrbantixMouseDevice::OnLiftOff, kMouseTwoWayOptions},
    {"motion-sync", &COrbantixMouseDevice::OnMotionSync, kMouseTwoWayOptions},
    {"calibration", &COrbantixMouseDevice::OnLinearCalibration, kMouseTwoWayOptions},
    {"sensor", &COrbantixMouseDevice::OnSensorOption, kMouseTwoWayOptions},
    {"deep-sleep", &COrbantixMouseDevice::OnDeepSleep, kMouseTwoWayOptions},
    {"key-delay", &COrbantixMouseDevice::OnKeyDelay, kMouseKeyDelayItems},
    {"anti-shake", &COrbantixMouseDevice::OnAntiShake, kMouseAntiShakeItems},
    {"dormancy", &COrbantixMouseDevice::OnDormancy, kMouseDormancyItems},
};

const OptionWord* FindOptionWord(const std::string& word) {
    for (const OptionWord& option : kOptionWords) {
        if (word == option.word) return &option;
    }
    return nullptr;
}

Json::Value ShowDocument(COrbantixMouseDevice& mouse) {
    Json::Value doc(Json::objectValue);
    doc["connection"] = mouse.CommandChannel().ReceiverMode() ? "receiver" : "cable";
    // A one-shot run can end before the periodic status poll; ask the mouse once so the battery shows.
    if (mouse.LastStatus().empty()) mouse.PollStatus();
    const std::vector<std::uint8_t>& status = mouse.LastStatus();
    static const char* const kCharging[] = {"idle", "charging", "full"};
    if (status.size() >= 2) {
        doc["battery"] = int{status[0]};
        doc["charging"] = status[1] < 3 ? kCharging[status[1]] : "unknown";
    } else {
        doc["battery"] = Json::Value();  // unknown
        doc["charging"] = "unknown";
    }
    doc["active-slot"] = mouse.GetActiveSlot();
    doc["active-stage"] = mouse.GetActiveStage() + 1;
    CMouseProfiledata& profile = mouse.Profile();
    Json::Value stages(Json::arrayValue);
    const std::vector<DpiStageRecord> records = profile.GetDpiStages();
    for (std::size_t i = 0; i < records.size() && i < static_cast<std::size_t>(kMouseStageCount); ++i) {
        const DpiStageRecord& s = records[i];
        char colour[8];
        std::snprintf(colour, sizeof colour, "%02X%02X%02X", s.red, s.green, s.blue);
        Json::Value stage(Json::objectValue);
        stage["stage"] = static_cast<int>(i) + 1;
        stage["dpi"] = s.DpiX();
        stage["enabled"] = s.enabled != 0;
        stage["colour"] = colour;
        stages.append(stage);
    }
    doc["stages"] = stages;
    const MouseSystemRecord system = profile.GetMouseSystem();
    doc["rate"] = system.ReportRate();
    doc["lod"] = system.SilentAltitudeItem();
    doc["motion-sync"] = system.MotionSync();
    doc["calibration"] = system.LinearCalibration();
    doc["sensor"] = int{system.SensorLif()};
    doc["deep-sleep"] = system.DeepSleepOff();
    doc["key-delay"] = system.KeyDelay();
    doc["anti-shake"] = system.AntiShake();
    doc["dormancy"] = system.DormancyTime();
    return doc;
}

void PrintShow(const Json::Value& doc, std::ostream& out) {
    out << "connection: " << doc["connection"].asString() << '\n';
    out << "battery: " << (doc["battery"].isNull() ? "unknown" : std::to_string(doc["battery"].asInt()) + "%")
        << '\n';
    out << "charging: " << doc["charging"].asString() << '\n';
    out << "active slot: " << doc["active-slot"].asInt() << '\n';
    out << "active stage: " << doc["active-stage"].asInt() << '\n';
    for (const Json::Value& s : doc["stages"]) {
        out << "stage " << s["stage"].asInt() << ": " << s["dpi"].asInt() << " dpi, "
            << (s["enabled"].asBool() ? "enabled" : "disabled") << ", colour " << s["colour"].asString()
            << '\n';
    }
    for (const OptionWord& option : kOptionWords) {
        out << option.word << ": " << doc[option.word].asInt() << '\n';
    }
}

}  // namespace

const std::vector<std::string>& MouseWordNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n{"show", "dpi", "dpi-enable", "dpi-color", "lighting", "key", "recoil"};
        for (const OptionWord& option : kOptionWords) {
            n.push_back(option.word);
        }
        return n;
    }();
    return names;
}

std::optional<MouseCommand> ParseMouseWords(const std::vector<std::string>& words, std::string& error) {
    if (words.empty()) {
        error = "no mouse command";
        return std::nullopt;
    }
    MouseCommand command;
    command.verb = words[0];
    const std::string& verb = command.verb;
    auto needArgs = [&](std::size_t count) {
        if (words.size() != count + 1) {
            error = "\"" + verb + "\" takes " + std::to_string(count) + " argument(s)";
            return false;
        }
        return true;
    };
    if (verb == "show") {
        if (!needArgs(0)) return std::nullopt;
        return command;
    }
    if (verb == "lighting") {
        command.lighting = ParseLightingWords({words.begin() + 1, words.end()}, error);
        if (!command.lighting) return std::nullopt;
        return command;
    }
    if (verb == "recoil") {
        command.recoil = ParseRecoilWords({words.begin() + 1, words.end()}, error);
        if (!command.recoil) return std::nullopt;
        return command;
    }
    if (verb == "key") {
        command.key = ParseKeyWords({words.begin() + 1, words.end()}, error);
        if (!command.key) return std::nullopt;
        return command;
    }
    if (const OptionWord* option = FindOptionWord(verb)) {
        if (!needArgs(1)) return std::nullopt;
        const auto value = NumberInRange("\"" + verb + "\"", words[1], 0, option->count - 1, error);
        if (!value) return std::nullopt;
        command.value = *value;
        return command;
    }
    if (verb == "dpi" || verb == "dpi-enable" || verb == "dpi-color") {
        if (!needArgs(2)) return std::nullopt;
        const auto stage = NumberInRange("STAGE", words[1], 1, kMouseStageCount, error);
        if (!stage) return std::nullopt;
        command.stage = *stage - 1;
        std::optional<int> value;
        if (verb == "dpi") {
            value = NumberInRange("VALUE", words[2], kMouseDpiMin, kMouseDpiMax, error);
        } else if (verb == "dpi-enable") {
            value = NumberInRange("dpi-enable", words[2], 0, 1, error);
        } else {
            const auto rgb = words[2].size() == 6 ? WholeNumber(words[2], 16) : std::nullopt;
            if (!rgb || *rgb < 0) {
                error = "the colour must be RRGGBB in hexadecimal, not \"" + words[2] + "\"";
            } else {
                value = static_cast<int>(*rgb);
            }
        }
        if (!value) return std::nullopt;
        command.value = *value;
        return command;
    }
    error = "unknown mouse command \"" + verb + "\"";
    return std::nullopt;
}

void RunMouseCommand(COrbantixMouseDevice& mouse, const MouseCommand& command, std::ostream& out, bool json) {
    const std::string& verb = command.verb;
    if (verb == "show") {
        const Json::Value doc = ShowDocument(mouse);
        if (json) {
            out << CJsonFileUtil::StyledText(doc);
        } else {
            PrintShow(doc, out);
        }
    } else if (const OptionWord* option = FindOptionWord(verb)) {
        (mouse.*(option->setter))(command.value);
    } else if (verb == "dpi") {
        mouse.OnStageSlider(command.stage, command.value);
    } else if (verb == "dpi-enable") {
        mouse.OnStageEnabled(command.stage, command.value == 1);
    } else if (verb == "dpi-color") {
        const auto rgb = static_cast<std::uint32_t>(command.value);
        const lighting::Rgb colour{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                                   static_cast<std::uint8_t>(rgb)};
        // The given colour stands in for the window's picker for this one change.
        COrbantixMouseDevice::ColourPicker picker = mouse.GetColourPicker();
        mouse.SetColourPicker([colour](lighting::Rgb) { return std::optional<lighting::Rgb>(colour); });
        mouse.OnStageColour(command.stage);
        mouse.SetColourPicker(std::move(picker));
    }
}

bool RunMouseWords(COrbantixMouseDevice& mouse, const std::vector<std::string>& words, std::ostream& out,
                   std::string& error, bool json) {
    const std::optional<MouseCommand> command = ParseMouseWords(words, error);
    if (!command) return false;
    RunMouseCommand(mouse, *command, out, json);
    return true;
}

std::optional<uint16_t> ParseFirmwareVersion(const std::string& text, std::string& error) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const auto value = hex ? WholeNumber(text.substr(2), 16) : WholeNumber(text);
    if (!value || *value < 0 || *value > 0xFFFF) {
        error = "VERSION must be 0 to 65535 (0x0 to 0xFFFF), not \"" + text + "\"";
        return std::nullopt;
    }
    return static_cast<uint16_t>(*value);
}

bool RunEmulatorWords(CEmulation& emulation, const std::vector<std::string>& words, std::string& error) {
    if (words.size() < 2) {
        error = "an emulator action needs a target";
        return false;
    }
    const std::string& verb = words[0];
    const std::string& target = words[1];
    if (verb == "plug" && words.size() == 2) return emulation.Plug(target, error);
    if (verb == "unplug" && words.size() == 2) return emulation.Unplug(target, error);
    if (verb == "out-of-range" && words.size() == 2) return emulation.SetInRange(target, false, error);
    if (verb == "in-range" && words.size() == 2) return emulation.SetInRange(target, true, error);
    if (verb == "notify" && words.size() == 3) {
        const bool hex = words[2].starts_with("0x") || words[2].starts_with("0X");
        const auto codeHex = hex ? WholeNumber(words[2].substr(2), 16) : WholeNumber(words[2]);
        if (!codeHex || *codeHex < 0 || *codeHex > 0xFFFF) {
            error = "CODE must be a usage number, not \"" + words[2] + "\"";
            return false;
        }
        emulation.Notify(target, static_cast<uint16_t>(*codeHex), error);
        return error.empty();  // no host listening is not a failure of the script
    }
    if (verb == "battery" && words.size() == 4) {
        const auto percent = WholeNumber(words[2]);
        const auto charging = WholeNumber(words[3]);
        if (!percent || !charging) {
            error = "battery takes PERCENT and CHARGING (0 idle, 1 charging, 2 full)";
            return false;
        }
        return emulation.SetBattery(target, static_cast<int>(*percent), static_cast<int>(*charging), error);
    }
    if (verb == "phone" && words.size() == 3) return RunPhoneWord(emulation, target, words[2], error);
    if (verb == "firmware" && words.size() == 3) {
        const auto version = ParseFirmwareVersion(words[2], error);
        return version && emulation.SetFirmwareVersion(target, *version, error);
    }
    error = "unknown emulator action \"" + verb + "\" or wrong arguments";
    return false;
}

}  // namespace zevik
