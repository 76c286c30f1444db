// zevikctl batch: a scripted session read from stdin, one command a line, on one headless main window:
//   mouse WORDS...          a mouse command as "zevikctl mouse" takes it
//   emulator ACTION D ...   plug, unplug, notify D CODE, out-of-range, in-range, battery D PERCENT CHARGING
//   wait MS                 let the program run for that long
// Empty lines and lines starting with '#' are skipped. The first failing line ends the run with its
// line number.

#include <CLI/CLI.hpp>
#include <charconv>
#include <chrono>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "headless_start.h"
#include "devices/mouse_device.h"
#include "shell/headless_commands.h"
#include "shell/headless_run.h"

namespace zevik::cli {

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool RunLine(CHeadlessRun& run, const std::vector<std::string>& words, std::string& error) {
    const std::string& verb = words[0];
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (verb == "wait") {
        int ms = -1;
        if (rest.size() == 1) std::from_chars(rest[0].data(), rest[0].data() + rest[0].size(), ms);
        if (ms < 0 || ms > 600000) {
            error = "wait takes a number of milliseconds";
            return false;
        }
        run.Session().PumpFor(std::chrono::milliseconds(ms));
        return true;
    }
    if (verb == "emulator") {
        if (run.Emulation() == nullptr) {
            error = "emulator actions need --emulate";
            return false;
        }
        const bool ok = RunEmulatorWords(*run.Emulation(), rest, error);
        run.Session().PumpFor(std::chrono::milliseconds(1));
        return ok;
    }
    if (verb == "mouse") {
        COrbantixMouseDevice* mouse = run.Session().WaitForMouse(std::chrono::seconds(3));
        if (mouse == nullptr) {
            error = "no mouse is connected";
            return false;
        }
        return RunMouseWords(*mouse, rest, std::cout, error);
    }
    error = "unknown command \"" + verb + "\"";
    return false;
}

int RunBatch(CliContext& context, std::istream& in) {
    CHeadlessRun run;
    if (!StartHeadlessRun(context, run)) return kExitFailed;
    std::string error;
    int code = kExitOk;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words[0].starts_with('#')) continue;
        if (!RunLine(run, words, error)) {
            std::cerr << "zevikctl: line " << number << ": " << error << '\n';
            code = kExitFailed;
            break;
        }
    }
    return FinishHeadlessRun(run, code);
}

}  // namespace

void RegisterBatchCommands(CLI::App& app, CliContext& context, int& exitCode) {
    CLI::App* batch = app.add_subcommand("batch", "Run mouse, emulator and wait commands read from stdin");
    batch->callback([&context, &exitCode] { exitCode = RunBatch(context, std::cin); });
}

}  // namespace zevik::cli
