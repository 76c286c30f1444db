// zevikctl batch: a scripted session read from stdin, one command a line, on one headless main window:
//   mouse WORDS...          a mouse command as "zevikctl mouse" takes it (lighting sequence words too)
//   keyboard WORDS...       a keyboard command as "zevikctl keyboard" takes it
//   pad WORDS...            a mousepad command as "zevikctl pad" takes it
//   headset WORDS...        a headset command as "zevikctl headset" takes it
//   game NAME W L           a game event for the session's own window, handled before the next line
//   emulator ACTION D ...   plug, unplug, notify D CODE, out-of-range, in-range, battery D PERCENT CHARGING,
//                           phone D N (0 none, 1 iPhone, 2 Samsung, 3 other),
//                           read D AREA ADDR LEN
//   wait MS                 let the program run for that long
//   answer A                the answer for the next dialog (yes, no, color=RRGGBB, preset=N, collect=N)
//   click NAME              a control of the main window clicked as by the user
//   settings language INDEX the interface language switched as the settings window does
//   skin WORDS              the background, as "zevikctl skin" takes it
//   macro KIND WORDS...     the macros of a device kind, as "zevikctl macro" takes them (files only;
//                           record from event files or live)
//   update check|download [--server URL] [--ca-file FILE]
//                           the settings window's update check (and downloads), as "zevikctl update"
//   emulator firmware D VERSION  the version D's HID attributes report from its next plug on
//   audio samples|colour|record ...  a record of the audio capture side for the session's own window
//                           (shell/audio_record_command.h), handled before the next line
// Empty lines and lines starting with '#' are skipped. The script is checked before it runs: a bad
// word or value exits 2 with its line number and opens nothing. The first line that fails while
// running ends the run with its line number (exit 1).

#include <CLI/CLI.hpp>
#include <charconv>
#include <chrono>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "devices/mouse_device.h"
#include "headless_start.h"
#include "settings/profile_locations.h"
#include "shell/audio_record_command.h"
#include "shell/dialog_answers.h"
#include "shell/game_command.h"
#include "shell/emulator_read.h"
#include "shell/headless_commands.h"
#include "shell/headless_run.h"
#include "shell/headset_commands.h"
#include "shell/keyboard_commands.h"
#include "shell/keyboard_session.h"
#include "shell/pad_commands.h"
#include "shell/light_sequence_commands.h"
#include "shell/macro_commands.h"
#include "shell/macro_record_command.h"
#include "shell/main_wnd.h"
#include "shell/secondary_wnd.h"
#include "shell/skin_command.h"
#include "shell/update_command.h"
#include "ui/control_ui.h"

namespace zevik::cli {

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// A whole non-negative decimal number, -1 for anything else.
int Count(const std::string& text) {
    int n = -1;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    return ec == std::errc{} && ptr == text.data() + text.size() && n >= 0 ? n : -1;
}

// One line of the script, checked before the run starts.
struct BatchLine {
    int number = 0;  // of the line in the script
    std::vector<std::string> words;
    int value = 0;                      // the milliseconds of "wait", the index of "settings language"
    std::optional<MouseCommand> mouse;  // "mouse"
    std::optional<SkinCommand> skin;    // "skin"
    std::optional<LightSequenceCommand> sequence;  // "mouse lighting sequence ..."
    std::optional<EmulatorRead> emulatorRead;      // "emulator read D AREA ADDR LEN"
    std::optional<GameCommand> game;               // "game"
    std::optional<MacroCommand> macro;             // "macro KIND ..."
    std::optional<MacroRecordCommand> record;      // "macro KIND record M ..."
    std::optional<KeyboardCommand> keyboard;       // "keyboard"
    std::optional<PadCommand> pad;                 // "pad"
    std::optional<HeadsetCommand> headset;         // "headset"
    std::optional<UpdateCommand> update;           // "update check|download ..."
    std::optional<AudioRecordCommand> audio;       // "audio samples|colour|record ..."
};

// Checks a line's words; false with the message. Emulator actions are checked when they run: what
// they name depends on the emulated devices.
bool CheckLine(BatchLine& line, const CProfileLocations& locations, std::string& error) {
    const std::string& verb = line.words[0];
    const std::vector<std::string> rest(line.words.begin() + 1, line.words.end());
    if (verb == "wait") {
        const int ms = rest.size() == 1 ? Count(rest[0]) : -1;
        if (ms < 0 || ms > 600000) {
            error = "wait takes 0 to 600000 milliseconds";
            return false;
        }
        line.value = ms;
        return true;
    }
    if (verb == "mouse" && IsLightSequenceWords(rest)) {
        line.sequence = ParseLightSequenceWords(rest, locations, error);
        return line.sequence.has_value();
    }
    if (verb == "macro") {
        if (IsMacroRecordWords(rest)) {
            line.record = ParseMacroRecordWords(rest, error);
            return line.record.has_value();
        }
        line.macro = ParseMacroWords(rest, error);
        return line.macro.has_value();
    }
    if (verb == "game") {
        line.game = ParseGameWords(rest, error);
        return line.game.has_value();
    }
    if (verb == "audio") {
        line.audio = ParseAudioRecordWords(rest, error);
        return line.audio.has_value();
    }
    if (verb == "mouse") {
        line.mouse = ParseMouseWords(rest, error);
        return line.mouse.has_value();
    }
    if (verb == "keyboard") {
        line.keyboard = ParseKeyboardWords(rest, error);
        return line.keyboard.has_value();
    }
    if (verb == "pad") {
        line.pad = ParsePadWords(rest, error);
        return line.pad.has_value();
    }
    if (verb == "headset") {
        line.headset = ParseHeadsetWords(rest, error);
        return line.headset.has_value();
    }
    if (verb == "answer") {
        if (rest.size() != 1 || !CDialogAnswers::IsValid(rest[0])) {
            error = "answer takes yes, no, color=RRGGBB, preset=N or collect=N";
            return false;
        }
        return true;
    }
    if (verb == "click") {
        if (rest.size() != 1) {
            error = "click takes a control name";
            return false;
        }
        return true;
    }
    if (verb == "settings") {
        const int index = rest.size() == 2 && rest[0] == "language" ? Count(rest[1]) : -1;
        if (index < 0) {
            error = "settings takes language INDEX";
            return false;
        }
        line.value = index;
        return true;
    }
    if (verb == "skin") {
        line.skin = ParseSkinWords(rest, error);
        return line.skin.has_value();
    }
    if (verb == "update") {
        line.update = ParseUpdateWords(rest, error);
        return line.update.has_value();
    }
    if (verb == "emulator") {
        if (rest.size() == 3 && rest[0] == "firmware") return ParseFirmwareVersion(rest[2], error).has_value();
        if (!rest.empty() && rest[0] == "read") {
            line.emulatorRead = ParseEmulatorRead({rest.begin() + 1, rest.end()}, error);
            return line.emulatorRead.has_value();
        }
        return true;
    }
    error = "unknown command \"" + verb + "\"";
    return false;
}

bool RunLine(CHeadlessRun& run, const BatchLine& line, const CProfileLocations& locations, bool json,
             std::string& error) {
    const std::string& verb = line.words[0];
    if (line.game) {
        // As the mouse words do, it waits for the mouse; without one the event still arrives.
        run.Session().WaitForMouse(std::chrono::seconds(3));
        CMainWnd& window = run.Session().Window();
        window.SendMessage(window.Messages().game[line.game->which], line.game->wParam,
                           static_cast<LPARAM>(line.game->lParam));
        return true;
    }
    if (line.audio) {
        // As the capture program's records do, it reaches the keyboard once one is there; without
        // one the record still arrives.
        WaitForKeyboard(run.Session(), kKeyboardWait);
        run.Session().Window().OnCopyData(line.audio->kind, line.audio->bytes);
        return true;
    }
    if (line.keyboard) return RunKeyboardCommand(run.Session(), *line.keyboard, std::cout, json, error) == 0;
    if (line.pad) return RunPadCommand(run.Session(), *line.pad, std::cout, json, error) == 0;
    if (line.headset) {
        std::string notice;
        const int code = RunHeadsetCommand(run.Session(), *line.headset, std::cout, json, error, notice);
        if (!notice.empty()) std::cerr << "zevikctl: " << notice << '\n';
        return code == 0;
    }
    if (line.update) {
        run.Session().WaitForMouse(std::chrono::seconds(3));
        if (RunUpdateCommand(run.Session(), *line.update, std::cout, std::cerr, json) == 0) return true;
        error = "the update did not succeed";
        return false;
    }
    if (line.record) return RunMacroRecord(locations, *line.record, std::cout, error) == 0;
    if (line.macro) {
        const auto answer = [] { return CDialogAnswers::Instance().Next() == "yes"; };
        return RunMacroCommand(locations, *line.macro, std::cout, json, answer, error) == 0;
    }
    if (line.sequence) {
        if (!RunLightSequenceCommand(locations, *line.sequence, std::cout, json, error)) return false;
        // A mouse that is there plays what its light configuration now names.
        for (COrbantixUSBDevice* device : run.Session().Window().Devices(CMainWnd::kFamilyMouse)) {
            if (auto* mouse = dynamic_cast<COrbantixMouseDevice*>(device)) {
                mouse->Profile().LoadLightConfig(mouse->Profile().GetLightConfigPath());
                mouse->ApplyLightSettings();
            }
        }
        return true;
    }
    if (verb == "wait") {
        run.Session().PumpFor(std::chrono::milliseconds(line.value));
        return true;
    }
    if (verb == "answer") {
        CDialogAnswers::Instance().Push(line.words[1]);
        return true;
    }
    if (verb == "skin") return RunSkinCommand(run.Session().Window(), *line.skin, std::cout, error);
    if (verb == "settings") {
        CMainWnd& window = run.Session().Window();
        if (line.value >= static_cast<int>(window.Languages().size())) {
            error = "no language " + std::to_string(line.value);
            return false;
        }
        window.SendMessage(UM_LANGUAGE_CHANGED, static_cast<WPARAM>(line.value), 0);
        return true;
    }
    if (verb == "click") {
        // As the user clicks: only a control that is there, shown and enabled.
        CControlUI* control = run.Session().Window().FindControl(line.words[1]);
        if (control == nullptr || !control->IsVisible() || !control->IsEnabled()) {
            error = "no visible, enabled control \"" + line.words[1] + "\"";
            return false;
        }
        control->Activate();
        run.Session().PumpFor(std::chrono::milliseconds(1));
        return true;
    }
    if (verb == "emulator") {
        if (run.Emulation() == nullptr) {
            error = "emulator actions need --emulate";
            return false;
        }
        if (line.emulatorRead) {
            return RunEmulatorRead(*run.Emulation(), *line.emulatorRead, std::cout, error) ==
                   EmulatorReadResult::Done;
        }
        const std::vector<std::string> rest(line.words.begin() + 1, line.words.end());
        const bool ok = RunEmulatorWords(*run.Emulation(), rest, error);
        run.Session().PumpFor(std::chrono::milliseconds(1));
        return ok;
    }
    COrbantixMouseDevice* mouse = run.Session().WaitForMouse(std::chrono::seconds(3));
    if (mouse == nullptr) {
        error = "no mouse is connected";
        return false;
    }
    if (line.mouse->lighting)
        return RunLightingCommand(run.Session(), *line.mouse->lighting, std::cout, json, error) == 0;
    if (line.mouse->key) return RunKeyCommand(run.Session(), *line.mouse->key, std::cout, json, error) == 0;
    if (line.mouse->recoil)
        return RunRecoilCommand(run.Session(), *line.mouse->recoil, std::cout, json, error) == 0;
    RunMouseCommand(*mouse, *line.mouse, std::cout, json);
    return true;
}

int RunBatch(CliContext& context, std::istream& in) {
    // The whole script is read and checked first: a bad line stops it before anything is opened.
    std::vector<BatchLine> script;
    std::string error;
    const CProfileLocations locations(context.options.dataDir, {});
    int number = 0;
    for (std::string text; std::getline(in, text);) {
        ++number;
        BatchLine line;
        line.number = number;
        line.words = Words(text);
        if (line.words.empty() || line.words[0].starts_with('#')) continue;
        if (!CheckLine(line, locations, error)) {
            std::cerr << "zevikctl: line " << number << ": " << error << '\n';
            return kExitUsage;
        }
        script.push_back(std::move(line));
    }
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    int code = kExitOk;
    for (const BatchLine& line : script) {
        if (!RunLine(run, line, locations, context.options.json, error)) {
            std::cerr << "zevikctl: line " << line.number << ": " << error << '\n';
            code = kExitFailed;
            break;
        }
    }
    return FinishHeadlessRun(run, code);
}

}  // namespace

void RegisterBatchCommands(CLI::App& app, CliContext& context, int& exitCode) {
    CLI::App* batch = app.add_subcommand("batch", "Run mouse, game, emulator and wait commands read from stdin");
    batch->callback([&context, &exitCode] { exitCode = RunBatch(context, std::cin); });
}

}  // namespace zevik::cli
