// zevikctl music: the music window's groups, changed through the window as a user would:
//   music show | group N R G B | name N [TEXT]       (N 1..4, values 0..9)
// zevikctl audio levels [--seconds S]: our own capture of the desktop's sound, the 25 band values of
// each 20 ms record.

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "audio_lighting/pulse_monitor_source.h"
#include "cli_context.h"
#include "commands.h"
#include "headless_start.h"
#include "shell/audio_levels_command.h"
#include "shell/headless_run.h"
#include "shell/main_wnd.h"
#include "shell/music_command.h"

namespace zevik::cli {

namespace {

int RunMusic(CliContext& context, const std::vector<std::string>& words) {
    std::string error;
    const std::optional<MusicCommand> command = ParseMusicWords(words, error);
    if (!command) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    if (!RunMusicCommand(run.Session().Window(), *command, std::cout, context.options.json, error)) {
        std::cerr << "zevikctl: " << error << '\n';
        return FinishHeadlessRun(run, kExitFailed);
    }
    return FinishHeadlessRun(run, kExitOk);
}

int RunLevels(const CliContext& context, const std::string& secondsText) {
    std::string error;
    const std::optional<int> seconds = ParseAudioLevelsSeconds(secondsText, error);
    if (!seconds) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    if (!RunAudioLevels(PulseMonitorSourceFactory(), std::chrono::seconds(*seconds), std::cout,
                        context.options.json, error)) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace

void RegisterMusicCommands(CLI::App& app, CliContext& context, int& exitCode) {
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App* music = app.add_subcommand("music", "The music window's four groups, as the window sets them");
    music->add_option("WORDS", *words,
                      "show | group N R G B | name N [TEXT]  (N 1..4, values 0..9; show prints \"style: N\" "
                      "with the chosen group from 1, then \"group N: R G B NAME\")")
        ->required();
    music->callback([&context, &exitCode, words] { exitCode = RunMusic(context, *words); });

    auto seconds = std::make_shared<std::string>("1");
    CLI::App* levels = AudioCommandGroup(app)->add_subcommand(
        "levels", "Our own capture of the desktop's sound: the 25 band values (0..2000) of each 20 ms record");
    levels->add_option("--seconds", *seconds, "How long to capture, 1.." + std::to_string(kAudioLevelsMaxSeconds) +
                                                  " (default 1)");
    levels->callback([&context, &exitCode, seconds] { exitCode = RunLevels(context, *seconds); });
}

}  // namespace zevik::cli
