#include "devices/macro_image.h"

#include "devices/mouse_event_image.h"
#include "settings/json_access.h"
#include "settings/json_file_util.h"
#include "settings/macro_files.h"

#include <optional>

namespace zevik {

namespace {

// The listed macros; nothing when "macro.config" is missing or holds no list.
std::optional<std::vector<MacroListEntry>> ReadListedMacros(const std::filesystem::path& folder) {
    const CMacroFiles files(folder);
    const Json::Value config = CJsonFileUtil().ReadJsonFile(files.ListPath());
    if (!json::IsArrayMember(config, "MacroInfo")) return std::nullopt;
    return MacroListEntriesOf(config);
}

}  // namespace

size_t MacroMemoryOf(std::span<const uint8_t> deviceInfo) {
    return deviceInfo.size() > kDeviceInfoMacroUnitsByte ? deviceInfo[kDeviceInfoMacroUnitsByte] * kMacroMemoryUnit : 0;
}

int ListedMacroCount(const std::filesystem::path& folder) {
    return static_cast<int>(CMacroFiles(folder).ReadList().size());
}

std::vector<std::string> ListedMacroNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const MacroListEntry& entry : CMacroFiles(folder).ReadList()) names.push_back(entry.name);
    return names;
}

MacroImage BuildMacroImage(const std::filesystem::path& folder, std::span<const int> macros, size_t capacity) {
    MacroImage out;
    if (macros.empty()) return out;
    const CMacroFiles files(folder);
    const std::optional<std::vector<MacroListEntry>> list = ReadListedMacros(folder);
    if (!list) {
        out.status = MacroImage::Status::Unreadable;
        return out;
    }
    std::vector<MouseEventList> events;
    events.reserve(macros.size());
    for (int index : macros) {
        const bool listed = index >= 0 && static_cast<std::size_t>(index) < list->size();
        // ReadMacro gives no events for an identifier that is not a plain file name.
        events.push_back(listed ? EncodeMouseEvents(files.ReadMacro((*list)[static_cast<std::size_t>(index)].guid).events)
                                : MouseEventList{});
    }
    std::vector<size_t> counts;
    for (const MouseEventList& e : events) counts.push_back(e.size());
    const size_t size = MouseEventImageSize(counts);
    if (size > capacity || size > kMouseEventImageMaxSize) {
        out.status = MacroImage::Status::TooLarge;
        const size_t limit = std::min(capacity, kMouseEventImageMaxSize);
        const size_t units = (size - limit) / 4 + 1;
        out.excessUnits = units > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(units);
        return out;
    }
    out.image = *BuildMouseEventImage(events);
    out.status = MacroImage::Status::Ready;
    return out;
}

}  // namespace zevik
