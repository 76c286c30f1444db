// Fuzz target: any bytes as the update service's answer, read for hex and decimal entries. Reading
// must neither crash nor throw, and only a JSON object counts as an answer.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "update/update_check.h"

using namespace zevik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    for (const bool hex : {true, false}) {
        const UpdateCheckResult result = ParseUpdateAnswer(answer, 0x105, hex);
        if (result.status != kUpdateStatusNewer && result.status != kUpdateStatusCurrent) std::abort();
        if (!result.reached && (!result.name.empty() || !result.path.empty())) std::abort();
    }
    return 0;
}
