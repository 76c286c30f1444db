#pragma once
// Each command group registers its subcommands here; main.cpp calls every Register function.
// A subcommand's callback stores its exit code in the int it is given.

namespace CLI {
class App;
}

#include <string>
#include <vector>

namespace zevik::cli {

class CliContext;

// "mouse lighting sequence ...": the mouse's words; the exit code.
int RunMouseLightSequence(CliContext& context, const std::vector<std::string>& words);

// "macro KIND ...": the words after "macro"; the exit code.
int RunMacroWords(CliContext& context, const std::vector<std::string>& words);

void RegisterMacroCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterHidCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterRawCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterProfileCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterMouseCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterKeyboardCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterPadCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterHeadsetCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterBatchCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterDialogCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterSettingsCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterSkinCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterGameCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterUpdateCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterEmulatorCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterMusicCommands(CLI::App& app, CliContext& context, int& exitCode);
void RegisterAudioCommands(CLI::App& app, CliContext& context, int& exitCode);
// The "audio" group that the sound words share ("audio send", "audio levels"), made by the first asker.
CLI::App* AudioCommandGroup(CLI::App& app);

}  // namespace zevik::cli
