#include "platform/event_file_input_source.h"

#include "platform/event_file.h"
#include "platform/evdev_input_source.h"

namespace zevik {

bool CEventFileInputSource::Start(InputEventSink sink, std::string& error) {
    EventFileError failure;
    std::string file;
    const auto events = ReadEventFiles(files_, failure, &file);
    if (!events) {
        error = file + (failure.line > 0 ? ":" + std::to_string(failure.line) + ": " : ": ") + failure.message;
        return false;
    }
    for (const InputEvent& event : *events) sink(event);
    return true;
}

std::unique_ptr<IInputSource> MakeInputSource(const std::vector<std::filesystem::path>& eventFiles) {
    if (!eventFiles.empty()) return std::make_unique<CEventFileInputSource>(eventFiles);
    return std::make_unique<CEvdevInputSource>();
}

}  // namespace zevik
