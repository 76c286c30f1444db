#include "shell/headless_commands.h"

#include <charconv>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>

#include "devices/lighting_tables.h"
#include "devices/mouse_device.h"
#include "devices/mouse_sensitivity.h"
#include "emulator/emulation.h"
#include "transport/command_channel.h"

namespace zevik {

namespace {

std::optional<long> Number(const std::string& text, int base = 10) {
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (ec != std::errc{} || ptr != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

using Setter = void (COrbantixMouseDevice::*)(int);
const std::map<std::string, Setter>& OptionSetters() {
    static const std::map<std::string, Setter> setters{
        {"rate", &COrbantixMouseDevice::OnPollingRate},
        {"lod", &COrbantixMouseDevice::OnLiftOff},
        {"motion-sync", &COrbantixMouseDevice::OnMotionSync},
        {"calibration", &COrbantixMouseDevice::OnLinearCalibration},
        {"sensor", &COrbantixMouseDevice::OnSensorOption},
        {"deep-sleep", &COrbantixMouseDevice::OnDeepSleep},
        {"key-delay", &COrbantixMouseDevice::OnKeyDelay},
        {"anti-shake", &COrbantixMouseDevice::OnAntiShake},
        {"dormancy", &COrbantixMouseDevice::OnDormancy},
    };
    return setters;
}

void Show(COrbantixMouseDevice& mouse, std::ostream& out) {
    const bool receiver = mouse.CommandChannel().ReceiverMode();
    out << "connection: " << (receiver ? "receiver" : "cable") << '\n';
    // A one-shot run can end before the periodic status poll; ask the mouse once so the battery shows.
    if (mouse.LastStatus().empty()) mouse.PollStatus();
    const std::vector<std::uint8_t>& status = mouse.LastStatus();
    if (status.size() >= 2) {
        static const char* const kCharging[] = {"idle", "charging", "full"};
        out << "battery: " << int{status[0]} << "%\n";
        out << "charging: " << (status[1] < 3 ? kCharging[status[1]] : "unknown") << '\n';
    } else {
        out << "battery: unknown\ncharging: unknown\n";
    }
    out << "active slot: " << mouse.GetActiveSlot() << '\n';
    out << "active stage: " << mouse.GetActiveStage() + 1 << '\n';
    CMouseProfiledata& profile = mouse.Profile();
    const std::vector<DpiStageRecord> stages = profile.GetDpiStages();
    for (std::size_t i = 0; i < stages.size() && i < static_cast<std::size_t>(kMouseStageCount); ++i) {
        const DpiStageRecord& s = stages[i];
        char colour[8];
        std::snprintf(colour, sizeof colour, "%02X%02X%02X", s.red, s.green, s.blue);
        out << "stage " << i + 1 << ": " << s.DpiX() << " dpi, " << (s.enabled ? "enabled" : "disabled")
            << ", colour " << colour << '\n';
    }
    const MouseSystemRecord system = profile.GetMouseSystem();
    out << "rate: " << system.ReportRate() << '\n';
    out << "lod: " << system.SilentAltitudeItem() << '\n';
    out << "motion-sync: " << system.MotionSync() << '\n';
    out << "calibration: " << system.LinearCalibration() << '\n';
    out << "sensor: " << int{system.SensorLif()} << '\n';
    out << "deep-sleep: " << system.DeepSleepOff() << '\n';
    out << "key-delay: " << system.KeyDelay() << '\n';
    out << "anti-shake: " << system.AntiShake() << '\n';
    out << "dormancy: " << system.DormancyTime() << '\n';
}

std::optional<int> Stage(const std::string& text, std::string& error) {
    const auto stage = Number(text);
    if (!stage || *stage < 1 || *stage > kMouseStageCount) {
        error = "STAGE must be 1 to " + std::to_string(kMouseStageCount) + ", not \"" + text + "\"";
        return std::nullopt;
    }
    return static_cast<int>(*stage - 1);
}

}  // namespace

const std::vector<std::string>& MouseWordNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n{"show", "dpi", "dpi-enable", "dpi-color"};
        for (const auto& [name, setter] : OptionSetters()) {
            n.push_back(name);
        }
        return n;
    }();
    return names;
}

bool RunMouseWords(COrbantixMouseDevice& mouse, const std::vector<std::string>& words, std::ostream& out,
                   std::string& error) {
    if (words.empty()) {
        error = "no mouse command";
        return false;
    }
    const std::string& verb = words[0];
    auto needArgs = [&](std::size_t count) {
        if (words.size() != count + 1) {
            error = "\"" + verb + "\" takes " + std::to_string(count) + " argument(s)";
            return false;
        }
        return true;
    };
    if (verb == "show") {
        if (!needArgs(0)) return false;
        Show(mouse, out);
        return true;
    }
    if (auto it = OptionSetters().find(verb); it != OptionSetters().end()) {
        if (!needArgs(1)) return false;
        const auto value = Number(words[1]);
        if (!value || *value < 0 || *value > 1000000) {
            error = "\"" + verb + "\" needs a number, not \"" + words[1] + "\"";
            return false;
        }
        (mouse.*(it->second))(static_cast<int>(*value));
        return true;
    }
    if (verb == "dpi" || verb == "dpi-enable" || verb == "dpi-color") {
        if (!needArgs(2)) return false;
        const auto stage = Stage(words[1], error);
        if (!stage) return false;
        if (verb == "dpi") {
            const auto dpi = Number(words[2]);
            if (!dpi || *dpi <= 0 || *dpi > 65535) {
                error = "VALUE must be a DPI value, not \"" + words[2] + "\"";
                return false;
            }
            mouse.OnStageSlider(*stage, static_cast<int>(*dpi));
        } else if (verb == "dpi-enable") {
            if (words[2] != "0" && words[2] != "1") {
                error = "dpi-enable takes 0 or 1";
                return false;
            }
            mouse.OnStageEnabled(*stage, words[2] == "1");
        } else {
            const auto rgb = words[2].size() == 6 ? Number(words[2], 16) : std::nullopt;
            if (!rgb) {
                error = "the colour must be RRGGBB in hexadecimal, not \"" + words[2] + "\"";
                return false;
            }
            const lighting::Rgb colour{static_cast<std::uint8_t>(*rgb >> 16),
                                       static_cast<std::uint8_t>(*rgb >> 8), static_cast<std::uint8_t>(*rgb)};
            mouse.SetColourPicker([colour](lighting::Rgb) { return std::optional<lighting::Rgb>(colour); });
            mouse.OnStageColour(*stage);
            mouse.SetColourPicker({});
        }
        return true;
    }
    error = "unknown mouse command \"" + verb + "\"";
    return false;
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
        const auto codeHex = hex ? Number(words[2].substr(2), 16) : Number(words[2]);
        if (!codeHex || *codeHex < 0 || *codeHex > 0xFFFF) {
            error = "CODE must be a usage number, not \"" + words[2] + "\"";
            return false;
        }
        emulation.Notify(target, static_cast<uint16_t>(*codeHex), error);
        return error.empty();  // no host listening is not a failure of the script
    }
    if (verb == "battery" && words.size() == 4) {
        const auto percent = Number(words[2]);
        const auto charging = Number(words[3]);
        if (!percent || !charging) {
            error = "battery takes PERCENT and CHARGING (0 idle, 1 charging, 2 full)";
            return false;
        }
        return emulation.SetBattery(target, static_cast<int>(*percent), static_cast<int>(*charging), error);
    }
    error = "unknown emulator action \"" + verb + "\" or wrong arguments";
    return false;
}

}  // namespace zevik
