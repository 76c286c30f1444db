// zevikctl profile KIND COMMAND [ARG]: the profile bar's operations on the stored profiles of one
// device kind, headless.

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "cli_context.h"
#include "commands.h"
#include "settings/profile_command.h"

namespace zevik::cli {

void RegisterProfileCommands(CLI::App& app, CliContext& context, int& exitCode) {
    struct Arguments {
        std::string kind;
        std::string command;
        std::string argument;
    };
    auto args = std::make_shared<Arguments>();
    CLI::App* profile = app.add_subcommand("profile", "List and manage the stored profiles of a device kind");
    profile->add_option("KIND", args->kind, "mouse, keyboard, mousepad or headset")
        ->required()
        ->check(CLI::IsMember({"mouse", "keyboard", "mousepad", "headset"}, CLI::ignore_case));
    profile
        ->add_option("COMMAND", args->command,
                     "list, add, copy, delete, rename NAME, select INDEX, import FILE, export FILE, reset, show")
        ->required()
        ->check(CLI::IsMember(
            {"list", "add", "copy", "delete", "rename", "select", "import", "export", "reset", "show"}));
    profile->add_option("ARG", args->argument, "NAME, INDEX or FILE, as the command needs");
    profile->callback([&context, &exitCode, args] {
        ProfileCommandRequest request;
        request.kind = ParseProfileKind(args->kind).value_or(ProfileKind::Mouse);
        request.command = args->command;
        request.argument = args->argument;
        request.dataRoot = context.options.dataDir;
        request.json = context.options.json;
        exitCode = RunProfileCommand(request, std::cout, std::cerr);
    });
}

}  // namespace zevik::cli
