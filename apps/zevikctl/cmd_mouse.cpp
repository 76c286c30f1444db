// zevikctl mouse: the mouse's settings through the same discovery, connect and page operations as the
// desktop program, on a headless main window. "mouse show" prints the selected profile's settings and
// the device's state (one JSON document with --json); every other word runs one page change (saved in
// the profile, written to the mouse). Values the page cannot set are refused before anything opens.

#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "devices/mouse_device.h"
#include "headless_start.h"
#include "shell/headless_commands.h"
#include "shell/headless_run.h"
#include "shell/light_sequence_commands.h"

namespace zevik::cli {

namespace {

int RunMouse(CliContext& context, const std::vector<std::string>& words) {
    if (IsLightSequenceWords(words)) return RunMouseLightSequence(context, words);
    // The words are checked before any device is opened: a refused value is never sent.
    std::string error;
    const std::optional<MouseCommand> command = ParseMouseWords(words, error);
    if (!command) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    int code = kExitOk;
    if (COrbantixMouseDevice* mouse = run.Session().WaitForMouse(std::chrono::seconds(3))) {
        if (command->recoil) {
            if (RunRecoilCommand(run.Session(), *command->recoil, std::cout, context.options.json, error) != 0) {
                std::cerr << "zevikctl: " << error << '\n';
                code = kExitFailed;
            }
        } else if (command->key) {
            if (RunKeyCommand(run.Session(), *command->key, std::cout, context.options.json, error) != 0) {
                std::cerr << "zevikctl: " << error << '\n';
                code = kExitFailed;
            }
        } else if (command->lighting) {
            if (RunLightingCommand(run.Session(), *command->lighting, std::cout, context.options.json,
                                   error) != 0) {
                std::cerr << "zevikctl: " << error << '\n';
                code = kExitFailed;
            }
        } else {
            RunMouseCommand(*mouse, *command, std::cout, context.options.json);
        }
    } else {
        std::cerr << "zevikctl: no mouse is connected\n";
        code = kExitFailed;
    }
    return FinishHeadlessRun(run, code);
}

}  // namespace

void RegisterMouseCommands(CLI::App& app, CliContext& context, int& exitCode) {
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App* mouse =
        app.add_subcommand("mouse", "Show or change the mouse's settings (stages count from 1)");
    mouse
        ->add_option(
            "WORDS", *words,
            "show | dpi STAGE VALUE | dpi-enable STAGE 0|1 | dpi-color STAGE RRGGBB | rate N | lod N | "
            "motion-sync N | calibration N | sensor N | deep-sleep N | key-delay N | anti-shake N | "
            "dormancy N | lighting show|modes|frame | lighting mode N | lighting brightness|speed N | "
            "lighting direction 1|0 | lighting multicolor 0|1 | lighting color RRGGBB | "
            "lighting rgb R|G|B [TEXT] | lighting option N | lighting same-mode | "
            "lighting sequence list | lighting sequence import FILE POSITION [NAME] | "
            "lighting sequence export POSITION FILE | key list | key set K FUNCTION | key write | "
            "key capture K --from-events FILE... (FUNCTION: "
            "default | button left|right|middle|forward|back | swing DIR DELAY SPEED COUNT | wheel DIR DELAY "
            "SPEED COUNT | dpi up|down|cycle | fire INTERVAL COUNT | key [MOD+]NAME | media NAME | system "
            "power|sleep|wake | shortcut NAME | macro M MODE | macro M times N | gun G) | recoil show G [B] | "
            "recoil set G B left|right X up|down Y DELAY | recoil reset G | recoil import G FILE | "
            "recoil export G FILE | recoil upload")
        ->required();
    auto eventFiles = std::make_shared<std::vector<std::string>>();
    mouse->add_option("--from-events", *eventFiles, "key capture: evemu-record files to replay as the desktop's input");
    mouse->callback([&context, &exitCode, words, eventFiles] {
        std::vector<std::string> all = *words;
        if (!eventFiles->empty()) {
            all.push_back("--from-events");
            all.insert(all.end(), eventFiles->begin(), eventFiles->end());
        }
        exitCode = RunMouse(context, all);
    });
}

}  // namespace zevik::cli
