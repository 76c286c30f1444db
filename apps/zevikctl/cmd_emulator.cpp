// zevikctl emulator read D AREA ADDR LEN: the bytes of an emulated device's memory area, straight from
// the model (see shell/emulator_read.h). Needs --emulate; opens no device.

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "shell/emulator_read.h"

namespace zevik::cli {

namespace {

int RunEmulatorRead(CliContext& context, const std::vector<std::string>& words) {
    std::string error;
    const std::optional<EmulatorRead> read = ParseEmulatorRead(words, error);
    if (!read) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    if (context.options.emulate.empty()) {
        std::cerr << "zevikctl: \"emulator read\" needs --emulate\n";
        return kExitUsage;
    }
    CEmulation* emulation = context.Emulation();
    if (emulation == nullptr) return kExitFailed;
    switch (zevik::RunEmulatorRead(*emulation, *read, std::cout, error)) {
        case EmulatorReadResult::Done: return kExitOk;
        case EmulatorReadResult::OutOfRange: std::cerr << "zevikctl: " << error << '\n'; return kExitUsage;
        case EmulatorReadResult::UnknownTarget: break;
    }
    std::cerr << "zevikctl: " << error << '\n';
    return kExitFailed;
}

}  // namespace

void RegisterEmulatorCommands(CLI::App& app, CliContext& context, int& exitCode) {
    CLI::App* emulator = app.add_subcommand("emulator", "Look into the emulated devices (needs --emulate)");
    emulator->require_subcommand(1);
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App* read = emulator->add_subcommand("read", "Print LEN bytes of memory area AREA of device D from ADDR");
    read->add_option("WORDS", *words, "D AREA ADDR LEN (AREA: memory, key_codes, key_table, macro, recoil, ...)")
        ->required()
        ->expected(4);
    read->callback([&context, &exitCode, words] { exitCode = RunEmulatorRead(context, *words); });
}

}  // namespace zevik::cli
