#include "devices/mouse_macro_image.h"

#include "devices/mouse_event_image.h"
#include "settings/json_access.h"
#include "settings/json_file_util.h"

namespace zevik {

namespace {

const Json::Value* MacroList(const Json::Value& config) {
    const Json::Value* list = json::Member(config, "MacroInfo");
    return (list != nullptr && list->isArray()) ? list : nullptr;
}

// A macro identifier names a file in the kind folder; anything that is not a plain name is refused.
bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

}  // namespace

int MouseMacroCount(const std::filesystem::path& folder) {
    const Json::Value config = CJsonFileUtil().ReadJsonFile(folder / "macro.config");
    const Json::Value* list = MacroList(config);
    return list == nullptr ? 0 : static_cast<int>(list->size());
}

std::vector<std::string> MouseMacroNames(const std::filesystem::path& folder) {
    const Json::Value config = CJsonFileUtil().ReadJsonFile(folder / "macro.config");
    std::vector<std::string> names;
    if (const Json::Value* list = MacroList(config)) {
        for (const Json::Value& entry : *list) names.push_back(json::StringMember(entry, "MacroName"));
    }
    return names;
}

MouseMacroImage BuildMouseMacroImage(const std::filesystem::path& folder, std::span<const int> macros,
                                     size_t capacity) {
    MouseMacroImage out;
    if (macros.empty()) return out;
    const CJsonFileUtil files;
    const Json::Value config = files.ReadJsonFile(folder / "macro.config");
    const Json::Value* list = MacroList(config);
    if (list == nullptr) {
        out.status = MouseMacroImage::Status::Unreadable;
        return out;
    }
    std::vector<MouseEventList> events;
    events.reserve(macros.size());
    for (int index : macros) {
        const Json::Value* entry =
            index >= 0 ? json::Element(*list, static_cast<Json::ArrayIndex>(index)) : nullptr;
        const std::string guid = entry != nullptr ? json::StringMember(*entry, "Guid") : std::string();
        events.push_back(IsPlainFileName(guid)
                             ? EncodeMouseEvents(files.ReadJsonFile(folder / (guid + ".mac")))
                             : MouseEventList{});
    }
    std::vector<size_t> counts;
    for (const MouseEventList& e : events) counts.push_back(e.size());
    const size_t size = MouseEventImageSize(counts);
    if (size > capacity || size > kMouseEventImageMaxSize) {
        out.status = MouseMacroImage::Status::TooLarge;
        const size_t limit = std::min(capacity, kMouseEventImageMaxSize);
        const size_t units = (size - limit) / 4 + 1;
        out.excessUnits = units > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(units);
        return out;
    }
    out.image = *BuildMouseEventImage(events);
    out.status = MouseMacroImage::Status::Ready;
    return out;
}

}  // namespace zevik
