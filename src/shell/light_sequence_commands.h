#pragma once
// The command-line words of the mouse's lighting sequences (after "mouse lighting"):
//   sequence list                          "POSITION NAME IDENTIFIER" per sequence (one JSON document)
//   sequence import FILE POSITION [NAME]   a light file at a list position that plays a sequence
//   sequence export POSITION FILE          the light file a position plays, copied byte for byte
// Words and numbers are checked before anything is opened; the positions count from 0, as the
// mode list does.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zevik {

class CProfileLocations;

struct LightSequenceCommand {
    enum class Verb { List, Import, Export };
    Verb verb = Verb::List;
    std::filesystem::path file;
    std::size_t position = 0;
    std::optional<std::string> name;
};

// True when the mouse words are the sequence words ("lighting sequence ...").
bool IsLightSequenceWords(const std::vector<std::string>& mouseWords);

// The mouse's mode-list positions whose mode plays a sequence (mode value 9, or 11 and up), from the
// factory effect list; only positions the settings block can carry (0..11) count.
std::vector<std::size_t> SequencePositions(const CProfileLocations& locations);

// Checks the mouse words; nothing, with a message that names what is allowed, when they are wrong.
std::optional<LightSequenceCommand> ParseLightSequenceWords(const std::vector<std::string>& mouseWords,
                                                            const CProfileLocations& locations, std::string& error);

// Runs a checked command on the mouse's kind folder. true when done; false with the reason in
// error (nothing written).
bool RunLightSequenceCommand(const CProfileLocations& locations, const LightSequenceCommand& command,
                             std::ostream& out, bool json, std::string& error);

}  // namespace zevik
