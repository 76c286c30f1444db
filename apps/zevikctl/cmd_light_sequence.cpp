// zevikctl mouse lighting sequence list | import FILE POSITION [NAME] | export POSITION FILE: the
// mouse's lighting sequences in its kind folder. Only files change here, so no device is opened.

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "settings/profile_locations.h"
#include "shell/light_sequence_commands.h"

namespace zevik::cli {

int RunMouseLightSequence(CliContext& context, const std::vector<std::string>& words) {
    const CProfileLocations locations(context.options.dataDir, {});
    std::string error;
    const std::optional<LightSequenceCommand> command = ParseLightSequenceWords(words, locations, error);
    if (!command) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    if (!RunLightSequenceCommand(locations, *command, std::cout, context.options.json, error)) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace zevik::cli
