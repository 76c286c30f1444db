#pragma once
// Event files as evemu-record writes them: lines "E: SEC.USEC TYPE CODE VALUE" (type and code in hex,
// value decimal); "#" starts a comment, other lines (the device description) are skipped. Recordings
// can be replayed from them, and several files (a keyboard and a mouse) merge into one stream by time.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input_event.h"

namespace zevik {

struct EventFileError {
    int line = 0;  // 1-based; 0 when the file could not be read
    std::string message;
};

// The EV_KEY events of the text, in file order; an "E:" line that does not parse stops it with the
// line's number.
std::optional<std::vector<InputEvent>> ParseEventText(std::string_view text, EventFileError& error);

// The key events of every file, merged by time (a stable merge: equal times keep the files' order).
std::optional<std::vector<InputEvent>> ReadEventFiles(const std::vector<std::filesystem::path>& files,
                                                      EventFileError& error, std::string* failedFile = nullptr);

}  // namespace zevik
