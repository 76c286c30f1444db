// Fuzz target: any bytes as an evemu-record event file. Parsing must neither crash nor throw; what it
// accepts holds only key events, and a refusal names a line inside the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <linux/input-event-codes.h>

#include "platform/event_file.h"

using namespace zevik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    EventFileError error;
    const auto events = ParseEventText(text, error);
    if (events) {
        for (const InputEvent& e : *events) {
            if (e.type != EV_KEY) std::abort();
        }
    } else {
        std::size_t lines = 1;
        for (char c : text) lines += c == '\n' ? 1 : 0;
        if (error.line < 1 || static_cast<std::size_t>(error.line) > lines) std::abort();
    }
    return 0;
}
